// The installed program: `cmake --install` of this build into a temporary
// prefix, then the installed zelvor-cli run with a temporary HOME and
// XDG_DATA_HOME, as a user starting the program from the desktop would.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/cli_runner.h"

namespace {

using zelvor::testing::CliRun;
using zelvor::testing::readAll;

CliRun runProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(240000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// The build folder is the parent of the staged program tree.
QString buildDir() { return QFileInfo(QStringLiteral(ZELVOR_BIN_DIR) + QStringLiteral("/..")).canonicalFilePath(); }

class InstalledTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
        ASSERT_FALSE(cmake.isEmpty()) << "cmake is not on the PATH";
        prefix = root.path() + QStringLiteral("/prefix");
        dataHome = root.path() + QStringLiteral("/data");
        home = root.path() + QStringLiteral("/home");
        ASSERT_TRUE(QDir().mkpath(dataHome) && QDir().mkpath(home));
        install();
    }
    void TearDown() override
    {
        // Give the folders back their write permission so the temporary folder can go.
        runProgram(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("u+w"), root.path()});
    }

    void install()
    {
        const CliRun r = runProgram(cmake, {QStringLiteral("--install"), buildDir(), QStringLiteral("--prefix"), prefix});
        ASSERT_EQ(r.status, 0) << r.out.toStdString() << r.err.toStdString();
    }
    QString tree(const QString& name) const { return prefix + QStringLiteral("/share/zelvor/") + name; }
    QString cli() const { return prefix + QStringLiteral("/bin/zelvor-cli"); }
    QString userDatabase() const { return dataHome + QStringLiteral("/Zelvor/数据库/彩票数据.mdb"); }

    // The installed zelvor-cli as the user of HOME and XDG_DATA_HOME, without
    // ZELVOR_HOME. Root writes into any folder, so when the tests run as root
    // the program runs as the unprivileged user "nobody".
    CliRun user(const QStringList& args) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("ZELVOR_HOME"));
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        if (geteuid() != 0)
            return runProgram(cli(), args, env);
        return runProgram(setpriv, QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                               QStringLiteral("--clear-groups"), QStringLiteral("--"), cli()} + args,
                          env);
    }
    // Prepares the folders for "nobody" when running as root; false when that is impossible.
    bool prepareUser()
    {
        if (geteuid() != 0)
            return true;
        setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty())
            return false;
        QFile::setPermissions(root.path(), QFile::permissions(root.path()) | QFileDevice::ExeOther | QFileDevice::ReadOther);
        for (const QString& d : {dataHome, home})
            runProgram(QStringLiteral("chmod"), {QStringLiteral("0777"), d});
        return true;
    }

    QTemporaryDir root;
    QString cmake, setpriv, prefix, dataHome, home;
};

TEST_F(InstalledTree, HoldsTheProgramTreeTheDesktopEntryAndTheIconButNoDatabase)
{
    for (const QString& file :
         {QStringLiteral("bin/zelvor"), QStringLiteral("bin/zelvor-cli"),
          QStringLiteral("share/zelvor/数据库/彩票数据.mdb.template"), QStringLiteral("share/zelvor/图片/back.bmp"),
          QStringLiteral("share/zelvor/图片/flash.jpg"), QStringLiteral("share/zelvor/旋转矩阵/选六型10码中6保5.txt"),
          QStringLiteral("share/zelvor/附属/about.txt"), QStringLiteral("share/zelvor/附属/settings.ini"),
          QStringLiteral("share/applications/zelvor.desktop"),
          QStringLiteral("share/icons/hicolor/scalable/apps/zelvor.svg"),
          QStringLiteral("share/icons/hicolor/16x16/apps/zelvor.png"),
          QStringLiteral("share/icons/hicolor/48x48/apps/zelvor.png"),
          QStringLiteral("share/icons/hicolor/256x256/apps/zelvor.png")})
        EXPECT_TRUE(QFileInfo(prefix + "/" + file).isFile()) << file.toStdString();
    EXPECT_TRUE(QFileInfo(tree(QStringLiteral("帮助"))).isDir());
    EXPECT_TRUE(QFileInfo(prefix + QStringLiteral("/bin/zelvor")).isExecutable());
    EXPECT_FALSE(QFileInfo::exists(tree(QStringLiteral("数据库/彩票数据.mdb"))));

    const QString entry = QString::fromUtf8(readAll(prefix + QStringLiteral("/share/applications/zelvor.desktop")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=zelvor\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=zelvor\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nName=")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nName[zh_CN]=")));
}

