#include "data/program_dir.h"

#include "common/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace zelvor {

namespace {
QString& programDirStorage()
{
    static QString dir;
    return dir;
}

QString& installDirStorage()
{
    static QString dir;
    return dir;
}

QString withSlash(QString dir)
{
    dir = QDir::cleanPath(QDir(dir).absolutePath());
    if (!dir.endsWith('/'))
        dir += '/';
    return dir;
}

QString executableDir()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

// The executable's folder holds the tree itself (the build's bin folder, a
// portable copy), or the executable lies in <prefix>/bin beside <prefix>/share/zelvor.
QString findProgramTree(const QString& exeDir)
{
    const QString installed = exeDir + QStringLiteral("/../share/zelvor");
    if (!QDir(exeDir + QStringLiteral("/数据库")).exists() && QDir(installed + QStringLiteral("/数据库")).exists())
        return withSlash(installed);
    return withSlash(exeDir);
}

[[noreturn]] void failDatabase(const QString& what)
{
    throw Error(what.toStdString());
}
} // namespace

QString initProgramDir(QStringList& args)
{
    QString home;
    const int at = args.indexOf("--home");
    if (at >= 0 && at + 1 < args.size()) {
        home = args[at + 1];
        args.remove(at, 2);
    }
    return chooseProgramDir(home);
}

QString chooseProgramDir(const QString& home)
{
    const QString tree = findProgramTree(executableDir());
    installDirStorage() = tree;
    QString chosen = home.isEmpty() ? qEnvironmentVariable("ZELVOR_HOME") : home;
    if (!chosen.isEmpty()) {
        setProgramDir(chosen);
        return {};
    }
    // SQLite writes its journal beside the database, so the tree serves as the
    // program folder only when its database folder is writable.
    const QFileInfo databaseFolder(tree + QStringLiteral("数据库"));
    chosen = databaseFolder.isDir() && databaseFolder.isWritable() ? tree : UserDataDir();
    setProgramDir(chosen);
    try {
        ensureDatabase(chosen, DatabaseTemplateFile());
    } catch (const Error& e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

void setProgramDir(const QString& dir) { programDirStorage() = withSlash(dir); }

QString InstallDir()
{
    return installDirStorage().isEmpty() ? ProgramDir() : installDirStorage();
}

QString ProgramFile(const QString& name)
{
    const QString own = ProgramDir() + name;
    if (QFileInfo::exists(own))
        return own;
    const QString shipped = InstallDir() + name;
    return QFileInfo::exists(shipped) ? shipped : own;
}

QString UserDataDir()
{
    // The generic location plus the application's name is what the
    // application data location is for "Zelvor"; spelled out so the
    // command-line program finds the same folder.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Zelvor");
}

QString DatabaseTemplateFile() { return InstallDir() + QStringLiteral("数据库/彩票数据.mdb.template"); }

bool ensureDatabase(const QString& dir, const QString& templateFile)
{
    const QString home = withSlash(dir);
    const QString database = home + QStringLiteral("数据库/彩票数据.mdb");
    if (QFileInfo::exists(database))
        return false;
    for (const QString& sub : {QStringLiteral("数据库"), QStringLiteral("附属")})
        if (!QDir().mkpath(home + sub))
            failDatabase(QStringLiteral("无法建立文件夹：%1").arg(home + sub));
    if (!QFileInfo::exists(templateFile))
        failDatabase(QStringLiteral("找不到数据库模板：%1").arg(templateFile));
    // Copy under a temporary name and rename, so a failed copy never leaves a
    // half-written file where the database belongs.
    const QString part = database + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(templateFile, part)) {
        QFile::remove(part);
        failDatabase(QStringLiteral("无法建立数据库：%1").arg(database));
    }
    // The template may be installed read-only; the copy is the user's to write.
    QFile::setPermissions(part, QFile::permissions(part) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!QFile::rename(part, database)) {
        QFile::remove(part);
        if (QFileInfo::exists(database))
            return false; // made at the same moment by another start of the program
        failDatabase(QStringLiteral("无法建立数据库：%1").arg(database));
    }
    return true;
}

QString ProgramDir()
{
    if (programDirStorage().isEmpty())
        setProgramDir(executableDir());
    return programDirStorage();
}

QString DatabaseFile() { return ProgramDir() + QStringLiteral("数据库/彩票数据.mdb"); }

std::filesystem::path fsPath(const QString& file)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(file.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(file).toStdString());
#endif
}

QString ListFilePath() { return ProgramDir() + QStringLiteral("temp.txt"); }

QString ShellFolderPath(const QString& name)
{
    if (name == QLatin1String("Desktop")) {
        const QString d = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        if (!d.isEmpty() && QDir(d).exists())
            return d;
        return QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    }
    return {};
}

WebSettings readWebSettings()
{
    QSettings ini(ProgramFile(QStringLiteral("附属/settings.ini")), QSettings::IniFormat);
    WebSettings s;
    s.bannerEndpoint = ini.value("banner/endpoint").toString();
    s.bannerLink = ini.value("banner/link").toString();
    s.bannerTimeoutMs = ini.value("banner/timeout_ms", 3000).toInt();
    for (int i = 1; i <= 4; ++i)
        s.webSites << ini.value(QString("web/site%1").arg(i)).toString();
    s.homePage = ini.value("web/home").toString();
    s.contactLink = ini.value("web/contact").toString();
    s.resultsAddress = ini.value("download/address").toString();
    s.downloadTimeoutMs = ini.value("download/timeout_ms", 15000).toInt();
    return s;
}

} // namespace zelvor
