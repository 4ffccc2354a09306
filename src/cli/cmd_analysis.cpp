// Commands of the history analysis: per-draw metrics and the trend table.
#include <QRegularExpression>

#include "analysis/metrics.h"
#include "analysis/trend.h"
#include "cli/cli.h"
#include "cli/session.h"
#include "common/format.h"
#include "common/random.h"

namespace zelvor::cli {

int cmdMetrics(QStringList args)
{
    if (args.size() != 1) {
        err() << "usage: zelvor-cli metrics NAME\n";
        return 2;
    }
    LotterySession s(args[0]);
    const LotteryParams& p = s.state.CurrentLottery;
    const DrawHistory& h = s.state.history();
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

int cmdTrend(QStringList args)
{
    const bool variable = takeFlag(args, "--variable");
    const QString seed = takeOption(args, "--seed");
    const QString window = takeOption(args, "--window");
    const QString perm = takeOption(args, "--perm");
    if (args.size() != 1 || (!variable && (!seed.isEmpty() || !window.isEmpty() || !perm.isEmpty()))) {
        err() << "usage: zelvor-cli trend NAME [--variable [--seed S | --window W --perm \"p(1) ... p(N)\"]]\n";
        return 2;
    }
    LotterySession s(args[0]);
    const int N = s.state.CurrentLottery.numberRange;
    if (variable) {
        if (!window.isEmpty() || !perm.isEmpty()) {
            VariableSettings settings;
            bool ok = false;
            settings.window = window.toInt(&ok);
            if (!ok || settings.window < 1 || settings.window > 100) {
                err() << "--window takes a whole number from 1 to 100\n";
                return 2;
            }
            settings.permutation.assign(1, 0);
            std::vector<bool> seen(static_cast<std::size_t>(N + 1), false);
            for (const QString& t : perm.split(QRegularExpression("[\\s,]+"), Qt::SkipEmptyParts)) {
                const int v = t.toInt(&ok);
                if (!ok || v < 1 || v > N || seen[v]) {
                    err() << "--perm takes a permutation of 1.." << N << "\n";
                    return 2;
                }
                seen[v] = true;
                settings.permutation.push_back(v);
            }
            if (static_cast<int>(settings.permutation.size()) != N + 1) {
                err() << "--perm takes a permutation of 1.." << N << "\n";
                return 2;
            }
            s.state.BuildVariableTrend(settings);
        } else {
            Random random;
            if (seed.isEmpty())
                random.seedFromClock();
            else
                random.seed(seed.toULongLong());
            s.state.BuildVariableTrend(random);
        }
    }
    for (const TrendRow& row : s.state.Rows) {
        QString marks;
        marks.reserve(static_cast<int>(row.cells.size()));
        for (std::size_t c = 2; c < row.cells.size(); ++c)
            marks += row.cells[c] ? '1' : '0';
        out() << row.issue << '\t' << QString::fromStdString(row.numbers) << '\t' << marks << '\n';
    }
    if (variable) {
        out() << "next\t";
        const auto& lottery = s.state.CurrentLottery;
        const int first = lottery.digitsFromZero() ? 0 : 1;
        for (int n = first; n < first + N; ++n)
            out() << (n > first ? " " : "") << s.state.Variable.nextValue(n);
        out() << '\n';
    }
    return 0;
}

} // namespace zelvor::cli
