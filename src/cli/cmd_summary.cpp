// The analysis windows from the command line: a metric window's summary memo
// and the zone window's table, as they read after opening in standard mode.
#include <map>

#include "analysis/metric_analysis.h"
#include "analysis/zones.h"
#include "cli/cli.h"
#include "cli/opened_lottery.h"
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

} // namespace

int cmdSummary(const CommandLine& line)
{
    auto metric = metricNames().find(line.args[1]);
    if (metric == metricNames().end())
        throw UsageError(QStringLiteral("unknown metric %1").arg(line.args[1]).toStdString());
    const QString recent = line.value("--recent");
    int R = kDefaultRecentCount;
    const bool all = recent == "all";
    if (line.has("--recent") && !all && (!tryParseInteger(recent.toStdString(), R) || R < 0))
        throw UsageError(QStringLiteral("--recent takes a whole number of 0 or more, or all, not “%1”")
                             .arg(recent)
                             .toStdString());

    OpenedLottery s(line.args[0]);
    const LotteryParams& p = s.state.CurrentLottery();
    const MetricWindowDescriptor& d = metricWindowFor(metric->second);
    if (all)
        R = s.state.DrawCount();
    // A freshly opened lottery is in standard mode, which every member opens with.
    const MetricAnalysis a = Compute(d, s.state.DrawHistory(), p, R);
    for (const std::string& text : a.summary)
        out() << QString::fromStdString(text) << '\n';
    return 0;
}

int cmdZones(const CommandLine& line)
{
    const std::optional<int> zones = line.intValue("--zones", 1, kMaxZoneCount);
    OpenedLottery s(line.args[0]);
    const LotteryParams& p = s.state.CurrentLottery();
    const int Z = zones ? *zones : defaultZoneCount(p.pickCount);
    const ZoneAnalysis a = ComputeZones(s.state.DrawHistory(), p, Z, kDefaultRecentCount);
    auto row = [](const std::vector<std::string>& cells) {
        QStringList parts;
        for (const std::string& c : cells)
            parts << QString::fromStdString(c);
        out() << parts.join('\t') << '\n';
    };
    row(a.header);
    for (const auto& r : a.rows)
        row(r);
    return 0;
}

} // namespace zelvor::cli
