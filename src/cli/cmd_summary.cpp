// The analysis windows from the command line: a metric window's summary memo
// and the zone window's table, as they read after opening in standard mode.
#include <map>

#include "analysis/metric_analysis.h"
#include "analysis/zones.h"
#include "cli/cli.h"
#include "cli/session.h"
#include "common/error.h"

namespace zelvor::cli {

namespace {

const std::map<QString, Metric>& metricNames()
{
    static const std::map<QString, Metric> names = {
        {"big", Metric::Big},          {"odd", Metric::Odd},         {"sum", Metric::Sum},
        {"span", Metric::Span},        {"dispersion", Metric::Dispersion}, {"skewness", Metric::Skewness},
        {"ac", Metric::Ac},            {"repeat", Metric::Repeat},
    };
    return names;
}

int summaryUsage()
{
    err() << "usage: zelvor-cli summary NAME METRIC [--recent R|all]\n"
             "  METRIC: big, odd, sum, span, dispersion, skewness, ac, repeat\n";
    return 2;
}

} // namespace

int cmdSummary(QStringList args)
{
    const QString recent = takeOption(args, "--recent");
    if (args.size() != 2 || args.contains("--recent"))
        return summaryUsage();
    auto metric = metricNames().find(args[1]);
    if (metric == metricNames().end())
        return summaryUsage();
    int R = kDefaultRecentCount;
    const bool all = recent == "all";
    if (!recent.isEmpty() && !all && (!tryParseInteger(recent.toStdString(), R) || R < 0))
        return summaryUsage();

    LotterySession s(args[0]);
    const LotteryParams& p = s.state.CurrentLottery;
    const MetricWindowDescriptor& d = metricWindowFor(metric->second);
    if (all)
        R = s.state.DrawCount();
    // A freshly opened lottery is in standard mode, which every member opens with.
    const MetricAnalysis a = Compute(d, s.state.history(), p, R);
    for (const std::string& line : a.summary)
        out() << QString::fromStdString(line) << '\n';
    return 0;
}

int cmdZones(QStringList args)
{
    const QString zones = takeOption(args, "--zones");
    if (args.size() != 1 || args.contains("--zones")) {
        err() << "usage: zelvor-cli zones NAME [--zones Z]   (Z from 1 to " << kMaxZoneCount << ")\n";
        return 2;
    }
    int Z = 0;
    if (!zones.isEmpty() && (!tryParseInteger(zones.toStdString(), Z) || Z < 1 || Z > kMaxZoneCount)) {
        err() << "usage: zelvor-cli zones NAME [--zones Z]   (Z from 1 to " << kMaxZoneCount << ")\n";
        return 2;
    }
    LotterySession s(args[0]);
    const LotteryParams& p = s.state.CurrentLottery;
    if (zones.isEmpty())
        Z = defaultZoneCount(p.pickCount);
    const ZoneAnalysis a = ComputeZones(s.state.history(), p, Z, kDefaultRecentCount);
    auto line = [](const std::vector<std::string>& cells) {
        QStringList parts;
        for (const std::string& c : cells)
            parts << QString::fromStdString(c);
        out() << parts.join('\t') << '\n';
    };
    line(a.header);
    for (const auto& row : a.rows)
        line(row);
    return 0;
}

} // namespace zelvor::cli
