#pragma once
// zelvor-cli: the program's core from the command line. Each command is a
// function taking its arguments (after the command name) and returning the
// exit status; output goes to stdout, messages to stderr.
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace zelvor::cli {

QTextStream& out();
QTextStream& err();

// Value of "--name VALUE" in args (removed from args); empty when absent.
QString takeOption(QStringList& args, const QString& name);
bool takeFlag(QStringList& args, const QString& name);

class LotterySession;

int cmdLotteries(QStringList args);
int cmdInfo(QStringList args);
int cmdImport(QStringList args);
int cmdExport(QStringList args);
int cmdMetrics(QStringList args);
int cmdTrend(QStringList args);
int cmdSummary(QStringList args);
int cmdZones(QStringList args);
int cmdFilter(QStringList args);

} // namespace zelvor::cli
