#include "analysis/metric_analysis.h"

#include <algorithm>
#include <charconv>

#include "common/format.h"

namespace zelvor {

namespace {

constexpr MetricWindowDescriptor kFamily[] = {
    {"Tfrmdaxiao", "u_daxiao", "大小分析", "最近各期开奖号码大数个数", Metric::Big, "大数个数",
     MetricSource::FollowTrendMode, MetricSource::FollowTrendMode, "理论最多大数个数：", "理论最少大数个数：",
     "理论平均大数个数：", "期大数个数总和：", "期理论大数个数总和：",
     "期大数个数总和远远超过理论个数总和，建议选择小于理论平均大数个数的组合！",
     "期大数个数总和远远低于理论个数总和，建议选择大于理论平均大数个数的组合！", MetricAverage::HalfK},
    {"Tfrmjiou", "u_jiou", "奇数分析", "最近各期开奖号码奇数个数", Metric::Odd, "奇数个数", MetricSource::Standard,
     MetricSource::Standard, "理论最多奇数个数：", "理论最少奇数个数：", "理论平均奇数个数：", "期奇数个数总和：",
     "期理论奇数个数总和：", "期奇数个数总和远远超过理论个数总和，建议选择小于理论平均奇数个数的组合！",
     "期奇数个数总和远远低于理论个数总和，建议选择大于理论平均奇数个数的组合！", MetricAverage::HalfK},
    {"Tfrmhei", "u_hei", "和值分析", "最近各期开奖号码和值", Metric::Sum, "和值", MetricSource::Standard,
     MetricSource::Standard, "理论最大和值：", "理论最小和值：", "理论平均和值：", "期和值总和：", "期理论和值总和：",
     "期和值总和远远超过理论和值总和，建议选择小于理论平均和值的组合！",
     "期和值总和远远低于理论和值总和，建议选择大于理论平均和值的组合！", MetricAverage::HistoryMean},
    {"Tfrmkuadu", "u_kuadu", "跨度分析", "最近各期开奖号码跨度", Metric::Span, "跨度", MetricSource::Standard,
     MetricSource::Standard, "理论最大跨度：", "理论最小跨度：", "理论平均跨度：", "期跨度总和：", "期理论跨度总和：",
     "期跨度总和远远超过理论跨度总和，建议选择小于理论平均跨度的组合！",
     "期跨度总和远远低于理论跨度总和，建议选择大于理论平均跨度的组合！", MetricAverage::HistoryMean},
    {"Tfrmsandu", "u_sandu", "散度分析", "最近各期开奖号码散度", Metric::Dispersion, "散度", MetricSource::Standard,
     MetricSource::Standard, "理论最大散度：", "理论最小散度：", "理论平均散度：", "期散度总和：", "期理论散度总和：",
     "期散度总和远远超过理论散度总和，建议选择小于理论平均散度的组合！",
     "期散度总和远远低于理论散度总和，建议选择大于理论平均散度的组合！", MetricAverage::HistoryMean},
    {"Tfrmpiandu", "u_piandu", "偏度分析", "最近各期开奖号码偏度", Metric::Skewness, "偏度", MetricSource::Standard,
     MetricSource::Standard, "理论最多偏度：", "理论最少偏度：", "理论平均偏度：", "期偏度总和：", "期理论偏度总和：",
     "期偏度总和远远超过理论偏度总和，建议选择小于理论平均偏度的组合！",
     "期偏度总和远远低于理论偏度总和，建议选择大于理论平均偏度的组合！", MetricAverage::HistoryMean},
    {"Tfrmac", "u_AC", "AC值分析", "最近各期开奖号码AC值", Metric::Ac, "AC值", MetricSource::Standard,
     MetricSource::Standard, "理论最大AC值：", "理论最小AC值：", "理论平均AC值：", "期AC值总和：", "期理论AC值总和：",
     "期AC值总和远远超过理论AC值总和，建议选择小于理论平均AC值的组合！",
     "期AC值总和远远低于理论AC值总和，建议选择大于理论平均AC值的组合！", MetricAverage::HistoryMean},
    {"Tfrmcongma", "u_congma", "重码分析", "最近各期开奖号码重码个数", Metric::Repeat, "重码个数",
     MetricSource::FollowTrendMode, MetricSource::Standard, "理论最多重码个数：", "理论最少重码个数：",
     "理论平均重码个数：", "期重码个数总和：", "期理论重码个数总和：",
     "期重码个数总和远远超过理论个数总和，建议选择小于理论平均重码个数的组合！",
     "期重码个数总和远远低于理论个数总和，建议选择大于理论平均重码个数的组合！", MetricAverage::RepeatDivision},
};

TrendMode pick(MetricSource s, TrendMode current)
{
    return s == MetricSource::FollowTrendMode ? current : TrendMode::Standard;
}

int wholeNumber(const std::string& text)
{
    int v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

} // namespace

std::span<const MetricWindowDescriptor> metricWindowFamily() { return kFamily; }

const MetricWindowDescriptor* findMetricWindow(std::string_view className)
{
    for (const auto& d : kFamily)
        if (className == d.className)
            return &d;
    return nullptr;
}

const MetricWindowDescriptor& metricWindowFor(Metric m)
{
    for (const auto& d : kFamily)
        if (d.metric == m)
            return d;
    return kFamily[0];
}

TrendMode sourceAtOpening(const MetricWindowDescriptor& d, TrendMode current) { return pick(d.opensWith, current); }
TrendMode sourceAtRecount(const MetricWindowDescriptor& d, TrendMode current) { return pick(d.recountUses, current); }

std::vector<std::string> recentCountItems(int drawCount)
{
    std::vector<std::string> items{kAllDrawsItem};
    for (int i = 1; i <= drawCount; ++i)
        items.push_back(std::to_string(i));
    return items;
}

int limitRecentCount(int R, int drawCount) { return std::clamp(R, 0, std::max(drawCount, 0)); }

int historyGridTopRow(int gridRows) { return gridRows > 24 ? gridRows - 24 : 1; }

std::vector<ChartBar> metricChartBars(const std::vector<MetricRow>& rows, int R)
{
    const int n = static_cast<int>(rows.size());
    R = limitRecentCount(R, n);
    std::vector<ChartBar> bars;
    bars.reserve(static_cast<std::size_t>(R));
    for (int i = n - R; i < n; ++i)
        bars.push_back({wholeNumber(rows[static_cast<std::size_t>(i)][2]), rows[static_cast<std::size_t>(i)][0]});
    return bars;
}

std::string metricAdvice(const MetricWindowDescriptor& d, int R, float A, float T)
{
    if (A >= 1.5f * T)
        return "最近" + std::to_string(R) + d.exceedsMiddle;
    if (T >= 1.5f * A)
        return "最近" + std::to_string(R) + d.belowMiddle;
    return {};
}

namespace {

MetricAnalysis computeMetric(const MetricWindowDescriptor& d, const DrawHistory& source, int N, int k, bool digits,
                             int R)
{
    MetricAnalysis out;
    out.header = {"记录期号", "开奖号码", d.valueTitle};
    const int n = source.size();

    double total = 0; // S, with the first skewness at its exact value
    out.rows.reserve(static_cast<std::size_t>(n));
    out.values.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        auto x = source.main(i);
        double value = 0;
        if (i == 0 && d.metric == Metric::Skewness)
            value = FirstDrawSkewness(N, k);
        else if (i == 0 && d.metric == Metric::Repeat)
            value = 0;
        else
            value = MetricValue(d.metric, x, i > 0 ? source.main(i - 1) : std::span<const int>{}, N, digits);
        total += value;
        out.values.push_back(value);
        out.rows.push_back({std::to_string(source.issue(i)), numbersWithBlanks(x), roundedText(value)});
    }

