// zelvor-cli [--home DIR] [--seed S] COMMAND ...
#include <QCoreApplication>
#include <cstdio>
#include <functional>
#include <map>

#include "cli/cli.h"
#include "common/error.h"
#include "common/random.h"
#include "data/program_dir.h"

using namespace zelvor;

namespace {

struct Command {
    std::function<int(QStringList)> run;
    const char* usage;
};

const std::map<QString, Command>& commands()
{
    static const std::map<QString, Command> table = {
        {"lotteries", {cli::cmdLotteries, "lotteries"}},
        {"info", {cli::cmdInfo, "info NAME"}},
        {"import", {cli::cmdImport, "import NAME FILE"}},
        {"export", {cli::cmdExport, "export NAME FILE"}},
        {"metrics", {cli::cmdMetrics, "metrics NAME"}},
        {"trend", {cli::cmdTrend, "trend NAME [--variable [--seed S | --window W --perm \"p(1) ... p(N)\"]]"}},
        {"summary", {cli::cmdSummary, "summary NAME METRIC [--recent R|all]"}},
        {"zones", {cli::cmdZones, "zones NAME [--zones Z]"}},
        {"filter", {cli::cmdFilter, "filter NAME [--big A-B] [--odd A-B] [--sum A-B] [--span A-B] [--dispersion A-B] [--skew A-B] [--ac A-B] [--banker \"03 07 11\" --banker-hits A-B] [--reds \"01 02 ...\" --red-hits A-B] --blues \"07 ...\" [--from BETFILE] [--variable] --out FILE"}},
    };
    return table;
}

int usage()
{
    cli::err() << "usage: zelvor-cli [--home DIR] [--seed S] COMMAND ...\ncommands:\n";
    for (const auto& [name, c] : commands())
        cli::err() << "  " << c.usage << "\n";
    cli::err().flush();
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    initProgramDir(args);
    const QString seed = cli::takeOption(args, "--seed");
    if (seed.isEmpty())
        programRandom().seedFromClock();
    else
        programRandom().seed(seed.toULongLong());
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    auto it = commands().find(name);
    if (it == commands().end())
        return usage();
    try {
        const int rc = it->second.run(args);
        cli::out().flush();
        cli::err().flush();
        return rc;
    } catch (const Error& e) {
        cli::out().flush();
        cli::err() << QString::fromStdString(e.what()) << "\n";
        cli::err().flush();
        return 1;
    }
}
