#pragma once
// zelvor-cli: the program's core from the command line. Each command is a
// function taking its parsed command line (plain arguments after the command
// name, options by name; see options.h) and returning the exit status; output
// goes to stdout, messages to stderr. A mistake in the command line throws
// UsageError.
#include <QString>
#include <QStringList>
#include <QTextStream>

#include "cli/options.h"

namespace zelvor::cli {

QTextStream& out();
QTextStream& err();

class OpenedLottery;

int cmdLotteries(const CommandLine& line);
int cmdInfo(const CommandLine& line);
int cmdImport(const CommandLine& line);
int cmdExport(const CommandLine& line);
int cmdMetrics(const CommandLine& line);
int cmdTrend(const CommandLine& line);
int cmdSummary(const CommandLine& line);
int cmdZones(const CommandLine& line);
int cmdFilter(const CommandLine& line);
int cmdBacktest(const CommandLine& line);
int cmdWheel(const CommandLine& line);
int cmdCover(const CommandLine& line);
int cmdWheelCheck(const CommandLine& line);
int cmdOmission(const CommandLine& line);
int cmdCompound(const CommandLine& line);
int cmdIntersect(const CommandLine& line);
int cmdAdvise(const CommandLine& line);
int cmdBackup(const CommandLine& line);
int cmdRestore(const CommandLine& line);
int cmdDownload(const CommandLine& line);
int cmdAdd(const CommandLine& line);
int cmdPlan(const CommandLine& line);
int cmdMode(const CommandLine& line);
int cmdExclude(const CommandLine& line);
int cmdPrize(const CommandLine& line);

} // namespace zelvor::cli
