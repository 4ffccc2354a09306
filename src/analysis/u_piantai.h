#pragma once
// The skew-state window Tfrmpiantai ("中奖偏态分析选号") and the win-backfill
// window Tfrmyilou ("中奖回补分析选号"): one window, two descriptors. Each ranks
// the red or blue numbers of the open lottery by wins, gaps, cold multiple
// and chase value, sorts them three ways and charts four of the columns.
#include <QWidget>
#include <vector>

#include "analysis/omission.h"
#include "ui/app_context.h"

class QCheckBox;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace zelvor {

class BarChart;

// What differs between the two windows.
struct OmissionWindowKind {
    const char* className; // "Tfrmpiantai"
    const char* caption;   // "中奖偏态分析选号"
    const char* column5;   // "目前遗漏" / "前次遗漏"
    OmissionKind kind;
};
const OmissionWindowKind& skewStateWindow();
const OmissionWindowKind& backfillWindow();

class Tfrmpiantai : public QWidget {
    Q_OBJECT
public:
    Tfrmpiantai(AppContext& context, QWidget* parent = nullptr);
    Tfrmpiantai(AppContext& context, const OmissionWindowKind& kind, QWidget* parent = nullptr);

    void btnalaClick() { compute(OmissionSort::Number); }
    void Button1Click() { compute(OmissionSort::Chase); }
    void Button2Click() { compute(OmissionSort::Reported); }
    void Button3Click() { compute(OmissionSort::Wins); }
    void Button4Click() { close(); }
    void optqianhouClick();
    void DrawChart();

    // The rows as shown, in the current order.
    const std::vector<OmissionRow>& rows() const { return rows_; }
    OmissionBalls selection() const { return balls_; }
    QTableWidget* tabhistory() const { return grid_; }
    BarChart* chthistory() const { return chart_; }
    QRadioButton* redButton() const { return red_; }
    QRadioButton* blueButton() const { return blue_; }
    QCheckBox* chk(int i) const { return chk_[i]; }
    QCheckBox* chkhistorybiao() const { return marks_; }

private:
    // Load, Compute(mode), DrawChart.
    void compute(OmissionSort mode);
    void fillGrid();

    AppContext& context_;
    const OmissionWindowKind& kind_;
    OmissionBalls balls_ = OmissionBalls::Red;
    std::vector<OmissionRow> rows_;
    QTableWidget* grid_ = nullptr;
    BarChart* chart_ = nullptr;
    QRadioButton* red_ = nullptr;
    QRadioButton* blue_ = nullptr;
    QCheckBox* chk_[4] = {};
    QCheckBox* marks_ = nullptr;
};

// The win-backfill window: the same window with the backfill descriptor.
class Tfrmyilou : public Tfrmpiantai {
    Q_OBJECT
public:
    Tfrmyilou(AppContext& context, QWidget* parent = nullptr) : Tfrmpiantai(context, backfillWindow(), parent) {}
};

} // namespace zelvor
