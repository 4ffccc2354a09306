#include "data/u_download2.h"

#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "common/error.h"
#include "data/db_maintenance.h"
#include "data/program_dir.h"
#include "data/results_fetch.h"
#include "ui/dialogs.h"
#include "ui/errors.h"

namespace zelvor {

Tfrmdownload2::Tfrmdownload2(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmdownload2");
    setWindowTitle(QStringLiteral("数据下载"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setModal(true);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("QDialog#frmdownload2 { background-color: #2e8b57; border: 2px solid #1d5c39; }"
                                 "QLabel { color: white; font-weight: bold; }"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(18, 16, 18, 16);
    grid->setHorizontalSpacing(10);
    lbltishi_ = new QLabel(QStringLiteral("选择彩票："), this);
    lbltishi_->setObjectName("lbltishi");
    comdown_ = new QComboBox(this);
    comdown_->setObjectName("comdown");
    comdown_->setMinimumWidth(150);
    btndown_ = new QPushButton(QStringLiteral("开始下载"), this);
    btndown_->setObjectName("btndown");
    btndown_->setDefault(true);
    btnclose_ = new QPushButton(QStringLiteral("退出"), this);
    btnclose_->setObjectName("btnclose");
    btnclose_->setAutoDefault(false);
    lbltitle_ = new QLabel(QStringLiteral("正在更新中国福彩双色球。。。"), this);
    lbltitle_->setObjectName("lbltitle");
    lbltitle_->setAlignment(Qt::AlignCenter);
    lbltitle_->hide();
    grid->addWidget(lbltishi_, 0, 0);
    grid->addWidget(comdown_, 0, 1);
    grid->addWidget(lbltitle_, 0, 0, 1, 2);
    grid->addWidget(btndown_, 1, 0);
    grid->addWidget(btnclose_, 1, 1);

    fetch_ = new ResultsPageFetch(this);
    connect(fetch_, &ResultsPageFetch::finished, this, [this](const QString& e) { pageFetched(e); });
    connect(btndown_, &QPushButton::clicked, this, [this] { btndownClick(); });
    connect(btnclose_, &QPushButton::clicked, this, [this] { btncloseClick(); });
    FormCreate();
}

void Tfrmdownload2::FormCreate()
{
    comdown_->clear();
    comdown_->addItems({QStringLiteral("所有彩票"), QStringLiteral("中国福彩双色球")});
    comdown_->setCurrentIndex(0);
}

bool Tfrmdownload2::isRunning() const { return fetch_->isRunning(); }

void Tfrmdownload2::showChoice(bool on)
{
    // "退出" stays usable while the page is fetched.
    btndown_->setVisible(on);
    comdown_->setVisible(on);
    lbltishi_->setVisible(on);
    lbltitle_->setVisible(!on);
}

void Tfrmdownload2::btndownClick()
{
    if (isRunning())
        return;
    QUrl url;
    WebSettings web;
    try {
        web = readWebSettings();
        url = resultsPageUrl(web);
    } catch (const Error& e) {
        showError(this, QString::fromStdString(e.what()));
        emit downloadEnded();
        return;
    }
    showChoice(false);
    // Both items update 中国福彩双色球.
    fetch_->start(url, resultsPageFile(), web.downloadTimeoutMs);
}

void Tfrmdownload2::pageFetched(const QString& error)
{
    if (!error.isEmpty()) {
        showChoice(true);
        showError(this, error);
        emit downloadEnded();
        return;
    }
    DownloadResult result;
    const bool ok = guarded([&] {
        QFile f(resultsPageFile());
        if (!f.open(QIODevice::ReadOnly))
            throw Error(QStringLiteral("无法读取文件：%1").arg(resultsPageFile()).toStdString());
        result = applyResultsPage(DatabaseFile(), f.readAll().toStdString());
    });
    if (!ok) {
        showChoice(true);
        emit downloadEnded();
        return;
    }
    close();
    if (result.added.empty())
        showInformation(parentWidget(), QStringLiteral("没有找到新的开奖号码。"));
    else
        showInformation(parentWidget(), QStringLiteral("下载完成！新增 %1 期").arg(result.added.size()));
    emit downloadEnded();
}

void Tfrmdownload2::btncloseClick()
{
    fetch_->abort();
    close();
}

} // namespace zelvor
