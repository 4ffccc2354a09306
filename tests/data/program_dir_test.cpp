// The program folder's database made from the installed template.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/error.h"
#include "data/program_dir.h"

namespace {

QByteArray contentOf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& file, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

struct DatabaseCase {
    const char* name;
    const char* existing;    // the program folder's database before, nullptr: none
    const char* templ;       // the template's content, nullptr: no template
    bool readOnlyTemplate;
    bool made;               // ensureDatabase says it made the database
    bool throws;
    const char* after;       // the database afterwards, nullptr: none
};

const DatabaseCase kCases[] = {
    {"made from the template", nullptr, "TEMPLATE", false, true, false, "TEMPLATE"},
    {"made writable from a read-only template", nullptr, "TEMPLATE", true, true, false, "TEMPLATE"},
    {"an existing database is kept", "USER DATA", "TEMPLATE", false, false, false, "USER DATA"},
    {"an existing database needs no template", "USER DATA", nullptr, false, false, false, "USER DATA"},
    {"no template, no database: refused", nullptr, nullptr, false, false, true, nullptr},
};

TEST(EnsureDatabase, MakesAMissingDatabaseOnlyAndNeverReplacesOne)
{
    for (const DatabaseCase& c : kCases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString home = dir.path() + QStringLiteral("/用户");
        const QString database = home + QStringLiteral("/数据库/彩票数据.mdb");
        const QString templ = dir.path() + QStringLiteral("/share/数据库/彩票数据.mdb.template");
        if (c.existing)
            writeFile(database, c.existing);
        if (c.templ) {
            writeFile(templ, c.templ);
            if (c.readOnlyTemplate)
                QFile::setPermissions(templ, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        }
        bool made = false;
        bool threw = false;
        try {
            made = zelvor::ensureDatabase(home, templ);
        } catch (const zelvor::Error& e) {
            threw = true;
            EXPECT_NE(std::string(e.what()).find(templ.toStdString()), std::string::npos) << e.what();
        }
        EXPECT_EQ(made, c.made);
        EXPECT_EQ(threw, c.throws);
        if (c.after) {
            EXPECT_EQ(contentOf(database), QByteArray(c.after));
            EXPECT_TRUE(QFileInfo(database).isWritable());
        } else {
            EXPECT_FALSE(QFileInfo::exists(database));
        }
        EXPECT_FALSE(QFileInfo::exists(database + QStringLiteral(".part")));
        if (c.made)
            EXPECT_TRUE(QFileInfo(home + QStringLiteral("/附属")).isDir());
    }
}

} // namespace
