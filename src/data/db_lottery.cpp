#include "data/db_lottery.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "common/error.h"
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

QString quotedName(const QString& s) { return '"' + QString(s).replace('"', "\"\"") + '"'; }

} // namespace

void openDatabaseFile(QSqlDatabase& db, const QString& databaseFile)
{
    const QFileInfo info(databaseFile);
    if (!info.exists() || !info.isFile())
        throw Error(QStringLiteral("找不到数据库文件：%1").arg(databaseFile).toStdString());
    if (!info.isReadable())
        throw Error(QStringLiteral("无法读取数据库文件：%1").arg(databaseFile).toStdString());
    db.setDatabaseName(databaseFile);
    if (!db.open())
        throwSql(db.lastError(), QStringLiteral("无法打开数据库文件：%1").arg(databaseFile));
    // Make sure it really is a database before anything relies on it.
    QSqlQuery probe(db);
    if (!probe.exec("select count(*) from sqlite_master"))
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

QStringList LotteryCatalogue(const QString& databaseFile)
{
    ScopedConnection con(databaseFile);
    QSqlQuery q(con.db());
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
    return names;
}

LotteryOptions readLotteryOptions(QSqlDatabase& db, const QString& lottery)
{
    QSqlQuery q(db);
    if (!q.exec("select * from " + optionsTableName(lottery)))
        throwSql(q.lastError(), QStringLiteral("无法读取%1").arg(optionsTableName(lottery)));
    if (!q.next())
        throw Error(QStringLiteral("%1没有记录").arg(optionsTableName(lottery)).toStdString());
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
    p.kind = kind == 1 ? LotteryKind::Digit : LotteryKind::Lotto;
    return p;
}

int drawTableNumberColumns(QSqlDatabase& db, const QString& lottery)
{
    QSqlQuery q(db);
    if (!q.exec("select * from " + drawTableName(lottery) + " where 0"))
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
    QSqlQuery q(db);
    if (!q.exec("select count(*) from " + table) || !q.next())
        throwSql(q.lastError(), QStringLiteral("无法读取%1").arg(table));
    const int rows = q.value(0).toInt();
    if (rows <= maxRows)
        return 0;
    const int excess = rows - maxRows;
    if (!q.exec(QStringLiteral("delete from %1 where rowid in (select rowid from %1 order by 记录期号 limit %2)")
                    .arg(table)
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
    const QString table = QString::fromStdString(lottery.name) + QStringLiteral("彩票号码表");
    if (!q.exec("select * from " + table + " order by 记录期号"))
        throwSql(q.lastError(), QStringLiteral("无法读取%1").arg(table));
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
        bool ok = false;
        const int issue = issueValue.toString().trimmed().toInt(&ok);
        if (!ok)
            throw Error(QStringLiteral("期号“%1”无法读取为整数").arg(issueValue.toString()).toStdString());
        for (int j = 0; j < k + m; ++j) {
            const QVariant v = q.value(cols[j]);
            bool numOk = false;
            numbers[j] = v.toString().trimmed().toInt(&numOk);
            if (!numOk)
                throw Error(QStringLiteral("第%1期的号码“%2”无法读取为整数")
                                .arg(issueValue.toString(), v.toString())
                                .toStdString());
        }
        history.append(issue, std::span<const int>(numbers.data(), k), std::span<const int>(numbers.data() + k, m));
        std::string date;
        if (dateCol >= 0)
            date = normaliseDate(q.value(dateCol).toString().trimmed().toStdString());
        dates.push_back(date);
    }
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
    const int columns = drawTableNumberColumns(db, lottery);
    if (columns != params.pickCount + params.specialCount)
        throw Error(QStringLiteral("%1的号码列数（%2）与彩票参数不符").arg(drawTableName(lottery)).arg(columns).toStdString());
    const std::vector<ImportedDraw> draws = parseHistoryText(text, params);

    QSet<QString> stored;
    QSqlQuery q(db);
    if (!q.exec("select 记录期号 from " + drawTableName(lottery)))
        throwSql(q.lastError(), QStringLiteral("无法读取%1").arg(drawTableName(lottery)));
    while (q.next())
        stored.insert(q.value(0).toString().trimmed());

    QString sql = "insert into " + drawTableName(lottery) + " (记录期号";
    QString marks = "?";
    for (int j = 1; j <= columns; ++j) {
        sql += ',' + quotedName(QString::number(j));
        marks += ",?";
    }
    sql += ",开奖日期) values (" + marks + ",?)";

    ImportResult result;
    if (!db.transaction())
        throwSql(db.lastError(), QStringLiteral("无法开始写入"));
    QSqlQuery ins(db);
    if (!ins.prepare(sql)) {
        db.rollback();
        throwSql(ins.lastError(), QStringLiteral("无法写入%1").arg(drawTableName(lottery)));
    }
    for (const ImportedDraw& d : draws) {
        const QString issue = QString::fromStdString(d.issue);
        if (stored.contains(issue)) {
            ++result.skipped;
            continue;
        }
        stored.insert(issue);
        ins.bindValue(0, issue);
        for (int j = 0; j < columns; ++j)
            ins.bindValue(j + 1, d.numbers[j]);
        ins.bindValue(columns + 1, QString::fromStdString(d.date));
        if (!ins.exec()) {
            const QSqlError e = ins.lastError();
            db.rollback();
            throwSql(e, QStringLiteral("写入第%1期失败").arg(issue));
        }
        ++result.imported;
    }
    if (!db.commit()) {
        const QSqlError e = db.lastError();
        db.rollback();
        throwSql(e, QStringLiteral("无法保存导入的数据"));
    }
    return result;
}

int exportHistoryFile(const QString& databaseFile, const QString& lottery, const QString& filePath)
{
    ScopedConnection con(databaseFile);
    QSqlQuery q(con.db());
    q.setForwardOnly(true);
    if (!q.exec("select * from " + drawTableName(lottery) + " order by 记录期号"))
        throwSql(q.lastError(), QStringLiteral("无法读取%1").arg(drawTableName(lottery)));
    const int columns = q.record().count();
    QSaveFile out(filePath);
    if (!out.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("无法创建文件：%1").arg(filePath).toStdString());
    int lines = 0;
    while (q.next()) {
        // Every column but the last (the draw date), each as an integer.
        std::vector<int> numbers;
        for (int c = 1; c < columns - 1; ++c)
            numbers.push_back(q.value(c).toInt());
        const std::string issue = std::to_string(q.value(0).toString().trimmed().toLongLong());
        const std::string line = exportLine(issue, numbers);
        out.write(line.data(), static_cast<qint64>(line.size()));
        ++lines;
    }
    if (!out.commit())
        throw Error(QStringLiteral("无法写入文件：%1").arg(filePath).toStdString());
    return lines;
}

} // namespace zelvor