TEST_F(InstalledTree, ReadOnlyPrefixKeepsTheDatabaseInTheUserDataFolder)
{
    if (!prepareUser())
        GTEST_SKIP() << "running as root without setpriv: no unprivileged user to try a read-only folder with";
    ASSERT_EQ(runProgram(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("a-w"), prefix}).status, 0);

    // First start: the database appears in the user's data folder, copied from the template.
    const CliRun first = user({QStringLiteral("lotteries")});
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QStringLiteral("中国福彩双色球"))) << first.out.toStdString();
    ASSERT_TRUE(QFileInfo::exists(userDatabase()));
    EXPECT_FALSE(QFileInfo::exists(tree(QStringLiteral("数据库/彩票数据.mdb"))));

    // A changed database is kept by the next start.
    const CliRun added = user({QStringLiteral("add"), QStringLiteral("中国福彩双色球"), QStringLiteral("2003001"),
                            QStringLiteral("10 11 12 13 26 28 11"), QStringLiteral("2003-2-23")});
    ASSERT_EQ(added.status, 0) << added.err.toStdString();
    const QByteArray changed = readAll(userDatabase());
    const CliRun second = user({QStringLiteral("info"), QStringLiteral("中国福彩双色球")});
    ASSERT_EQ(second.status, 0) << second.err.toStdString();
    EXPECT_TRUE(second.out.contains(QStringLiteral("draws=1\n"))) << second.out.toStdString();
    EXPECT_TRUE(second.out.contains(QStringLiteral("last_issue=2003001\n"))) << second.out.toStdString();
    EXPECT_EQ(readAll(userDatabase()), changed);

    // The shipped wheels are read from the installed tree.
    const CliRun wheel = user({QStringLiteral("wheel"), QStringLiteral("--numbers"),
                            QStringLiteral("01 02 03 04 05 06 07 08 09 10")});
    ASSERT_EQ(wheel.status, 0) << wheel.err.toStdString();
    EXPECT_TRUE(wheel.out.startsWith(QStringLiteral("matrix=选六型10码中6保5.txt\n"))) << wheel.out.toStdString();
    const int rows = readAll(tree(QStringLiteral("旋转矩阵/选六型10码中6保5.txt"))).count('\n');
    EXPECT_TRUE(wheel.out.endsWith(QStringLiteral("投注号码：共%1 注\n").arg(rows))) << wheel.out.toStdString();
}

TEST_F(InstalledTree, AUserDataFolderThatCannotBeMadeIsReportedAndNothingIsWritten)
{
    if (!prepareUser())
        GTEST_SKIP() << "running as root without setpriv: no unprivileged user to try a read-only folder with";
    ASSERT_EQ(runProgram(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("a-w"), prefix}).status, 0);
    ASSERT_EQ(runProgram(QStringLiteral("chmod"), {QStringLiteral("0555"), dataHome}).status, 0);

    const CliRun r = user({QStringLiteral("lotteries")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("zelvor-cli: 无法建立文件夹：") + dataHome + QStringLiteral("/Zelvor/")))
        << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_TRUE(QDir(dataHome).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(tree(QStringLiteral("数据库/彩票数据.mdb"))));
}

TEST_F(InstalledTree, InstallOverAFolderWithAUserDatabaseLeavesItAsItIs)
{
    // A writable prefix: the program makes its database beside the template.
    const CliRun added = runProgram(cli(), {QStringLiteral("add"), QStringLiteral("中国福彩双色球"), QStringLiteral("2003001"),
                                         QStringLiteral("10 11 12 13 26 28 11"), QStringLiteral("2003-2-23")},
                                 [] {
                                     QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                                     env.remove(QStringLiteral("ZELVOR_HOME"));
                                     return env;
                                 }());
    ASSERT_EQ(added.status, 0) << added.err.toStdString();
    const QString database = tree(QStringLiteral("数据库/彩票数据.mdb"));
    const QByteArray before = readAll(database);
    ASSERT_FALSE(before.isEmpty());
    ASSERT_NE(before, readAll(tree(QStringLiteral("数据库/彩票数据.mdb.template"))));

    install(); // an upgrade over the same folder
    EXPECT_EQ(readAll(database), before);
    const CliRun info = runProgram(cli(), {QStringLiteral("--home"), tree(QString()), QStringLiteral("info"),
                                        QStringLiteral("中国福彩双色球")});
    ASSERT_EQ(info.status, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral("draws=1\n"))) << info.out.toStdString();
}

} // namespace
