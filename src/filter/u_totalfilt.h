#pragma once
// Tfrmtotalfilt ("总体过滤"): shrinks all combinations of the open lottery by
// metric ranges, banker hits and chosen red numbers, pairs the survivors with
// the chosen blue numbers and shows, saves and loads the list.
#include <QWidget>
#include <array>
#include <memory>

#include "filter/backtest.h"
#include "filter/total_filter.h"
#include "ui/app_context.h"
#include "ui/busy_scope.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace zelvor {

class BetListView;
class NumberPanels;
class Tfrmhuice;

class Tfrmtotalfilt : public QWidget, public TrendFollower, public StoppableWindow {
    Q_OBJECT
public:
    Tfrmtotalfilt(AppContext& context, QWidget* parent = nullptr);

    void chkhongqiuClick();
    void redPanelClick(int number);
    void bluePanelClick(int number);
    void btnsuiji1Click();
    void btnsuiji2Click();
    void btnfiltClick();
    void btnsaveClick();
    void btnloadClick();
    void btnclearClick();
    void btnprintClick() {} // no action
    void btncloseClick() { close(); }
    void btnbaohaoClick(); // the cover of the list shown
    // "回测": the recent draws against the ticked ranges as they stand.
    void btnhuiceClick();

    void trendChanged(TrendMode mode) override;
    // Stops a run or load in progress at its next progress report.
    void requestStop() override { stopRequested_ = true; }

    // The controls as they stand, as the run reads them.
    TotalFilterInputs readInputs() const;
    bool isRunning() const override { return running_; }
    bool startFromAll() const { return filter_->startFromAll(); }
    NumberPanels* redPanels() const { return redPanels_; }
    NumberPanels* bluePanels() const { return bluePanels_; }
    BetListView* memcode() const { return memcode_; }
    // The back-test window; nullptr before the first "回测".
    Tfrmhuice* huice() const { return huice_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct RangeRow {
        QCheckBox* check = nullptr;
        QComboBox* lower = nullptr;
        QComboBox* upper = nullptr;
    };

    void buildControls();
    void FormCreate();
    void setCount(std::int64_t lines);
    void emptyRangeBoxes();
    void uncheckConditions(bool banker);
    // The busy section of a run, a load or a save: the buttons that start or
    // change a list are disabled meanwhile.
    BusyScope busyScope();
    bool showList();

    AppContext& context_;
    LotteryParams lottery_;
    std::shared_ptr<TotalFilter> filter_;
    bool running_ = false;
    bool stopRequested_ = false;

    QLabel* Label21_ = nullptr;
    std::array<RangeRow, RangeTestCount> ranges_{};
    QCheckBox* chkdanma_ = nullptr;
    QLineEdit* edtdanma_ = nullptr;
    QLineEdit* edtnum1_ = nullptr;
    QLineEdit* edtnum2_ = nullptr;
    QCheckBox* chkhongqiu_ = nullptr;
    QLineEdit* edtzhong1_ = nullptr;
    QLineEdit* edtzhong2_ = nullptr;
    QPushButton* btnsuiji1_ = nullptr;
    QLineEdit* edtsuiji1_ = nullptr;
    QGroupBox* GroupBox2_ = nullptr;
    QCheckBox* chklanqiu_ = nullptr;
    QPushButton* btnsuiji2_ = nullptr;
    QLineEdit* edtsuiji2_ = nullptr;
    QGroupBox* GroupBox3_ = nullptr;
    NumberPanels* redPanels_ = nullptr;
    NumberPanels* bluePanels_ = nullptr;
    QLabel* lblcode_ = nullptr;
    BetListView* memcode_ = nullptr;
    QProgressBar* pb_ = nullptr;
    QPushButton* btnfilt_ = nullptr;
    QPushButton* btnsave_ = nullptr;
    QPushButton* btnload_ = nullptr;
    QPushButton* btnclear_ = nullptr;
    QPushButton* btnprint_ = nullptr;
    QPushButton* btnclose_ = nullptr;
    QPushButton* btnbaohao_ = nullptr;
    QPushButton* btnhuice_ = nullptr;
    Tfrmhuice* huice_ = nullptr;
    BacktestKeptCounter keptCounter_;
};

} // namespace zelvor
