#pragma once
// Tfrmhuice ("条件回测"): the outcome of a back-test of the total filter's
// ranges: every replayed draw with the conditions it breaks, the losses per
// condition in a table and a bar chart, the draws passed, the share of all
// combinations the ranges keep now and the efficiency of the set.
#include <QWidget>
#include <functional>
#include <optional>

#include "filter/backtest.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace zelvor {

class BarChart;
class HistoryGrid;

class Tfrmhuice : public QWidget {
    Q_OBJECT
public:
    // rerun: what "回测" does (the total filter's back-test with its ranges as they stand).
    Tfrmhuice(std::function<void()> rerun, QWidget* parent = nullptr);

    // The draws to replay as chosen in comqishu: nullopt for "全部". A text
    // that is no whole number, or one below 1, gives the message to show.
    struct RecentWish {
        std::optional<int> recent;
        QString problem;
    };
    RecentWish recentWish() const;

    void showResult(const DrawHistory& history, const BacktestRanges& ranges, const BacktestReplay& replay,
                    const KeptShare& share);
    void btnhuiceClick();
    void setBusy(bool busy);

    HistoryGrid* grid() const { return grdhuice_; }
    BarChart* chart() const { return chtfail_; }
    QTableWidget* failTable() const { return grdfail_; }

private:
    std::function<void()> rerun_;
    QComboBox* comqishu_ = nullptr;
    QPushButton* btnhuice_ = nullptr;
    QPushButton* btnclose_ = nullptr;
    QLabel* lblpass_ = nullptr;
    QLabel* lblkept_ = nullptr;
    QLabel* lblxiaolv_ = nullptr;
    HistoryGrid* grdhuice_ = nullptr;
    QTableWidget* grdfail_ = nullptr;
    BarChart* chtfail_ = nullptr;
};

} // namespace zelvor
