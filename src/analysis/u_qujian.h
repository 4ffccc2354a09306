#pragma once
// Tfrmqujian ("区间分析"): per draw, how many numbers fell into each of Z
// zones, with one bar series per zone over the most recent draws.
#include <QWidget>
#include <array>

#include "analysis/zones.h"
#include "ui/app_context.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace zelvor {

class BarChart;
class HistoryGrid;

class Tfrmqujian : public QWidget, public TrendFollower {
    Q_OBJECT
public:
    explicit Tfrmqujian(AppContext& context, QWidget* parent = nullptr);

    // Compute(source): result table and grid; DrawChart: the zone series.
    void Compute(TrendMode source);
    void DrawChart();

    // Handlers.
    void comqujianChange();
    bool comzuijingqishuChange(); // false when the text was refused
    void btntongjiClick();
    void chkquClick() { DrawChart(); } // chkqu1Click ... chkqu7Click
    void chkhistorybiaoClick() { DrawChart(); }
    void trendChanged(TrendMode mode) override;

    int zoneCount() const { return Z_; }
    int recentCount() const { return R_; }
    const ZoneAnalysis& analysis() const { return analysis_; }
    HistoryGrid* grid() const { return tabhistory_; }
    BarChart* chart() const { return chthistory_; }
    QComboBox* zoneCountBox() const { return comqujian_; }
    QComboBox* recentCountBox() const { return comzuijingqishu_; }
    QCheckBox* zoneBox(int z) const { return chkqu_[static_cast<std::size_t>(z)]; } // z = 0..6
    QCheckBox* marksBox() const { return chkhistorybiao_; }
    QPushButton* startButton() const { return btntongji_; }

private:
    AppContext& context_;
    int R_ = kDefaultRecentCount;
    int Z_ = 1;
    ZoneAnalysis analysis_;

    QLabel* Label1_ = nullptr;
    HistoryGrid* tabhistory_ = nullptr;
    BarChart* chthistory_ = nullptr;
    QCheckBox* chkhistorybiao_ = nullptr;
    std::array<QCheckBox*, kMaxZoneCount> chkqu_{};
    QLabel* Label6_ = nullptr;
    QComboBox* comzuijingqishu_ = nullptr;
    QLabel* Label7_ = nullptr;
    QComboBox* comqujian_ = nullptr;
    QPushButton* btntongji_ = nullptr;
};

} // namespace zelvor
