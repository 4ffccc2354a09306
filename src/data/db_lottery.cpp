#include "data/db_lottery.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

#include "common/error.h"
#include "common/format.h"
#include "data/history_import.h"

namespace zelvor {

namespace {

[[noreturn]] void throwSql(const QSqlError& e, const QString& context)
{
    QString text = context;
    if (e.isValid())
        text += QStringLiteral("：") + e.text();
    throw Error(text.toStdString());
}

// After a loop over q.next(): a false next() is the end of the rows only when
// no error is set; a damaged page must stop the action, not end the data.
void checkAfterLoop(const QSqlQuery& q, const QString& context)
{
    if (q.lastError().isValid())
        throwSql(q.lastError(), context);
}

QString readError(const QString& table) { return QStringLiteral("无法读取%1").arg(table); }

// The history load's reading of a stored cell: the text, blanks trimmed, as a
// whole number.
bool storedInteger(const QVariant& v, int& out)
{
    bool ok = false;
    out = v.toString().trimmed().toInt(&ok);
    return ok;
}

std::string cellText(const QVariant& v) { return clipped(v.toString().toStdString()); }

} // namespace

QString quotedIdentifier(const QString& name) { return '"' + QString(name).replace('"', "\"\"") + '"'; }

void openDatabaseFile(QSqlDatabase& db, const QString& databaseFile)
{
    const QFileInfo info(databaseFile);
    if (!info.exists() || !info.isFile())
        throw Error(QStringLiteral("找不到数据库文件：%1").arg(databaseFile).toStdString());
    if (!info.isReadable())
        throw Error(QStringLiteral("无法读取数据库文件：%1").arg(databaseFile).toStdString());
    // SQLite takes an empty file for a new, empty database; the program only
    // ever opens a file it was given, so an empty one is damaged, not new.
    if (info.size() == 0)
        throw Error(QStringLiteral("不是数据库文件（文件为空）：%1").arg(databaseFile).toStdString());
    db.setDatabaseName(databaseFile);
    if (!db.open())
        throwSql(db.lastError(), QStringLiteral("无法打开数据库文件：%1").arg(databaseFile));
    // Make sure it really is a database before anything relies on it.
    QSqlQuery probe(db);
    if (!probe.exec("select count(*) from sqlite_master") || !probe.next())
        throwSql(probe.lastError(), QStringLiteral("数据库文件无法读取：%1").arg(databaseFile));
}

ScopedConnection::ScopedConnection(const QString& databaseFile)
{
    static QAtomicInt counter;
    name_ = QStringLiteral("zelvor_scoped_%1").arg(counter.fetchAndAddRelaxed(1));
    db_ = QSqlDatabase::addDatabase("QSQLITE", name_);
    try {
        openDatabaseFile(db_, databaseFile);
    } catch (...) {
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw;
    }
}

ScopedConnection::~ScopedConnection()
{
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

void createDatabaseFromSchema(const QString& schemaPath, const QString& target)
{
    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法读取文件：%1").arg(schemaPath).toStdString());
    QStringList kept;
    for (const QString& line : QString::fromUtf8(schema.readAll()).split('\n'))
        if (!line.trimmed().startsWith("--"))
            kept << line;
    const QString temp = target + ".part";
    QFile::remove(temp);
    static QAtomicInt counter;
    const QString name = QStringLiteral("zelvor_create_%1").arg(counter.fetchAndAddRelaxed(1));
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(temp);
        if (!db.open()) {
            failure = QStringLiteral("无法创建数据库文件：%1").arg(temp);
        } else {
            QSqlQuery q(db);
            for (QString statement : kept.join('\n').split(';')) {
                statement = statement.trimmed();
                if (statement.isEmpty())
                    continue;
                if (!q.exec(statement)) {
                    failure = statement + "\n" + q.lastError().text();
                    break;
                }
            }
            q = QSqlQuery();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (failure.isEmpty()) {
        QFile::remove(target);
        if (!QFile::rename(temp, target))
            failure = QStringLiteral("无法写入数据库文件：%1").arg(target);
    }
    if (!failure.isEmpty()) {
        QFile::remove(temp);
        throw Error(failure.toStdString());
    }
}

QString drawTableName(const QString& lottery) { return lottery + QStringLiteral("彩票号码表"); }
QString optionsTableName(const QString& lottery) { return lottery + QStringLiteral("彩票选项表"); }

QStringList LotteryCatalogue(QSqlDatabase& db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // rowid order of sqlite_master is the order the tables were made.
    if (!q.exec("select name from sqlite_master where type = 'table' and name not like 'sqlite_%' order by rowid"))
        throwSql(q.lastError(), QStringLiteral("无法列出数据表"));
    const QString suffix = QStringLiteral("彩票号码表");
    QStringList names;
    while (q.next()) {
        const QString t = q.value(0).toString();
        if (t.endsWith(suffix))
            names << t.left(t.size() - suffix.size());
    }
    checkAfterLoop(q, QStringLiteral("无法列出数据表"));
    return names;
}

QStringList LotteryCatalogue(const QString& databaseFile)
{
    ScopedConnection con(databaseFile);
    return LotteryCatalogue(con.db());
}

void requireCatalogued(QSqlDatabase& db, const QString& lottery)
{
    if (!LotteryCatalogue(db).contains(lottery))
        throw Error(QStringLiteral("数据库中没有彩票“%1”").arg(QString::fromStdString(clipped(lottery.toStdString())))
                        .toStdString());
}

LotteryOptions readLotteryOptions(QSqlDatabase& db, const QString& lottery)
{
    requireCatalogued(db, lottery);
    QSqlQuery q(db);
    if (!q.exec("select * from " + quotedIdentifier(optionsTableName(lottery))))
        throwSql(q.lastError(), readError(optionsTableName(lottery)));
    if (!q.next()) {
        checkAfterLoop(q, readError(optionsTableName(lottery)));
        throw Error(QStringLiteral("%1没有记录").arg(optionsTableName(lottery)).toStdString());
    }
    LotteryOptions o;
    o.name = q.value("彩票名称").toString();
    o.kind = q.value("彩票类型").toInt();
    o.numberRange = q.value("号码总数").toInt();
    o.pickCount = q.value("选择号码数").toInt();
    o.drawTime = q.value("开奖时间").toString();
    o.weekdays = q.value("开奖星期").toString();
    return o;
}

LotteryOptions readLotteryOptions(const QString& databaseFile, const QString& lottery)
{
    ScopedConnection con(databaseFile);
    return readLotteryOptions(con.db(), lottery);
}

LotteryParams lotteryParamsFor(const QString& name, int kind, const LotteryOptions& options)
{
    LotteryParams p;
    if (name == QString::fromUtf8(kTwoColourBall))
        p = TwoColourBall();
    else if (name == QString::fromUtf8(kMarkSix))
        p = MarkSix();
    else {
        p.numberRange = options.numberRange;
        p.pickCount = options.pickCount;
    }
    p.name = name.toStdString();
    if (kind != 0 && kind != 1)
        throw Error(QStringLiteral("彩票“%1”的彩票类型（%2）无效，应为0（乐透型）或1（数字型）").arg(name).arg(kind).toStdString());
    p.kind = kind == 1 ? LotteryKind::Digit : LotteryKind::Lotto;
    const int maxRange = p.kind == LotteryKind::Digit ? 10 : kMaxNumberRange;
    if (p.numberRange < 1 || p.numberRange > maxRange)
        throw Error(QStringLiteral("彩票“%1”的号码总数（%2）无效，应在1到%3之间")
                        .arg(name)
                        .arg(p.numberRange)
                        .arg(maxRange)
                        .toStdString());
    const int maxPick = p.kind == LotteryKind::Digit ? kMaxPickCount : std::min(kMaxPickCount, p.numberRange);
    if (p.pickCount < 1 || p.pickCount > maxPick)
        throw Error(QStringLiteral("彩票“%1”的选择号码数（%2）无效，应在1到%3之间")
                        .arg(name)
                        .arg(p.pickCount)
                        .arg(maxPick)
                        .toStdString());
    return p;
}

int drawTableNumberColumns(QSqlDatabase& db, const QString& lottery)
{
    QSqlQuery q(db);
    if (!q.exec("select * from " + quotedIdentifier(drawTableName(lottery)) + " where 0"))
        throwSql(q.lastError(), QStringLiteral("无法读取%1").arg(drawTableName(lottery)));
    const QSqlRecord r = q.record();
    int n = 0;
    while (r.indexOf(QString::number(n + 1)) >= 0)
        ++n;
    return n;
}

int trimDrawTable(QSqlDatabase& db, const QString& lottery, int maxRows)
{
    const QString table = drawTableName(lottery);
    const QString quoted = quotedIdentifier(table);
    QSqlQuery q(db);
    if (!q.exec("select count(*) from " + quoted) || !q.next())
        throwSql(q.lastError(), readError(table));
    const int rows = q.value(0).toInt();
    if (rows <= maxRows)
        return 0;
    const int excess = rows - maxRows;
    if (!q.exec(QStringLiteral("delete from %1 where rowid in (select rowid from %1 order by 记录期号 limit %2)")
                    .arg(quoted)
                    .arg(excess)))
        throwSql(q.lastError(), QStringLiteral("无法删除%1的旧记录").arg(table));
    return excess;
}

void loadDrawHistory(QSqlDatabase& db, const LotteryParams& lottery, DrawHistory& history,
                     std::vector<std::string>& dates)
{
    const int k = lottery.pickCount;
    const int m = lottery.specialCount;
    history = DrawHistory(k, m);
    dates.clear();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const QString table = drawTableName(QString::fromStdString(lottery.name));
    if (!q.exec("select * from " + quotedIdentifier(table) + " order by 记录期号"))
        throwSql(q.lastError(), readError(table));
    const QSqlRecord rec = q.record();
    const int issueCol = rec.indexOf("记录期号");
    const int dateCol = rec.indexOf("开奖日期");
    std::vector<int> cols;
    for (int j = 1; j <= k + m; ++j) {
        const int c = rec.indexOf(QString::number(j));
        if (c < 0)
            throw Error(QStringLiteral("%1缺少号码列“%2”").arg(table).arg(j).toStdString());
        cols.push_back(c);
    }
    if (issueCol < 0)
        throw Error(QStringLiteral("%1缺少“记录期号”列").arg(table).toStdString());
    std::vector<int> numbers(static_cast<std::size_t>(k + m));
    while (q.next()) {
        const QVariant issueValue = q.value(issueCol);
        int issue = 0;
        if (!storedInteger(issueValue, issue))
            throw Error("期号“" + cellText(issueValue) + "”无法读取为整数");
        for (int j = 0; j < k + m; ++j) {
            const QVariant v = q.value(cols[j]);
            if (!storedInteger(v, numbers[j]))
                throw Error("第" + cellText(issueValue) + "期的号码“" + cellText(v) + "”无法读取为整数");
        }
        history.append(issue, std::span<const int>(numbers.data(), k), std::span<const int>(numbers.data() + k, m));
        std::string date;
        if (dateCol >= 0)
            date = normaliseDate(q.value(dateCol).toString().trimmed().toStdString());
        dates.push_back(date);
    }
    checkAfterLoop(q, readError(table));
}

ImportResult importHistoryFile(const QString& databaseFile, const QString& lottery, const QString& filePath)
{
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法读取文件：%1").arg(filePath).toStdString());
    const std::string text = f.readAll().toStdString();

    ScopedConnection con(databaseFile);
    QSqlDatabase& db = con.db();
    const LotteryOptions options = readLotteryOptions(db, lottery);
    const LotteryParams params = lotteryParamsFor(lottery, options.kind, options);
    const QString table = drawTableName(lottery);
    const QString quoted = quotedIdentifier(table);
    const int columns = drawTableNumberColumns(db, lottery);
    if (columns != params.pickCount + params.specialCount)
        throw Error(QStringLiteral("%1的号码列数（%2）与彩票参数不符").arg(table).arg(columns).toStdString());
    const std::vector<ImportedDraw> draws = parseHistoryText(text, params);

    // The stored draws, each issue with its numbers as stored (text), to tell
    // a repeat (skipped) from a conflict (the file is refused).
    QString select = "select 记录期号";
    for (int j = 1; j <= columns; ++j)
        select += ',' + quotedIdentifier(QString::number(j));
    select += " from " + quoted;
    QHash<QString, QStringList> stored;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(select))
        throwSql(q.lastError(), readError(table));
    while (q.next()) {
        QStringList numbers;
        for (int j = 1; j <= columns; ++j)
            numbers << q.value(j).toString().trimmed();
        stored.insert(q.value(0).toString().trimmed(), numbers);
    }
    checkAfterLoop(q, readError(table));
    q.finish();

    ImportResult result;
    std::vector<const ImportedDraw*> fresh;
    for (const ImportedDraw& d : draws) {
        const QString issue = QString::fromStdString(d.issue);
        const auto it = stored.constFind(issue);
        if (it == stored.constEnd()) {
            QStringList numbers;
            for (int v : d.numbers)
                numbers << QString::number(v);
            stored.insert(issue, numbers);
            fresh.push_back(&d);
            continue;
        }
        for (int j = 0; j < columns; ++j) {
            int v = 0;
            if (!storedInteger(it.value()[j], v) || v != d.numbers[static_cast<std::size_t>(j)])
                throw Error(QStringLiteral("第%1行：第%2期与数据库中已有的号码不同").arg(d.line).arg(issue).toStdString());
        }
        ++result.skipped;
    }

    QString sql = "insert into " + quoted + " (记录期号";
    QString marks = "?";
    for (int j = 1; j <= columns; ++j) {
        sql += ',' + quotedIdentifier(QString::number(j));
        marks += ",?";
    }
    sql += ",开奖日期) values (" + marks + ",?)";

    if (!db.transaction())
        throwSql(db.lastError(), QStringLiteral("无法开始写入"));
    auto failed = [&](const QSqlError& e, const QString& context) {
        db.rollback();
        throwSql(e, context);
    };
    QSqlQuery ins(db);
    if (!ins.prepare(sql))
        failed(ins.lastError(), QStringLiteral("无法写入%1").arg(table));
    for (const ImportedDraw* d : fresh) {
        ins.bindValue(0, QString::fromStdString(d->issue));
        for (int j = 0; j < columns; ++j)
            ins.bindValue(j + 1, d->numbers[j]);
        ins.bindValue(columns + 1, QString::fromStdString(d->date));
        if (!ins.exec())
            failed(ins.lastError(), QStringLiteral("写入第%1期失败").arg(QString::fromStdString(d->issue)));
        ++result.imported;
    }
    QSqlQuery count(db);
    if (!count.exec("select count(*) from " + quoted) || !count.next())
        failed(count.lastError(), readError(table));
    result.storedRows = count.value(0).toInt();
    count.finish();
    if (!db.commit()) {
        const QSqlError e = db.lastError();
        db.rollback();
        throwSql(e, QStringLiteral("无法保存导入的数据"));
    }
    if (result.storedRows > MaxStoredDraws)
        result.note = QStringLiteral("注意：%1现有%2期，打开彩票时只保留最新 %3 期，较早的%4期将被删除。")
                          .arg(table)
                          .arg(result.storedRows)
                          .arg(MaxStoredDraws)
                          .arg(result.storedRows - MaxStoredDraws)
                          .toStdString();
    return result;
}

int exportHistoryFile(const QString& databaseFile, const QString& lottery, const QString& filePath)
{
    ScopedConnection con(databaseFile);
    requireCatalogued(con.db(), lottery);
    const QString table = drawTableName(lottery);
    QSqlQuery q(con.db());
    q.setForwardOnly(true);
    if (!q.exec("select * from " + quotedIdentifier(table) + " order by 记录期号"))
        throwSql(q.lastError(), readError(table));
    const int columns = q.record().count();
    QSaveFile out(filePath);
    if (!out.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("无法创建文件：%1").arg(filePath).toStdString());
    int lines = 0;
    std::vector<int> numbers;
    while (q.next()) {
        // Every column but the last (the draw date), read as the history load
        // reads them; a value that is not a whole number refuses the export.
        const QVariant issueValue = q.value(0);
        int issue = 0;
        if (!storedInteger(issueValue, issue) || issue < 0 || issue > 9999999) {
            out.cancelWriting();
            throw Error("期号“" + cellText(issueValue) + "”无法读取为7位数字，无法导出");
        }
        numbers.clear();
        for (int c = 1; c < columns - 1; ++c) {
            const QVariant v = q.value(c);
            int n = 0;
            if (!storedInteger(v, n)) {
                out.cancelWriting();
                throw Error("第" + cellText(issueValue) + "期的号码“" + cellText(v) + "”无法读取为整数，无法导出");
            }
            numbers.push_back(n);
        }
        const std::string line = exportLine(seven(issue), numbers);
        if (out.write(line.data(), static_cast<qint64>(line.size())) != static_cast<qint64>(line.size()))
            break; // commit() reports the failure
        ++lines;
    }
    if (q.lastError().isValid()) {
        out.cancelWriting();
        throwSql(q.lastError(), readError(table));
    }
    if (!out.commit())
        throw Error(QStringLiteral("无法写入文件：%1").arg(filePath).toStdString());
    return lines;
}

} // namespace zelvor
