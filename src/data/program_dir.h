#pragma once
// Where the program keeps its files: ProgramDir is the executable's folder
// (with a trailing separator) unless --home DIR or ZELVOR_HOME points elsewhere.
#include <QString>
#include <filesystem>
#include <QStringList>

namespace zelvor {

// Decide ProgramDir from the command line (--home DIR), then ZELVOR_HOME, then
// the program tree (chooseProgramDir). Removes --home DIR from args. Returns
// chooseProgramDir's failure text (empty when all is well).
QString initProgramDir(QStringList& args);
// The program tree is the executable's folder, or <prefix>/share/zelvor when
// the executable is installed in <prefix>/bin. ProgramDir becomes:
// - home when it is not empty (--home DIR or ZELVOR_HOME), used as it is;
// - else the tree when its database folder is writable;
// - else UserDataDir().
// In the last two cases a missing database is made from the tree's template
// (DatabaseTemplateFile); an existing one is never replaced. Returns the
// failure text when the folder or the database cannot be made (ProgramDir is
// set all the same, so the program can still start and show it), else empty.
QString chooseProgramDir(const QString& home);
// Sets ProgramDir alone; the program tree stays as it was (ProgramDir when never chosen).
void setProgramDir(const QString& dir);
// The folder with a trailing '/'.
QString ProgramDir();
// The installed program tree with a trailing '/': the shipped pictures, wheels,
// help and texts. ProgramDir unless chooseProgramDir found a tree elsewhere.
QString InstallDir();
// ProgramDir + name when that exists, else InstallDir + name when that exists,
// else ProgramDir + name: shipped files the user has not replaced.
QString ProgramFile(const QString& name);
// The user's data folder for the program (no trailing '/'): the application
// data location of "Zelvor", whichever executable asks.
QString UserDataDir();
// InstallDir + "数据库/彩票数据.mdb.template": the empty database the install ships.
QString DatabaseTemplateFile();
// Makes dir's "数据库/彩票数据.mdb" (and the 数据库 and 附属 folders) from
// templateFile when the database is missing; returns true when it made one.
// Never touches an existing database. Throws Error on failure.
bool ensureDatabase(const QString& dir, const QString& templateFile);
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