    const Bounds b = MetricBounds(N, k, digits).of(d.metric);
    out.theoreticalMax = static_cast<float>(b.max);
    out.theoreticalMin = static_cast<float>(b.min);
    R = limitRecentCount(R, n);
    out.recentCount = R;
    switch (d.average) {
    case MetricAverage::HalfK:
        out.theoreticalAverage = static_cast<float>(k / 2.0);
        out.recentTheoreticalTotal = static_cast<float>(k * R / 2.0);
        break;
    case MetricAverage::HistoryMean:
        out.theoreticalAverage = n > 0 ? static_cast<float>(total / n) : 0.0f;
        out.recentTheoreticalTotal = n > 0 ? static_cast<float>(R * total / n) : 0.0f;
        break;
    case MetricAverage::RepeatDivision:
        out.theoreticalAverage = N > 0 ? static_cast<float>((k * k) / N) : 0.0f;
        out.recentTheoreticalTotal = N > 0 ? static_cast<float>((k * R * k) / N) : 0.0f;
        break;
    }

    // A adds the values as displayed (the first skewness as 14, not 13.5).
    out.bars = metricChartBars(out.rows, R);
    float A = 0;
    for (const auto& bar : out.bars)
        A += static_cast<float>(bar.value);
    out.recentTotal = A;

    out.summary.push_back(d.maxLabel + oneDecimal(out.theoreticalMax));
    out.summary.push_back(d.minLabel + oneDecimal(out.theoreticalMin));
    out.summary.push_back(d.averageLabel + oneDecimal(out.theoreticalAverage));
    if (n == 0)
        return out; // no draws: no recent totals to compare, so no lines 4-6

    const std::string recent = "最近" + std::to_string(R);
    out.summary.push_back(recent + d.totalMiddle + oneDecimal(out.recentTotal));
    out.summary.push_back(recent + d.theoryMiddle + oneDecimal(out.recentTheoreticalTotal));
    if (std::string advice = metricAdvice(d, R, out.recentTotal, out.recentTheoreticalTotal); !advice.empty())
        out.summary.push_back(std::move(advice));
    return out;
}

} // namespace

MetricAnalysis Compute(const MetricWindowDescriptor& d, const DrawHistory& source, int N, int k, int R)
{
    return computeMetric(d, source, N, k, false, R);
}

MetricAnalysis Compute(const MetricWindowDescriptor& d, const DrawHistory& source, const LotteryParams& lottery,
                       int R)
{
    return computeMetric(d, source, lottery.numberRange, lottery.pickCount, lottery.digitsFromZero(), R);
}

} // namespace zelvor
