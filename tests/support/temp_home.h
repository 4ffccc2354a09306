#pragma once
// A program folder in a temporary directory with a fresh copy of the shipped
// database, for tests that need real SQLite files.
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <QTextStream>

#include "data/db_lottery.h"
#include "data/program_dir.h"

namespace zelvor::testing {

class TempHome {
public:
    TempHome()
    {
        QDir(dir.path()).mkpath(QStringLiteral("数据库"));
        QDir(dir.path()).mkpath(QStringLiteral("附属"));
        QDir(dir.path()).mkpath(QStringLiteral("图片"));
        createDatabaseFromSchema(QStringLiteral(ZELVOR_SOURCE_DIR) + QStringLiteral("/data/数据库/schema.sql"), database());
        QFile::copy(QStringLiteral(ZELVOR_BIN_DIR) + QStringLiteral("/图片/back.bmp"),
                    dir.path() + QStringLiteral("/图片/back.bmp"));
        setProgramDir(dir.path());
    }
    QString path() const { return dir.path(); }
    QString database() const { return dir.path() + QStringLiteral("/数据库/彩票数据.mdb"); }
    QString file(const QString& name) const { return dir.path() + "/" + name; }
    QString write(const QString& name, const QByteArray& content) const
    {
        QFile f(file(name));
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return file(name);
    }
    // Runs SQL statements on the database with a connection of its own.
    void exec(const QStringList& statements) const
    {
        ScopedConnection con(database());
        QSqlQuery q(con.db());
        for (const QString& s : statements)
            q.exec(s);
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
};

inline QString sharedData(const QString& name)
{
    return QStringLiteral(ZELVOR_SHARED_DATA) + "/" + name;
}

} // namespace zelvor::testing
