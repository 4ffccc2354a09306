#pragma once
// Core of the single-metric analysis windows (Tfrmdaxiao ... Tfrmcongma): one
// descriptor per family member and one Compute that turns a source history
// into the grid rows, the summary memo lines and the chart bars. The windows
// only read their controls, call Compute and show what it returns.
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/metrics.h"
#include "analysis/trend.h"
#include "data/lottery.h"

namespace zelvor {

// Which history a window reads: whatever TrendMode names, or always the stored draws.
enum class MetricSource { FollowTrendMode, Standard };

// How the theoretical average and the recent theoretical total T are found.
enum class MetricAverage {
    HalfK,          // average k / 2, T = k * R / 2
    HistoryMean,    // average S / n, T = R * S / n (S: total over all source rows)
    RepeatDivision, // average (k * k) div N, T = (k * R * k) div N
};

struct MetricWindowDescriptor {
    const char* className;  // "Tfrmdaxiao"
    const char* unitName;   // "u_daxiao"
    const char* caption;    // "大小分析"
    const char* chartTitle; // "最近各期开奖号码大数个数"
    Metric metric;
    const char* valueTitle; // third column header and series title ("大数个数")
    MetricSource opensWith;
    MetricSource recountUses;
    const char* maxLabel;      // line 1
    const char* minLabel;      // line 2
    const char* averageLabel;  // line 3
    const char* totalMiddle;   // line 4: "最近" R <this> A
    const char* theoryMiddle;  // line 5: "最近" R <this> T
    const char* exceedsMiddle; // advice when A >= 1.5 T
    const char* belowMiddle;   // advice when T >= 1.5 A
    MetricAverage average;
};

// The eight members, in tab order: 大小, 奇数, 和值, 跨度, 散度, 偏度, AC值, 重码.
std::span<const MetricWindowDescriptor> metricWindowFamily();
// The member with that class name, or nullptr.
const MetricWindowDescriptor* findMetricWindow(std::string_view className);
// The member that shows metric m.
const MetricWindowDescriptor& metricWindowFor(Metric m);

// The trend view a member reads when created and when "重新统计" is pressed.
TrendMode sourceAtOpening(const MetricWindowDescriptor& d, TrendMode current);
TrendMode sourceAtRecount(const MetricWindowDescriptor& d, TrendMode current);

// Caption of the recent-count box's first item; R = the number of draws.
inline constexpr const char* kAllDrawsItem = "全部期";
inline constexpr int kDefaultRecentCount = 3;
// Items of comzuijingqishu: "全部期", then "1" ... the number of draws.
std::vector<std::string> recentCountItems(int drawCount);
// R as the windows use it: never reads outside the history, so it is limited
// to 0 .. the number of draws.
int limitRecentCount(int R, int drawCount);
// Top visible grid row: row count - 24 when the grid has more than 24 rows,
// so the newest draws are in view; otherwise row 1.
int historyGridTopRow(int gridRows);

// One bar of a history chart.
struct ChartBar {
    int value = 0;
    std::string label;
};

// One MetricRow: issue, numbers text ("01 07 12 20 25 33 "), value ("%.0f").
using MetricRow = std::array<std::string, 3>;

struct MetricAnalysis {
    MetricRow header;                  // "记录期号", "开奖号码", value title
    std::vector<MetricRow> rows;       // oldest first, one per source row
    std::vector<double> values;        // exact values (first skewness 13.5)
    std::vector<std::string> summary;  // memo lines
    std::vector<ChartBar> bars;        // last R rows, oldest first
    int recentCount = 0;               // R after limiting
    float theoreticalMax = 0;
    float theoreticalMin = 0;
    float theoreticalAverage = 0;
    float recentTotal = 0;             // A
    float recentTheoreticalTotal = 0;  // T
};

// Compute(source) of a family member over DrawHistory or VariableHistory
// (both oldest first). With no draws: no rows, no bars, and the summary
// holds lines 1-3 only (the history-mean members show an average of 0.0).
MetricAnalysis Compute(const MetricWindowDescriptor& d, const DrawHistory& source, int N, int k, int R);
// The same for the open lottery: a digit lottery's draws are k digits of
// 0..N-1 (repeats allowed), and its bounds and big/dispersion values are
// taken over those digits (MetricBounds, MetricValue).
MetricAnalysis Compute(const MetricWindowDescriptor& d, const DrawHistory& source, const LotteryParams& lottery,
                       int R);

// DrawChart: bars of the last R rows (R limited to the row count), value =
// the value cell read as a whole number, label = the issue cell.
std::vector<ChartBar> metricChartBars(const std::vector<MetricRow>& rows, int R);

// The advice line (line 6) for totals A and T, or "" when there is none.
// The factor is 1.5 on both sides; two zero totals count as exceeding.
std::string metricAdvice(const MetricWindowDescriptor& d, int R, float A, float T);

} // namespace zelvor
