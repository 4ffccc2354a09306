#include "analysis/zones.h"

#include <algorithm>

#include "analysis/metrics.h"
#include "common/format.h"

namespace zelvor {

int defaultZoneCount(int k) { return std::clamp(k, 1, kMaxZoneCount); }

std::vector<std::vector<ChartBar>> zoneChartSeries(const ZoneAnalysis& analysis, int R)
{
    const int n = static_cast<int>(analysis.counts.size());
    R = limitRecentCount(R, n);
    std::vector<std::vector<ChartBar>> series(static_cast<std::size_t>(analysis.zoneCount));
    for (int z = 0; z < analysis.zoneCount; ++z)
        for (int i = n - R; i < n; ++i) {
            const int c = analysis.counts[static_cast<std::size_t>(i)][static_cast<std::size_t>(z)];
            series[static_cast<std::size_t>(z)].push_back({c, std::to_string(c)});
        }
    return series;
}

namespace {

ZoneAnalysis computeZones(const DrawHistory& source, int N, bool digits, int Z, int R)
{
    ZoneAnalysis out;
    Z = std::clamp(Z, 1, kMaxZoneCount);
    out.zoneCount = Z;
    out.zoneWidth = ZoneWidth(N, Z);
    out.header = {"记录期号", "开奖号码"};
    for (const auto& label : ZoneLabels(N, Z, digits))
        out.header.push_back(label + "号码总数");
    for (int z = 1; z <= Z; ++z)
        out.seriesTitles.push_back(std::to_string(z) + "区号码数");

    const int n = source.size();
    out.rows.reserve(static_cast<std::size_t>(n));
    out.counts.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        auto x = source.main(i);
        std::vector<int> counts = ZoneCounts(x, N, Z, digits);
        std::vector<std::string> row{std::to_string(source.issue(i)), numbersWithBlanks(x)};
        for (int c : counts)
            row.push_back(std::to_string(c));
        out.rows.push_back(std::move(row));
        out.counts.push_back(std::move(counts));
    }
    out.recentCount = limitRecentCount(R, n);
    out.series = zoneChartSeries(out, out.recentCount);
    return out;
}

} // namespace

ZoneAnalysis ComputeZones(const DrawHistory& source, int N, int Z, int R)
{
    return computeZones(source, N, false, Z, R);
}

ZoneAnalysis ComputeZones(const DrawHistory& source, const LotteryParams& lottery, int Z, int R)
{
    return computeZones(source, lottery.numberRange, lottery.digitsFromZero(), Z, R);
}

} // namespace zelvor
