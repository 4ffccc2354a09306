#include "data/program_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace zelvor {

namespace {
QString& programDirStorage()
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
} // namespace

void initProgramDir(QStringList& args)
{
    QString home;
    const int at = args.indexOf("--home");
    if (at >= 0 && at + 1 < args.size()) {
        home = args[at + 1];
        args.remove(at, 2);
    }
    if (home.isEmpty())
        home = qEnvironmentVariable("ZELVOR_HOME");
    if (home.isEmpty())
        home = QCoreApplication::applicationDirPath();
    setProgramDir(home);
}

void setProgramDir(const QString& dir) { programDirStorage() = withSlash(dir); }

QString ProgramDir()
{
    if (programDirStorage().isEmpty())
        setProgramDir(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath());
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
    QSettings ini(ProgramDir() + QStringLiteral("附属/settings.ini"), QSettings::IniFormat);
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
