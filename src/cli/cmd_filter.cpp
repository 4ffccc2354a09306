// The total filter from the command line: one run with the window's rules and
// messages, the list saved as a bet file.
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <filesystem>

#include "cli/cli.h"
#include "cli/session.h"
#include "common/error.h"
#include "common/random.h"
#include "filter/betlist.h"
#include "filter/text_lines.h"
#include "data/program_dir.h"
#include "filter/total_filter.h"

namespace zelvor::cli {

namespace {


const char* kUsage =
    "usage: zelvor-cli filter NAME [--big A-B] [--odd A-B] [--sum A-B] [--span A-B] [--dispersion A-B] "
    "[--skew A-B] [--ac A-B] [--banker \"03 07 11\" --banker-hits A-B] [--reds \"01 02 ...\" --red-hits A-B] "
    "--blues \"07 ...\" [--from BETFILE] [--variable] --out FILE\n";

// "A-B" into the two texts as they would stand in the window's two boxes.
bool splitRange(const QString& value, std::string& lower, std::string& upper)
{
    const int dash = value.indexOf('-', 1);
    if (dash < 0)
        return false;
    lower = value.left(dash).trimmed().toStdString();
    upper = value.mid(dash + 1).trimmed().toStdString();
    return true;
}

// "03 07 11" as clicked panels: numbers of 1..range.
bool readNumbers(const QString& text, int range, std::vector<int>& numbers)
{
    numbers.clear();
    for (const QString& t : text.split(QRegularExpression("[\\s,]+"), Qt::SkipEmptyParts)) {
        int v = 0;
        if (!tryParseInteger(t.toStdString(), v) || v < 1 || v > range)
            return false;
        numbers.push_back(v);
    }
    return true;
}

} // namespace

int cmdFilter(QStringList args)
{
    static const char* const kRangeOptions[RangeTestCount] = {"--big",        "--odd",  "--sum", "--span",
                                                              "--dispersion", "--skew", "--ac"};
    QString ranges[RangeTestCount];
    bool given[RangeTestCount] = {};
    for (int t = 0; t < RangeTestCount; ++t) {
        given[t] = args.contains(kRangeOptions[t]);
        ranges[t] = takeOption(args, kRangeOptions[t]);
    }
    const bool bankerGiven = args.contains("--banker");
    const QString banker = takeOption(args, "--banker");
    const QString bankerHits = takeOption(args, "--banker-hits");
    const bool redsGiven = args.contains("--reds");
    const QString reds = takeOption(args, "--reds");
    const QString redHits = takeOption(args, "--red-hits");
    const bool bluesGiven = args.contains("--blues");
    const QString blues = takeOption(args, "--blues");
    const QString from = takeOption(args, "--from");
    const QString outFile = takeOption(args, "--out");
    const bool variable = takeFlag(args, "--variable");
    if (args.size() != 1 || outFile.isEmpty()) {
        err() << kUsage;
        return 2;
    }

    LotterySession s(args[0]);
    LotteryState& state = s.state;
    const LotteryParams lottery = state.CurrentLottery();
    const int N = lottery.numberRange;
    const int k = lottery.pickCount;

    // The window's controls as the user would have set them.
    TotalFilterInputs in;
    in.redHitsFrom = std::to_string(k);
    in.redHitsTo = std::to_string(k);
    for (int t = 0; t < RangeTestCount; ++t) {
        if (!given[t])
            continue;
        std::string lower, upper;
        if (!splitRange(ranges[t], lower, upper)) {
            err() << kRangeOptions[t] << " takes A-B\n";
            return 2;
        }
        in.ranges[static_cast<std::size_t>(t)] =
            rangeInput(static_cast<RangeTest>(t), N, k, true, std::move(lower), std::move(upper));
    }
    if (bankerGiven) {
        in.bankerTicked = true;
        in.bankerText = banker.toStdString();
    }
    if (!bankerHits.isEmpty() && !splitRange(bankerHits, in.bankerHitsFrom, in.bankerHitsTo)) {
        err() << "--banker-hits takes A-B\n";
        return 2;
    }
    if (!redHits.isEmpty() && !splitRange(redHits, in.redHitsFrom, in.redHitsTo)) {
        err() << "--red-hits takes A-B\n";
        return 2;
    }
    std::vector<int> redNumbers, blueNumbers;
    if (redsGiven && !readNumbers(reds, redPanelCount(lottery), redNumbers)) {
        err() << "--reds takes numbers of 1.." << redPanelCount(lottery) << "\n";
        return 2;
    }
    if (bluesGiven && !readNumbers(blues, bluePanelCount(lottery), blueNumbers)) {
        err() << "--blues takes numbers of 1.." << bluePanelCount(lottery) << "\n";
        return 2;
    }

    // The list is written next to the output and removed afterwards.
    QTemporaryFile listFile(QFileInfo(outFile).absolutePath() + QStringLiteral("/.zelvor-list-XXXXXX.txt"));
    if (!listFile.open()) {
        err() << "无法创建文件“" << listFile.fileTemplate() << "”。\n";
        return 1;
    }
    listFile.close();
    const std::filesystem::path list = fsPath(listFile.fileName());

    TotalFilter filter(state.AllCombinations());
    if (!from.isEmpty()) {
        // "载入": the file's combinations become the set, its numbers the choice.
        const BetFileLoad load =
            loadBetFile(fsPath(from), betFileLoadOptions(BetFileReader::TotalFilter, lottery, list));
        if (!load.ok()) {
            err() << QString::fromStdString(load.error) << "\n";
            return 1;
        }
        filter.takeLoaded(load);
        in.redChoiceTicked = true;
        in.chosenReds = load.chosenReds;
        in.chosenBlues = load.chosenBlues;
    }
    if (redsGiven) {
        in.redChoiceTicked = true;
        in.chosenReds = redNumbers;
    }
    if (bluesGiven)
        in.chosenBlues = blueNumbers;

    TotalFilterView view;
    if (variable) {
        state.BuildVariableTrend(programRandom());
        view = variableView(lottery, state.Variable());
    } else {
        view = standardView(lottery, state.DrawHistory());
    }

    const TotalFilterRun run = filter.run(in, lottery, view, list);
    if (run.status != TotalFilterStatus::Done) {
        err() << QString::fromStdString(run.message) << "\n";
        return 1;
    }

    BetFileWriter writer(fsPath(outFile));
    if (!writer.isOpen()) {
        err() << QString::fromStdString(writer.finish().error) << "\n";
        return 1;
    }
    std::string readError;
    if (!forEachLine(list, [&](std::string_view line) {
            writer.addShownLine(line);
            return true;
        }, &readError)) {
        writer.stop();
        err() << QString::fromStdString(readError) << "\n";
        return 1;
    }
    const FileWriteResult saved = writer.finish();
    if (!saved.ok()) {
        err() << QString::fromStdString(saved.error) << "\n";
        return 1;
    }
    out() << "过滤结果：" << run.lines << "注\n";
    return 0;
}

} // namespace zelvor::cli
