#pragma once
// Where the program keeps its files: ProgramDir is the executable's folder
// (with a trailing separator) unless --home DIR or ZELVOR_HOME points elsewhere.
#include <QString>
#include <filesystem>
#include <QStringList>

namespace zelvor {

// Decide ProgramDir from the command line (--home DIR), then ZELVOR_HOME, then
// the executable's folder. Removes --home DIR from args.
void initProgramDir(QStringList& args);
void setProgramDir(const QString& dir);
// The folder with a trailing '/'.
QString ProgramDir();
// ProgramDir + "数据库/彩票数据.mdb".
QString DatabaseFile();
// A file name as the standard library's file functions want it.
std::filesystem::path fsPath(const QString& file);
// ProgramDir + "temp.txt".
QString ListFilePath();
// The desktop folder (the start folder of most file dialogs); empty when unknown.
QString ShellFolderPath(const QString& name);

// Addresses read from ProgramDir + "附属/settings.ini" (all optional).
struct WebSettings {
    QString bannerEndpoint; // base address of guanggao.gif and ggurl.txt; empty: no banner
    QString bannerLink;
    QStringList webSites;   // 彩票网站 items, in menu order
    QString homePage;
    QString contactLink;
    int bannerTimeoutMs = 3000;
    QString resultsAddress;  // the results page's site; the page's path is fixed
    int downloadTimeoutMs = 15000;
};
WebSettings readWebSettings();

} // namespace zelvor
