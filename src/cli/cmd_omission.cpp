// The omission tables, the compound search and the intersection of bet files
// from the command line, with the windows' rules and messages.
#include <QStringList>
#include <filesystem>
#include <optional>

#include "analysis/omission.h"
#include "analysis/trend.h"
#include "cli/cli.h"
#include "cli/opened_lottery.h"
#include "common/error.h"
#include "common/format.h"
#include "common/random.h"
#include "data/program_dir.h"
#include "filter/compound_search.h"
#include "filter/intersection.h"
#include "filter/text_lines.h"

namespace zelvor::cli {

namespace {

// A box's text as the window reads it: a whole number, or the conversion message.
int boxInteger(const QString& text)
{
    int v = 0;
    if (!tryParseInteger(text.toStdString(), v))
        throw Error(integerConversionMessage(text.toStdString()));
    return v;
}

QString utf8(const std::string& s) { return QString::fromStdString(s); }

} // namespace

int cmdOmission(const CommandLine& line)
{
    OmissionSort sort = OmissionSort::Number;
    if (line.has("--sort")) {
        const QString s = line.value("--sort");
        if (s == "number")
            sort = OmissionSort::Number;
        else if (s == "chase")
            sort = OmissionSort::Chase;
        else if (s == "omission")
            sort = OmissionSort::Reported;
        else if (s == "wins")
            sort = OmissionSort::Wins;
        else
            throw UsageError("--sort takes number, chase, omission or wins");
    }
    const OmissionKind kind = line.has("--backfill") ? OmissionKind::Backfill : OmissionKind::SkewState;
    const OmissionBalls balls = line.has("--blue") ? OmissionBalls::Blue : OmissionBalls::Red;

    OpenedLottery s(line.args[0]);
    const LotteryParams lottery = s.state.CurrentLottery();
    const std::string refusal = omissionRefusal(lottery, balls);
    if (!refusal.empty())
        throw Error(refusal);
    std::vector<OmissionRow> rows = omissionTable(kind, omissionDraws(lottery, s.state.DrawHistory(), balls));
    sortOmissionRows(rows, sort);
    const auto header = omissionHeader(kind);
    for (std::size_t c = 0; c < header.size(); ++c)
        out() << (c ? "\t" : "") << utf8(header[c]);
    out() << "\n";
    for (const OmissionRow& row : rows) {
        for (std::size_t c = 0; c < row.cells.size(); ++c)
            out() << (c ? "\t" : "") << utf8(row.cells[c]);
        out() << "\n";
    }
    return 0;
}

int cmdCompound(const CommandLine& line)
{
    if (line.has("--threshold") && line.has("--no-threshold"))
        throw UsageError("--threshold and --no-threshold exclude each other");
    OpenedLottery s(line.args[0]);
    LotteryState& state = s.state;
    const LotteryParams lottery = state.CurrentLottery();
    const int N = lottery.numberRange;

    CompoundSettings settings;
    settings.wanted = line.has("--count") ? boxInteger(line.value("--count")) : N - 5;
    settings.useThreshold = !line.has("--no-threshold");
    settings.threshold = line.has("--threshold") ? boxInteger(line.value("--threshold")) : 50;
    std::optional<long long> maxPasses;
    if (line.has("--max-passes")) {
        const int p = boxInteger(line.value("--max-passes"));
        if (p < 1)
            throw UsageError("--max-passes takes a whole number of at least 1");
        maxPasses = p;
    }
    const std::string refusal = compoundRefusal(lottery, state.DrawCount(), settings);
    if (!refusal.empty())
        throw Error(refusal);

    // Views from a file, checked whole before the search starts.
    std::vector<VariableSettings> views;
    const bool fromFile = line.has("--views");
    if (fromFile) {
        const QString file = line.value("--views");
        std::string readError;
        std::int64_t lineNo = 0;
        std::string bad;
        const bool read = forEachLine(
            fsPath(file),
            [&](std::string_view text) {
                ++lineNo;
                if (text.find_first_not_of(" \t\r") == std::string_view::npos)
                    return true;
                VariableSettings v;
                if (!parseCompoundView(text, N, v)) {
                    bad = "视图文件“" + file.toStdString() + "”第" + std::to_string(lineNo) +
                          "行不是有效的视图：应为1到100的W和1到" + std::to_string(N) + "的一个排列。";
                    return false;
                }
                views.push_back(std::move(v));
                return true;
            },
            &readError);
        if (!read)
            throw Error(readError);
        if (!bad.empty())
            throw Error(bad);
    } else if (!maxPasses) {
        maxPasses = 10000;
    }

    CompoundSearch search(N, settings);
    std::size_t nextView = 0;
    while (!search.done()) {
        if ((maxPasses && search.passes() >= *maxPasses) || (fromFile && nextView >= views.size())) {
            out() << "stopped\n";
            return 1;
        }
        // The variable build the window presses, without the trend rows no one shows here.
        const VariableSettings view =
            fromFile ? views[nextView++] : drawVariableSettings(N, programRandom());
        const CompoundPass p = search.pass(buildVariableTrend(lottery, state.DrawHistory(), view));
        out() << search.passes() << "\t" << p.column << "\t" << p.omission << "\t"
              << (p.struck > 0 ? utf8(two(p.struck)) : QStringLiteral("-")) << "\t" << p.left << "\n";
    }
    out() << "复式号码：" << utf8(search.resultText()) << "\n";
    return 0;
}

int cmdIntersect(const CommandLine& line)
{
    const QString outFile = line.value("--out");
    if (outFile.isEmpty())
        throw UsageError("--out FILE is needed");
    if (line.args.size() < 2)
        throw UsageError("at least one bet file is needed");

    IntersectionInput in;
    if (line.has("--tolerance")) {
        const QString t = line.value("--tolerance");
        const int dash = t.indexOf('-', 1);
        if (dash < 0)
            throw UsageError("--tolerance takes A-B");
        in.toleranceLow = boxInteger(t.left(dash).trimmed());
        in.toleranceHigh = boxInteger(t.mid(dash + 1).trimmed());
    }
    const QString choice = line.has("--specials") ? line.value("--specials")
                           : line.has("--typed")  ? QStringLiteral("typed")
                                                  : QStringLiteral("import");
    if (choice == "import")
        in.specials = SpecialChoice::Import;
    else if (choice == "none")
        in.specials = SpecialChoice::None;
    else if (choice == "all")
        in.specials = SpecialChoice::All;
    else if (choice == "typed")
        in.specials = SpecialChoice::Typed;
    else
        throw UsageError("--specials takes import, none, all or typed");
    if (line.has("--typed") && in.specials != SpecialChoice::Typed)
        throw UsageError("--typed goes with --specials typed");
    in.typed = line.value("--typed").toStdString();
    for (qsizetype i = 1; i < line.args.size(); ++i)
        in.files.push_back(fsPath(line.args[i]));
    in.listFile = fsPath(ListFilePath());

    OpenedLottery s(line.args[0]);
    const IntersectionResult r = runIntersection(s.state.CurrentLottery(), in);
    if (!r.ok())
        throw Error(r.message);
    std::string error;
    if (!saveIntersectionLines(in.listFile, fsPath(outFile), &error))
        throw Error(error);
    out() << "最终交集：" << r.lines << "注\n";
    return 0;
}

} // namespace zelvor::cli
