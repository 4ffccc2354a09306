#include "data/db_maintenance.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <filesystem>
#include <memory>
#include <system_error>

#include "common/error.h"
#include "data/db_lottery.h"
#include "data/program_dir.h"

namespace zelvor {

namespace {

[[noreturn]] void throwSql(const QSqlError& e, const QString& context)
{
    QString text = context;
    if (e.isValid())
        text += QStringLiteral("：") + e.text();
    throw Error(text.toStdString());
}

QString readError(const QString& table) { return QStringLiteral("无法读取%1").arg(table); }

// Renames from over to, replacing to; the reason on failure.
QString renameOver(const QString& from, const QString& to)
{
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    return ec ? QString::fromLocal8Bit(ec.message().c_str()) : QString();
}

QString sqlLiteral(const QString& text) { return '\'' + QString(text).replace('\'', "''") + '\''; }

} // namespace

LotteryParams catalogueLotteryParams(QSqlDatabase& db, const QString& lottery)
{
    const LotteryOptions options = readLotteryOptions(db, lottery);
    const LotteryParams params = lotteryParamsFor(lottery, options.kind, options);
    const int columns = drawTableNumberColumns(db, lottery);
    if (columns != params.pickCount + params.specialCount)
        throw Error(QStringLiteral("%1的号码列数（%2）与彩票参数不符").arg(drawTableName(lottery)).arg(columns).toStdString());
    return params;
}

int storedIssueCount(QSqlDatabase& db, const QString& lottery, const QString& issue)
{
    QSqlQuery q(db);
    q.prepare("select count(*) from " + quotedIdentifier(drawTableName(lottery)) + " where trim(记录期号) = ?");
    q.addBindValue(issue.trimmed());
    if (!q.exec() || !q.next())
        throwSql(q.lastError(), readError(drawTableName(lottery)));
    return q.value(0).toInt();
}

namespace {

void insertDraw(QSqlDatabase& db, const QString& lottery, const std::string& issue, const std::vector<int>& numbers,
                const std::string& date)
{
    QString sql = "insert into " + quotedIdentifier(drawTableName(lottery)) + " (记录期号";
    QString marks = "?";
    for (std::size_t j = 1; j <= numbers.size(); ++j) {
        sql += ',' + quotedIdentifier(QString::number(j));
        marks += ",?";
    }
    sql += ",开奖日期) values (" + marks + ",?)";
    QSqlQuery q(db);
    q.prepare(sql);
    q.addBindValue(QString::fromStdString(issue));
    for (int v : numbers)
        q.addBindValue(v);
    q.addBindValue(QString::fromStdString(date));
    if (!q.exec())
        throwSql(q.lastError(), QStringLiteral("无法保存第%1期").arg(QString::fromStdString(issue)));
}

} // namespace

CheckedDraw addDrawRow(const QString& databaseFile, const QString& lottery, const std::string& issue,
                       const std::vector<std::string>& numberTexts, const std::string& date)
{
    ScopedConnection con(databaseFile);
    QSqlDatabase& db = con.db();
    const LotteryParams params = catalogueLotteryParams(db, lottery);
    const CheckedDraw draw = checkDrawEntry(issue, numberTexts, date, params);
    if (storedIssueCount(db, lottery, QString::fromStdString(draw.issue)) > 0)
        throw Error("期号“" + draw.issue + "”已经存在");
    insertDraw(db, lottery, draw.issue, draw.numbers, draw.date);
    return draw;
}

DownloadResult applyResultsPage(const QString& databaseFile, const std::string& page)
{
    const QString lottery = QString::fromUtf8(kTwoColourBall);
    const QString table = drawTableName(lottery);
    ScopedConnection con(databaseFile);
    QSqlDatabase& db = con.db();
    const LotteryParams params = catalogueLotteryParams(db, lottery);
    const int columns = params.pickCount + params.specialCount;

    QSqlQuery q(db);
    if (!q.exec("select 记录期号, 开奖日期 from " + quotedIdentifier(table) + " order by 记录期号 desc limit 1"))
        throwSql(q.lastError(), readError(table));
    if (!q.next()) {
        if (q.lastError().isValid())
            throwSql(q.lastError(), readError(table));
        throw Error(QStringLiteral("%1中没有开奖记录，无法确定最新期号和开奖日期").arg(table).toStdString());
    }
    const std::string latestText = q.value(0).toString().trimmed().toStdString();
    const std::string latestDate = q.value(1).toString().trimmed().toStdString();
    q.finish();
    int latestIssue = 0;
    if (!tryParseInteger(latestText, latestIssue))
        throw Error("最新一期的期号“" + clipped(latestText) + "”不是整数");

    DownloadResult result;
    result.lastIssue = latestIssue;
    std::vector<PageDraw> draws = parseResultsPage(page, latestIssue, columns);
    if (draws.empty())
        return result;
    datePageDraws(draws, latestDate);
    // Every draw passes the editor's checks before anything is written.
    std::vector<CheckedDraw> checked;
    for (const PageDraw& d : draws) {
        try {
            checked.push_back(checkDrawEntry(d.issue, d.numbers, d.date, params));
        } catch (const Error& e) {
            throw Error("第" + d.issue + "期：" + e.what());
        }
    }
    if (!db.transaction())
        throwSql(db.lastError(), QStringLiteral("无法开始写入%1").arg(table));
    try {
        for (auto it = checked.rbegin(); it != checked.rend(); ++it)
            insertDraw(db, lottery, it->issue, it->numbers, it->date);
        if (!db.commit())
            throwSql(db.lastError(), QStringLiteral("无法写入%1").arg(table));
    } catch (...) {
        db.rollback();
        throw;
    }
    result.added.assign(draws.rbegin(), draws.rend());
    result.lastIssue = std::stoll(result.added.back().issue);
    return result;
}

void backupDatabase(const QString& databaseFile, const QString& target)
{
    const QString temp = target + QStringLiteral(".part");
    QFile::remove(temp);
    {
        ScopedConnection con(databaseFile);
        QSqlQuery q(con.db());
        if (!q.exec("vacuum into " + sqlLiteral(QFileInfo(temp).absoluteFilePath()))) {
            const QSqlError e = q.lastError();
            QFile::remove(temp);
            throwSql(e, QStringLiteral("无法备份到%1").arg(target));
        }
    }
    const QString reason = renameOver(temp, target);
    if (!reason.isEmpty()) {
        QFile::remove(temp);
        throw Error(QStringLiteral("无法备份到%1：%2").arg(target, reason).toStdString());
    }
}

void checkLotteryDatabase(const QString& file)
{
    const QString refused = QStringLiteral("“%1”不是彩票数据库").arg(file);
    std::unique_ptr<ScopedConnection> con;
    try {
        con = std::make_unique<ScopedConnection>(file);
    } catch (const Error& e) {
        throw Error((refused + QStringLiteral("：")).toStdString() + e.what());
    }
    QSqlDatabase& db = con->db();
    QStringList lotteries;
    try {
        lotteries = LotteryCatalogue(db);
    } catch (const Error& e) {
        throw Error((refused + QStringLiteral("：")).toStdString() + e.what());
    }
    if (lotteries.isEmpty())
        throw Error((refused + QStringLiteral("：其中没有彩票号码表")).toStdString());
    const QStringList optionColumns = {"彩票名称", "彩票类型", "号码总数", "选择号码数", "开奖时间", "开奖星期"};
    for (const QString& lottery : lotteries) {
        QSqlQuery q(db);
        const QString draws = drawTableName(lottery);
        if (!q.exec("select * from " + quotedIdentifier(draws) + " where 0"))
            throwSql(q.lastError(), refused + QStringLiteral("：无法读取%1").arg(draws));
        const QSqlRecord r = q.record();
        bool layout = r.count() >= 3 && r.fieldName(0) == QStringLiteral("记录期号")
                      && r.fieldName(r.count() - 1) == QStringLiteral("开奖日期");
        for (int c = 1; layout && c < r.count() - 1; ++c)
            layout = r.fieldName(c) == QString::number(c);
        if (!layout)
            throw Error((refused + QStringLiteral("：%1的列不符").arg(draws)).toStdString());
        const QString options = optionsTableName(lottery);
        if (!q.exec("select * from " + quotedIdentifier(options) + " where 0"))
            throwSql(q.lastError(), refused + QStringLiteral("：缺少%1").arg(options));
        const QSqlRecord o = q.record();
        for (const QString& column : optionColumns)
            if (o.indexOf(column) < 0)
                throw Error((refused + QStringLiteral("：%1缺少列%2").arg(options, column)).toStdString());
    }
    // A damaged page shows up only when it is read.
    QSqlQuery check(db);
    if (!check.exec("pragma quick_check") || !check.next() || check.value(0).toString() != QStringLiteral("ok"))
        throw Error((refused + QStringLiteral("：文件已损坏")).toStdString());
}

QString safetyCopyPath(const QString& databaseFile) { return databaseFile + QStringLiteral(".bak"); }

QString restoreDatabase(const QString& source, const QString& databaseFile)
{
    checkLotteryDatabase(source);
    const QString temp = databaseFile + QStringLiteral(".part");
    QFile::remove(temp);
    QFile in(source);
    if (!in.copy(temp)) {
        const QString reason = in.errorString();
        QFile::remove(temp);
        throw Error(QStringLiteral("无法复制%1：%2").arg(source, reason).toStdString());
    }
    QString safety;
    if (QFileInfo::exists(databaseFile)) {
        safety = safetyCopyPath(databaseFile);
        const QString safetyTemp = safety + QStringLiteral(".part");
        QFile::remove(safetyTemp);
        QFile current(databaseFile);
        QString reason;
        if (!current.copy(safetyTemp))
            reason = current.errorString();
        else
            reason = renameOver(safetyTemp, safety);
        if (!reason.isEmpty()) {
            QFile::remove(safetyTemp);
            QFile::remove(temp);
            throw Error(QStringLiteral("无法保留原数据库的安全副本：%1").arg(reason).toStdString());
        }
    }
    const QString reason = renameOver(temp, databaseFile);
    if (!reason.isEmpty()) {
        QFile::remove(temp);
        throw Error(QStringLiteral("无法替换数据库文件：%1").arg(reason).toStdString());
    }
    return safety;
}

} // namespace zelvor
