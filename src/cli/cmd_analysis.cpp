// Commands of the history analysis: per-draw metrics and the trend table.
#include <QRegularExpression>

#include "analysis/metrics.h"
#include "analysis/trend.h"
#include "cli/cli.h"
#include "cli/opened_lottery.h"
#include "common/error.h"
#include "common/format.h"
#include "common/random.h"

namespace zelvor::cli {

int cmdMetrics(const CommandLine& line)
{
    OpenedLottery s(line.args[0]);
    const LotteryParams& p = s.state.CurrentLottery();
    const DrawHistory& h = s.state.DrawHistory();
    const int N = p.numberRange;
    const int k = p.pickCount;
    const bool digits = p.digitsFromZero();
    const std::span<const int> none;
    for (int i = 0; i < h.size(); ++i) {
        const auto x = h.main(i);
        const std::string skew = i == 0 ? roundedText(FirstDrawSkewness(N, k))
                                        : std::to_string(SkewnessValue(x, h.main(i - 1)));
        const int repeat = i == 0 ? 0 : RepeatCount(x, h.main(i - 1));
        out() << h.issue(i) << '\t' << QString::fromStdString(numbersJoined(x)) << '\t'
              << MetricValue(Metric::Big, x, none, N, digits) << '\t' << OddCount(x) << '\t' << SumValue(x) << '\t' << SpanValue(x) << '\t'
              << MetricValue(Metric::Dispersion, x, none, N, digits) << '\t'
              << QString::fromStdString(skew) << '\t' << AcValue(x) << '\t' << repeat << '\n';
    }
    return 0;
}

int cmdTrend(const CommandLine& line)
{
    const bool variable = line.has("--variable");
    const QString perm = line.value("--perm");
    if (!variable && (line.has("--window") || line.has("--perm")))
        throw UsageError("--window and --perm go with --variable");
    if (line.has("--window") != line.has("--perm"))
        throw UsageError("--window and --perm go together");
    const std::optional<int> window = line.intValue("--window", 1, 100);
    OpenedLottery s(line.args[0]);
    const int N = s.state.CurrentLottery().numberRange;
    if (variable) {
        if (window) {
            VariableSettings settings;
            settings.window = *window;
            const auto permutation = parsePermutation(perm.toStdString(), N);
            if (!permutation)
                throw UsageError(QStringLiteral("--perm takes a permutation of 1..%1").arg(N).toStdString());
            settings.permutation = *permutation;
            s.state.BuildVariableTrend(settings);
        } else {
            // The one program generator, seeded by --seed or from the clock.
            s.state.BuildVariableTrend(programRandom());
        }
    }
    for (const TrendRow& row : s.state.TrendRows()) {
        QString marks;
        marks.reserve(static_cast<int>(row.cells.size()));
        for (std::size_t c = 2; c < row.cells.size(); ++c)
            marks += row.cells[c] ? '1' : '0';
        out() << row.issue << '\t' << QString::fromStdString(row.numbers) << '\t' << marks << '\n';
    }
    if (variable) {
        out() << "next\t";
        const auto& lottery = s.state.CurrentLottery();
        const int first = lottery.digitsFromZero() ? 0 : 1;
        for (int n = first; n < first + N; ++n)
            out() << (n > first ? " " : "") << s.state.Variable().nextValue(n);
        out() << '\n';
    }
    return 0;
}

} // namespace zelvor::cli
