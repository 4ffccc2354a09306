// The total filter from the command line: one run with the window's rules and
// messages, the list saved as a bet file.
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <filesystem>

#include "cli/cli.h"
#include "cli/opened_lottery.h"
#include "common/error.h"
#include "common/random.h"
#include "filter/betlist.h"
#include "filter/text_lines.h"
#include "data/program_dir.h"
#include "filter/total_filter.h"

namespace zelvor::cli {

namespace {


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

// A message about the hidden list file, told about the user's file instead.
QString aboutOutFile(const std::string& message, const std::filesystem::path& list, const QString& outFile)
{
    const auto u8 = list.u8string();
    const QString listText = QString::fromUtf8(reinterpret_cast<const char*>(u8.data()), static_cast<qsizetype>(u8.size()));
    QString text = QString::fromStdString(message);
    if (!listText.isEmpty() && text.contains(listText))
        text.replace(listText, outFile);
    return text;
}

} // namespace

int cmdFilter(const CommandLine& line)
{
    static const char* const kRangeOptions[RangeTestCount] = {"--big",        "--odd",  "--sum", "--span",
                                                              "--dispersion", "--skew", "--ac"};
    const QString outFile = line.value("--out");
    if (outFile.isEmpty())
        throw UsageError("--out FILE is needed");
    const QString bankerHits = line.value("--banker-hits");
    const QString redHits = line.value("--red-hits");
    const QString from = line.value("--from");
    const bool variable = line.has("--variable");

    OpenedLottery s(line.args[0]);
    LotteryState& state = s.state;
    const LotteryParams lottery = state.CurrentLottery();
    const int N = lottery.numberRange;
    const int k = lottery.pickCount;

    // The window's controls as the user would have set them.
    TotalFilterInputs in;
    in.redHitsFrom = std::to_string(k);
    in.redHitsTo = std::to_string(k);
    for (int t = 0; t < RangeTestCount; ++t) {
        if (!line.has(kRangeOptions[t]))
            continue;
        std::string lower, upper;
        if (!splitRange(line.value(kRangeOptions[t]), lower, upper))
            throw UsageError(std::string(kRangeOptions[t]) + " takes A-B");
        in.ranges[static_cast<std::size_t>(t)] =
            rangeInput(static_cast<RangeTest>(t), N, k, true, std::move(lower), std::move(upper));
    }
    if (line.has("--banker")) {
        in.bankerTicked = true;
        in.bankerText = line.value("--banker").toStdString();
    }
    if (!bankerHits.isEmpty() && !splitRange(bankerHits, in.bankerHitsFrom, in.bankerHitsTo))
        throw UsageError("--banker-hits takes A-B");
    if (!redHits.isEmpty() && !splitRange(redHits, in.redHitsFrom, in.redHitsTo))
        throw UsageError("--red-hits takes A-B");
    const bool redsGiven = line.has("--reds");
    const bool bluesGiven = line.has("--blues");
    std::vector<int> redNumbers, blueNumbers;
    if (redsGiven && !readNumbers(line.value("--reds"), redPanelCount(lottery), redNumbers))
        throw UsageError("--reds takes numbers of 1.." + std::to_string(redPanelCount(lottery)));
    if (bluesGiven && !readNumbers(line.value("--blues"), bluePanelCount(lottery), blueNumbers))
        throw UsageError("--blues takes numbers of 1.." + std::to_string(bluePanelCount(lottery)));

    // The list is written next to the output and removed afterwards.
    QTemporaryFile listFile(QFileInfo(outFile).absolutePath() + QStringLiteral("/.zelvor-list-XXXXXX.txt"));
    if (!listFile.open()) {
        err() << "无法创建文件“" << outFile << "”。\n";
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
            err() << aboutOutFile(load.error, list, outFile) << "\n";
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
        err() << aboutOutFile(run.message, list, outFile) << "\n";
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
        err() << aboutOutFile(readError, list, outFile) << "\n";
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
