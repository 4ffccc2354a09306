// zelvor-cli [--home DIR] [--seed S] COMMAND ...
#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>
#include <cstdio>
#include <exception>
#include <vector>

#include "cli/cli.h"
#include "analysis/zones.h"
#include "cli/options.h"
#include "common/error.h"
#include "common/random.h"
#include "data/program_dir.h"

using namespace zelvor;
using cli::CommandSpec;
using cli::OptionSpec;

namespace {

// Every command with its options and usage text; the one place they are written.
const std::vector<CommandSpec>& commands()
{
    static const std::vector<CommandSpec> table = {
        {"lotteries", "lotteries", "", 0, 0, {}, cli::cmdLotteries},
        {"info", "info NAME", "", 1, 1, {}, cli::cmdInfo},
        {"import", "import NAME FILE", "", 2, 2, {}, cli::cmdImport},
        {"export", "export NAME FILE", "", 2, 2, {}, cli::cmdExport},
        {"metrics", "metrics NAME", "", 1, 1, {}, cli::cmdMetrics},
        {"trend", "trend NAME [--variable [--seed S | --window W --perm \"p(1) ... p(N)\"]]", "", 1, 1,
         {{"--variable"}, {"--window", true}, {"--perm", true}}, cli::cmdTrend},
        {"summary", "summary NAME METRIC [--recent R|all]",
         "  METRIC: big, odd, sum, span, dispersion, skewness, ac, repeat", 2, 2, {{"--recent", true}},
         cli::cmdSummary},
        {"zones", "zones NAME [--zones Z]", "  Z: a whole number from 1 to 7", 1, 1, {{"--zones", true}},
         cli::cmdZones},
        {"filter",
         "filter NAME [--big A-B] [--odd A-B] [--sum A-B] [--span A-B] [--dispersion A-B] [--skew A-B] [--ac A-B] "
         "[--banker \"03 07 11\" --banker-hits A-B] [--reds \"01 02 ...\" --red-hits A-B] --blues \"07 ...\" "
         "[--from BETFILE] [--variable] --out FILE",
         "", 1, 1,
         {{"--big", true}, {"--odd", true}, {"--sum", true}, {"--span", true}, {"--dispersion", true},
          {"--skew", true}, {"--ac", true}, {"--banker", true}, {"--banker-hits", true}, {"--reds", true},
          {"--red-hits", true}, {"--blues", true}, {"--from", true}, {"--variable"}, {"--out", true}},
         cli::cmdFilter},
        {"backtest",
         "backtest NAME [--big A-B] [--odd A-B] [--sum A-B] [--span A-B] [--dispersion A-B] [--skew A-B] [--ac A-B] "
         "[--recent R|all]",
         "  R: the newest draws replayed, each with the draw before it (100)", 1, 1,
         {{"--big", true}, {"--odd", true}, {"--sum", true}, {"--span", true}, {"--dispersion", true},
          {"--skew", true}, {"--ac", true}, {"--recent", true}},
         cli::cmdBacktest},
        {"wheel", "wheel [--pick K] [--hit P] [--keep T] --numbers \"n1 n2 ...\" [--bankers \"b1 b2\"] [--out FILE]",
         "  K: pick type 1..7 (6); P: 选对号码数 (6); T: 保中号码数 (5)", 0, 0,
         {{"--pick", true}, {"--hit", true}, {"--keep", true}, {"--numbers", true}, {"--bankers", true},
          {"--out", true}},
         cli::cmdWheel},
        {"cover", "cover NAME BETFILE [--keep T] [--seconds S] [--seed X] --out FILE",
         "  T: 3, 4 or 5 (5); S: seconds of improvement after the greedy cover (10; 0: greedy only)", 2, 2,
         {{"--keep", true}, {"--seconds", true}, {"--out", true}}, cli::cmdCover},
        {"wheel-check", "wheel-check PATH...", "  PATH: wheel files, or folders meaning their .txt files", 1, 100000,
         {}, cli::cmdWheelCheck},
        {"omission", "omission NAME [--backfill] [--blue] [--sort number|chase|omission|wins]", "", 1, 1,
         {{"--backfill"}, {"--blue"}, {"--sort", true}}, cli::cmdOmission},
        {"compound", "compound NAME [--count W] [--threshold T | --no-threshold] [--views FILE] [--max-passes P]",
         "  FILE: one view a line, W (1..100) then p(1)..p(N)", 1, 1,
         {{"--count", true}, {"--threshold", true}, {"--no-threshold"}, {"--views", true}, {"--max-passes", true}},
         cli::cmdCompound},
        {"intersect",
         "intersect NAME [--tolerance A-B] [--specials import|none|all|typed] [--typed \"03 11\"] --out FILE FILE1 "
         "[FILE2 ...]",
         "", 2, 1000000, {{"--tolerance", true}, {"--specials", true}, {"--typed", true}, {"--out", true}},
         cli::cmdIntersect},
        {"advise", "advise NAME ADVISER [--issue I] [options] [--replay]",
         "  interval [--draws M] [--count S]\n"
         "  intimate [--mode overall|position] [--count W] [--stage S|all]\n"
         "  composite [--w1 A] [--w2 B] [--w3 C] [--w4 D]\n"
         "  stembranch [--extra] [--date Y-M-D]",
         2, 2,
         {{"--issue", true}, {"--draws", true}, {"--count", true}, {"--mode", true}, {"--stage", true},
          {"--w1", true}, {"--w2", true}, {"--w3", true}, {"--w4", true}, {"--extra"}, {"--date", true},
          {"--replay"}},
         cli::cmdAdvise},
        {"backup", "backup FILE", "", 1, 1, {}, cli::cmdBackup},
        {"restore", "restore FILE", "", 1, 1, {}, cli::cmdRestore},
        {"download", "download 中国福彩双色球 [--from FILE]", "", 1, 1, {{"--from", true}}, cli::cmdDownload},
        {"add", "add NAME ISSUE \"numbers\" DATE", "", 4, 4, {}, cli::cmdAdd},
        {"plan",
         "plan fixed|staged|variable [--loss P] [--profit L] [--stake C] [--prize W] [--issues N] [--stages S] "
         "[--bets \"B1 B2 ...\"] [--load FILE] [--save FILE] [--pdf FILE [--date Y-M-D]]",
         "", 1, 1,
         {{"--loss", true}, {"--profit", true}, {"--stake", true}, {"--prize", true}, {"--issues", true},
          {"--stages", true}, {"--bets", true}, {"--load", true}, {"--save", true}, {"--pdf", true},
          {"--date", true}},
         cli::cmdPlan},
        {"mode",
         "mode NAME bets|hits|stats|run|search [--all] [--type T --random N] [--bets F] [--settings F] [--both F] "
         "[--unit N] [--prize W] [--profit L] [--max-stake X] [--max-total X] [--wait B] [--rep C] [--gap-min G] "
         "[--gap-runs A] [--gap-mode 0|1] [--carry 0|1] [--save-bets F] [--save-settings F] [--save-both F] [--print-bets PDF] [--print-settings PDF] [--date Y-M-D]",
         "  T: play type 0 直选, 1 全组选, 2 组选3, 3 组选6", 2, 2,
         {{"--all"}, {"--type", true}, {"--random", true}, {"--bets", true}, {"--settings", true},
          {"--both", true}, {"--unit", true}, {"--prize", true}, {"--profit", true}, {"--max-stake", true},
          {"--max-total", true}, {"--wait", true}, {"--rep", true}, {"--gap-min", true}, {"--gap-runs", true},
          {"--gap-mode", true}, {"--carry", true}, {"--save-bets", true}, {"--save-settings", true},
          {"--save-both", true}, {"--print-bets", true}, {"--print-settings", true}, {"--date", true}},
         cli::cmdMode},
        {"exclude",
         "exclude NAME KIND [options] [--at ISSUE] [--from BETFILE] (--target T | --passes P) [--stop-after Q] "
         "[--window W]... [--perm \"p(1) ... p(N)\"]... --out FILE\n"
         "       zelvor-cli exclude NAME KIND --stats [options] [--at ISSUE] [--window W] [--perm \"...\"]",
         "  KIND repeat: --span S --min-repeats R\n"
         "  KIND sum: --upper U --lower L\n"
         "  KIND skew: --mode big|odd --high A:L1-U1 --low B:L2-U2 --run Y\n"
         "  KIND follow: --standard --wheel --key count|omission --random-stage --max-stage --stage L --compare h "
         "--upper U --lower L",
         2, 2,
         {{"--span", true}, {"--min-repeats", true}, {"--upper", true}, {"--lower", true}, {"--mode", true},
          {"--high", true}, {"--low", true}, {"--run", true}, {"--standard"}, {"--wheel"}, {"--key", true},
          {"--random-stage"}, {"--max-stage"}, {"--stage", true}, {"--compare", true}, {"--at", true},
          {"--from", true}, {"--target", true}, {"--passes", true}, {"--stop-after", true},
          {"--window", true, true}, {"--perm", true, true}, {"--out", true}, {"--stats"}},
         cli::cmdExclude},
        {"prize", "prize NAME BETFILE [--issue I | --all]", "", 2, 2, {{"--issue", true}, {"--all"}},
         cli::cmdPrize},
    };
    return table;
}

static_assert(kMaxZoneCount == 7, "the zones usage text names the largest zone count");

// Options every command accepts among its own.
const OptionSpec kSeedOption{"--seed", true};

int usage(const QString& message = {})
{
    if (!message.isEmpty())
        cli::err() << "zelvor-cli: " << message << "\n";
    cli::err() << "usage: zelvor-cli [--home DIR] [--seed S] COMMAND ...\ncommands:\n";
    for (const CommandSpec& c : commands())
        cli::err() << "  " << c.usage << "\n";
    cli::err().flush();
    return 2;
}

int commandUsage(const CommandSpec& spec, const QString& message)
{
    cli::out().flush();
    if (!message.isEmpty())
        cli::err() << "zelvor-cli " << spec.name << ": " << message << "\n";
    cli::err() << cli::usageText(spec);
    cli::err().flush();
    return 2;
}

int failed(const QString& message)
{
    cli::out().flush();
    cli::err() << message << "\n";
    cli::err().flush();
    return 1;
}

int run(QStringList args)
{
    // Options before the command.
    QString seed;
    bool seedGiven = false;
    while (!args.isEmpty() && args.first().startsWith("--")) {
        if (args.first() != kSeedOption.name)
            return usage(QStringLiteral("unknown option %1").arg(args.first()));
        if (args.size() < 2)
            return usage(QStringLiteral("--seed needs a value"));
        if (seedGiven)
            return usage(QStringLiteral("--seed is given more than once"));
        seedGiven = true;
        seed = args[1];
        args.remove(0, 2);
    }
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    const CommandSpec* spec = nullptr;
    for (const CommandSpec& c : commands())
        if (name == QString::fromUtf8(c.name))
            spec = &c;
    if (!spec)
        return usage(QStringLiteral("unknown command %1").arg(name));

    try {
        CommandSpec withCommon = *spec;
        withCommon.options.push_back(kSeedOption);
        cli::CommandLine line = cli::parseCommandLine(withCommon, args);
        // --seed among the command's options counts as given before it.
        if (line.has(kSeedOption.name)) {
            if (seedGiven)
                throw cli::UsageError("--seed is given more than once");
            seedGiven = true;
            seed = line.value(kSeedOption.name);
            line.options.erase(kSeedOption.name);
        }
        // Every command draws from the one program generator, seeded here.
        std::uint64_t s = 0;
        if (!seedGiven)
            programRandom().seedFromClock();
        else if (cli::parseSeed(seed, s))
            programRandom().seed(s);
        else
            throw cli::UsageError(
                QStringLiteral("--seed takes a whole number from 0 to 18446744073709551615, not “%1”").arg(seed).toStdString());

        const int rc = spec->run(line);
        cli::out().flush();
        cli::err().flush();
        return rc;
    } catch (const cli::UsageError& e) {
        return commandUsage(*spec, QString::fromStdString(e.what()));
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Nothing may escape as an abort: every failure ends with its text and status 1.
    try {
        // Printing needs fonts, so a command that prints runs as a GUI
        // application on the offscreen platform; every other one stays plain.
        bool prints = false;
        for (int i = 1; i < argc; ++i)
            prints = prints || QByteArray(argv[i]) == "--pdf" || QByteArray(argv[i]) == "--print-bets" ||
                     QByteArray(argv[i]) == "--print-settings";
        if (prints && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        std::unique_ptr<QCoreApplication> app(prints ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
        QStringList args = app->arguments();
        args.removeFirst();
        const QString setupFailure = initProgramDir(args);
        if (!setupFailure.isEmpty())
            cli::err() << "zelvor-cli: " << setupFailure << "\n";
        return run(args);
    } catch (const std::bad_alloc&) {
        return failed(QStringLiteral("内存不足"));
    } catch (const std::exception& e) {
        return failed(QString::fromStdString(e.what()));
    } catch (...) {
        return failed(QStringLiteral("未知错误"));
    }
}
