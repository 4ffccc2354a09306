#pragma once
// A program folder in a temporary directory with a fresh copy of the shipped
// database, for tests that need real SQLite files. A step that fails throws
// std::runtime_error, which fails the test (GoogleTest and Qt Test alike)
// instead of letting it go on with a half-made folder.
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <QTextStream>
#include <stdexcept>

#include "data/db_lottery.h"
#include "data/program_dir.h"

namespace zelvor::testing {

class TempHome {
public:
    TempHome()
    {
        if (!dir.isValid())
            fail(QStringLiteral("cannot make a temporary folder: ") + dir.errorString());
        for (const QString& sub : {QStringLiteral("数据库"), QStringLiteral("附属"), QStringLiteral("图片")})
            if (!QDir(dir.path()).mkpath(sub))
                fail(QStringLiteral("cannot make ") + file(sub));
        createDatabaseFromSchema(QStringLiteral(ZELVOR_SOURCE_DIR) + QStringLiteral("/data/数据库/schema.sql"), database());
        const QString picture = QStringLiteral(ZELVOR_BIN_DIR) + QStringLiteral("/图片/back.bmp");
        if (!QFile::copy(picture, dir.path() + QStringLiteral("/图片/back.bmp")))
            fail(QStringLiteral("cannot copy ") + picture);
        setProgramDir(dir.path());
    }
    QString path() const { return dir.path(); }
    QString database() const { return dir.path() + QStringLiteral("/数据库/彩票数据.mdb"); }
    QString file(const QString& name) const { return dir.path() + "/" + name; }
    QString write(const QString& name, const QByteArray& content) const
    {
        QFile f(file(name));
        if (!f.open(QIODevice::WriteOnly))
            fail(QStringLiteral("cannot create %1: %2").arg(file(name), f.errorString()));
        if (f.write(content) != content.size() || !f.flush())
            fail(QStringLiteral("cannot write %1: %2").arg(file(name), f.errorString()));
        return file(name);
    }
    // Runs SQL statements on the database with a connection of its own; a
    // statement the database refuses fails the test.
    void exec(const QStringList& statements) const
    {
        ScopedConnection con(database());
        QSqlQuery q(con.db());
        for (const QString& s : statements)
            if (!q.exec(s))
                fail(QStringLiteral("SQL failed: %1\n%2").arg(s, q.lastError().text()));
    }
    int count(const QString& sql) const
    {
        ScopedConnection con(database());
        QSqlQuery q(con.db());
        if (!q.exec(sql) || !q.next())
            return -1;
        return q.value(0).toInt();
    }

    QTemporaryDir dir;

private:
    [[noreturn]] static void fail(const QString& what) { throw std::runtime_error(what.toStdString()); }
};

inline QString sharedData(const QString& name)
{
    return QStringLiteral(ZELVOR_SHARED_DATA) + "/" + name;
}

} // namespace zelvor::testing
