#pragma once
// A tiny HTTP server on 127.0.0.1 for download tests: every request gets the
// same status and body. Runs on its own thread, so a test may wait on a child
// process or a blocking fetch meanwhile.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

namespace zelvor::testing {

class PageServer {
public:
    PageServer(int status, std::string body) : status_(status), body_(std::move(body))
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (fd_ < 0)
            throw std::runtime_error("cannot make a socket");
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        socklen_t len = sizeof a;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd_, 8) != 0
            || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            throw std::runtime_error("cannot listen on 127.0.0.1");
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~PageServer()
    {
        stop_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
        thread_.join();
    }
    std::string address() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int requests() const { return requests_; }

private:
    void serve()
    {
        while (!stop_) {
            const int c = ::accept(fd_, nullptr, nullptr);
            if (c < 0)
                return;
            std::string request;
            char buf[2048];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::recv(c, buf, sizeof buf, 0);
                if (n <= 0)
                    break;
                request.append(buf, static_cast<std::size_t>(n));
            }
            ++requests_;
            const std::string response = "HTTP/1.1 " + std::to_string(status_) + " X\r\nContent-Type: text/html\r\n"
                                         "Content-Length: " + std::to_string(body_.size())
                                         + "\r\nConnection: close\r\n\r\n" + body_;
            std::size_t sent = 0;
            while (sent < response.size()) {
                const ssize_t n = ::send(c, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<std::size_t>(n);
            }
            ::close(c);
        }
    }

    int status_;
    std::string body_;
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

} // namespace zelvor::testing
