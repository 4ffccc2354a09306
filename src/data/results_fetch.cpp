#include "data/results_fetch.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

#include "common/error.h"
#include "data/program_dir.h"
#include "data/results_page.h"

namespace zelvor {

QUrl resultsPageUrl(const WebSettings& settings)
{
    QString site = settings.resultsAddress.trimmed();
    if (site.isEmpty())
        throw Error("没有设置开奖结果网页的地址（附属/settings.ini 的 [download] address）");
    while (site.endsWith('/'))
        site.chop(1);
    const QUrl url(site + QString::fromLatin1(kResultsPagePath));
    if (!url.isValid() || url.scheme().isEmpty())
        throw Error(QStringLiteral("开奖结果网页的地址无效：%1").arg(site).toStdString());
    return url;
}

QString resultsPageFile() { return ProgramDir() + QStringLiteral("号码.txt"); }

ResultsPageFetch::ResultsPageFetch(QObject* parent) : QObject(parent)
{
    net_ = new QNetworkAccessManager(this);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (reply_) {
            timedOut_ = true;
            reply_->abort();
        }
    });
}

ResultsPageFetch::~ResultsPageFetch()
{
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

void ResultsPageFetch::start(const QUrl& url, const QString& saveTo, int timeoutMs)
{
    abort();
    saveTo_ = saveTo;
    timedOut_ = false;
    QFile::remove(saveTo);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = net_->get(request);
    reply_ = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { done(reply); });
    timer_->start(timeoutMs);
}

void ResultsPageFetch::abort()
{
    timer_->stop();
    if (reply_) {
        QNetworkReply* r = reply_;
        reply_ = nullptr;
        r->disconnect(this);
        r->abort();
        r->deleteLater();
    }
}

void ResultsPageFetch::done(QNetworkReply* reply)
{
    timer_->stop();
    reply_ = nullptr;
    reply->deleteLater();
    QString error;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (timedOut_) {
        error = QStringLiteral("下载开奖结果网页超时：%1").arg(reply->url().toString());
    } else if (reply->error() != QNetworkReply::NoError) {
        error = status > 0 ? QStringLiteral("无法下载开奖结果网页（HTTP %1）：%2").arg(status).arg(reply->url().toString())
                           : QStringLiteral("无法下载开奖结果网页：%1").arg(reply->errorString());
    } else if (status != 0 && (status < 200 || status > 299)) {
        error = QStringLiteral("无法下载开奖结果网页（HTTP %1）：%2").arg(status).arg(reply->url().toString());
    } else {
        QSaveFile out(saveTo_);
        const QByteArray body = reply->readAll();
        if (!out.open(QIODevice::WriteOnly) || out.write(body) != body.size() || !out.commit())
            error = QStringLiteral("无法写入文件：%1").arg(saveTo_);
    }
    emit finished(error);
}

void fetchResultsPageBlocking(const QUrl& url, const QString& saveTo, int timeoutMs)
{
    ResultsPageFetch fetch;
    QEventLoop loop;
    QString error;
    QObject::connect(&fetch, &ResultsPageFetch::finished, &loop, [&](const QString& e) {
        error = e;
        loop.quit();
    });
    fetch.start(url, saveTo, timeoutMs);
    loop.exec();
    if (!error.isEmpty())
        throw Error(error.toStdString());
}

} // namespace zelvor
