#pragma once
// Core of the zone analysis window Tfrmqujian: per draw, how many of its
// numbers fall into each of Z zones, and the chart series of the last R draws.
#include <string>
#include <vector>

#include "analysis/metric_analysis.h"
#include "data/lottery.h"

namespace zelvor {

inline constexpr const char* kZoneWindowClass = "Tfrmqujian";
inline constexpr const char* kZoneWindowCaption = "区间分析";
inline constexpr const char* kZoneChartTitle = "最近各期区间图表";
inline constexpr int kMaxZoneCount = 7;

// The zone count a window opens with: k, kept within 1..7 (k > 7 opens with 7).
int defaultZoneCount(int k);

struct ZoneAnalysis {
    int zoneCount = 0;                         // Z (1..7)
    int zoneWidth = 0;                         // W
    std::vector<std::string> header;           // "记录期号", "开奖号码", "01-06号码总数", ...
    std::vector<std::vector<std::string>> rows; // Z + 2 cells each, oldest first
    std::vector<std::vector<int>> counts;      // the zone counts of each row
    std::vector<std::string> seriesTitles;     // "1区号码数" ... one per zone
    std::vector<std::vector<ChartBar>> series; // per zone: last R rows, oldest first
    int recentCount = 0;                       // R after limiting to the draws
};

// Compute(source) over DrawHistory or VariableHistory; Z is kept within 1..7.
ZoneAnalysis ComputeZones(const DrawHistory& source, int N, int Z, int R);
// The same for the open lottery: a digit lottery's zones split the digits
// 0..N-1 and are labelled by digits ("0-3号码总数").
ZoneAnalysis ComputeZones(const DrawHistory& source, const LotteryParams& lottery, int Z, int R);

// DrawChart: the series of every zone the result has, for the last R rows
// (R limited to the row count); value and label are the zone's count.
std::vector<std::vector<ChartBar>> zoneChartSeries(const ZoneAnalysis& analysis, int R);

} // namespace zelvor
