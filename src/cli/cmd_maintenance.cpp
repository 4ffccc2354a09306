// Commands that write the database: backup, restore, download, add.
#include <QFile>

#include "cli/cli.h"
#include "common/error.h"
#include "data/db_maintenance.h"
#include "data/draw_entry.h"
#include "data/history_import.h"
#include "data/lottery.h"
#include "data/program_dir.h"
#include "data/results_fetch.h"

namespace zelvor::cli {

int cmdBackup(const CommandLine& line)
{
    backupDatabase(DatabaseFile(), line.args[0]);
    out() << "backup=" << line.args[0] << "\n";
    return 0;
}

int cmdRestore(const CommandLine& line)
{
    const QString safety = restoreDatabase(line.args[0], DatabaseFile());
    out() << "restored=" << line.args[0] << " safety=" << safety << "\n";
    return 0;
}

int cmdDownload(const CommandLine& line)
{
    if (line.args[0] != QString::fromUtf8(kTwoColourBall))
        throw Error(QStringLiteral("只能下载%1的开奖结果").arg(QString::fromUtf8(kTwoColourBall)).toStdString());
    QString pageFile = line.value("--from");
    if (!line.has("--from")) {
        const WebSettings web = readWebSettings();
        pageFile = resultsPageFile();
        fetchResultsPageBlocking(resultsPageUrl(web), pageFile, web.downloadTimeoutMs);
    }
    QFile f(pageFile);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法读取文件：%1").arg(pageFile).toStdString());
    const QByteArray page = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("无法读取文件：%1").arg(pageFile).toStdString());
    const DownloadResult r = applyResultsPage(DatabaseFile(), page.toStdString());
    for (const PageDraw& d : r.added) {
        QString numbers;
        for (const std::string& n : d.numbers)
            numbers += (numbers.isEmpty() ? "" : " ") + QString::fromStdString(n);
        out() << QString::fromStdString(d.issue) << "\t" << numbers << "\t" << QString::fromStdString(d.date) << "\n";
    }
    out() << "added=" << r.added.size() << " last_issue=" << r.lastIssue << "\n";
    return 0;
}

int cmdAdd(const CommandLine& line)
{
    const CheckedDraw d = addDrawRow(DatabaseFile(), line.args[0], line.args[1].toStdString(),
                                     splitNumberFields(line.args[2].toStdString()), line.args[3].toStdString());
    out() << "added=" << QString::fromStdString(d.issue) << "\n";
    return 0;
}

} // namespace zelvor::cli
