#pragma once
// Fetching the results page into a file, without blocking the window thread.
#include <QObject>
#include <QNetworkReply>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

class QTimer;

namespace zelvor {

struct WebSettings;

// The results page's address: the configured site + kResultsPagePath. Throws
// Error when no address is configured.
QUrl resultsPageUrl(const WebSettings& settings);

// ProgramDir + "号码.txt".
QString resultsPageFile();

class ResultsPageFetch : public QObject {
    Q_OBJECT
public:
    explicit ResultsPageFetch(QObject* parent = nullptr);
    ~ResultsPageFetch() override;

    // Deletes saveTo, then fetches url into it. finished() follows, with an
    // empty text on success or the reason (HTTP status, network error,
    // timeout, file error) otherwise. A new start aborts a running one.
    void start(const QUrl& url, const QString& saveTo, int timeoutMs);
    void abort();
    bool isRunning() const { return reply_ != nullptr; }

signals:
    void finished(const QString& error);

private:
    void done(QNetworkReply* reply);

    QNetworkAccessManager* net_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QTimer* timer_ = nullptr;
    QString saveTo_;
    bool timedOut_ = false;
};

// The same, waiting for the end (the command line). Throws Error on failure.
void fetchResultsPageBlocking(const QUrl& url, const QString& saveTo, int timeoutMs);

} // namespace zelvor
