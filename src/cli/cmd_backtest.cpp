// The condition back-test from the command line: the recent draws replayed
// against the total filter's metric ranges, then the losses per condition,
// the draws passed, what the ranges keep of all combinations now and the
// efficiency of the set.
#include <optional>

#include "cli/cli.h"
#include "cli/opened_lottery.h"
#include "common/error.h"
#include "common/format.h"
#include "filter/backtest.h"

namespace zelvor::cli {

int cmdBacktest(const CommandLine& line)
{
    static const char* const kRangeOptions[RangeTestCount] = {"--big",        "--odd",  "--sum", "--span",
                                                              "--dispersion", "--skew", "--ac"};
    std::optional<int> recent = kDefaultBacktestDraws;
    if (line.has("--recent")) {
        const QString text = line.value("--recent");
        int R = 0;
        if (text == "all")
            recent.reset();
        else if (tryParseInteger(text.toStdString(), R) && R >= 1)
            recent = R;
        else
            throw UsageError(QStringLiteral("--recent takes a whole number of 1 or more, or all, not “%1”")
                                 .arg(text)
                                 .toStdString());
    }
    std::array<std::string, RangeTestCount> lowerText, upperText;
    for (int t = 0; t < RangeTestCount; ++t) {
        if (!line.has(kRangeOptions[t]))
            continue;
        // "A-B" as the texts of the window's two boxes.
        const QString value = line.value(kRangeOptions[t]);
        const int dash = value.indexOf('-', 1);
        if (dash < 0)
            throw UsageError(std::string(kRangeOptions[t]) + " takes A-B");
        lowerText[static_cast<std::size_t>(t)] = value.left(dash).trimmed().toStdString();
        upperText[static_cast<std::size_t>(t)] = value.mid(dash + 1).trimmed().toStdString();
    }

    OpenedLottery s(line.args[0]);
    const LotteryParams lottery = s.state.CurrentLottery();
    const DrawHistory& history = s.state.DrawHistory();

    std::array<RangeInput, RangeTestCount> rows;
    for (int t = 0; t < RangeTestCount; ++t)
        rows[static_cast<std::size_t>(t)] =
            rangeInput(static_cast<RangeTest>(t), lottery.numberRange, lottery.pickCount, line.has(kRangeOptions[t]),
                       lowerText[static_cast<std::size_t>(t)], upperText[static_cast<std::size_t>(t)]);
    const auto read = readBacktestRanges(rows, lottery);
    if (const auto* problem = std::get_if<TotalFilterProblem>(&read)) {
        err() << QString::fromStdString(problem->message) << "\n";
        return 1;
    }
    const BacktestRanges& ranges = std::get<BacktestRanges>(read);

    const BacktestReplay replay =
        replayBacktest(history, measureHistory(history, lottery.numberRange), ranges, recent);
    for (const BacktestDraw& d : replay.draws) {
        QString broken;
        for (RangeTest t : ranges.tickedTests())
            if (d.broken & (1u << static_cast<int>(t)))
                broken += (broken.isEmpty() ? "" : ",") + QString::fromLatin1(backtestConditionName(t));
        out() << d.issue << '\t' << QString::fromStdString(numbersJoined(history.main(d.draw))) << '\t'
              << (broken.isEmpty() ? QStringLiteral("-") : broken) << '\n';
    }
    for (RangeTest t : ranges.tickedTests())
        out() << "fail." << backtestConditionName(t) << '=' << replay.failures[static_cast<std::size_t>(t)] << '\n';
    out() << "passed=" << replay.passed << '/' << replay.replayed() << '\n';

    BacktestKeptCounter counter;
    const KeptShare share = counter.count(lottery, history, ranges);
    if (share.total > 0)
        out() << "kept=" << share.kept << '/' << share.total << '\n';
    else
        out() << "kept=-\n";
    out() << "efficiency=" << QString::fromStdString(efficiencyText(replay.passed, replay.replayed(), share)) << '\n';
    return 0;
}

} // namespace zelvor::cli
