#pragma once
// Tfrmduijiang ("对奖"): a bet file against a draw of the open lottery, or
// against every draw ("全部历史"): winning bets per prize level, the fixed
// prizes, the cost, and the winning bets themselves.
#include <QDateTime>
#include <QString>
#include <QWidget>
#include <memory>

#include "filter/prize_check.h"
#include "ui/app_context.h"
#include "ui/busy_scope.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTemporaryDir;

namespace zelvor {

class BetListView;
class HistoryGrid;

class Tfrmduijiang : public QWidget, public StoppableWindow {
    Q_OBJECT
public:
    Tfrmduijiang(AppContext& context, QWidget* parent = nullptr);
    ~Tfrmduijiang() override;

    void btnfileClick();
    void btncheckClick();
    void btnstopClick() { requestStop(); }
    void btncloseClick() { close(); }
    // Shows the winning bets of history row `row` (after "全部历史").
    void grdhistoryClick(int row);

    void requestStop() override { stopRequested_ = true; }
    bool isRunning() const override { return running_; }

    QLineEdit* edtfile() const { return edtfile_; }
    QComboBox* comqi() const { return comqi_; }
    QTableWidget* grdprize() const { return grdprize_; }
    HistoryGrid* grdhistory() const { return grdhistory_; }
    BetListView* lstwin() const { return lstwin_; }
    QLabel* lbldraw() const { return lbldraw_; }
    QLabel* lblsum() const { return lblsum_; }
    QLabel* lblwin() const { return lblwin_; }

private:
    // Reads the chosen file unless the bets read last are still those of it.
    // False when it was refused, failed or stopped (a message kept for the
    // first two).
    bool loadBets(PrizeGame game);
    // The check itself, inside the busy section.
    void check(PrizeGame game);
    void showPendingErrors();
    void showTally(const PrizeTally& tally, std::int64_t draws);
    bool showWinners(int drawIndex);
    QString drawText(int drawIndex) const;

    AppContext& context_;
    bool running_ = false;
    bool stopRequested_ = false;

    // The bets read last and what they were read from.
    PrizeBets bets_;
    QString betsFile_;
    QDateTime betsStamp_;
    qint64 betsSize_ = -1;
    bool betsLoaded_ = false;
    HistoryPrizeCheck history_;
    std::unique_ptr<QTemporaryDir> listDir_;
    QString pendingError_;
    QString pendingGeneralError_;

    QLineEdit* edtfile_ = nullptr;
    QPushButton* btnfile_ = nullptr;
    QComboBox* comqi_ = nullptr;
    QPushButton* btncheck_ = nullptr;
    QPushButton* btnstop_ = nullptr;
    QProgressBar* pb_ = nullptr;
    QLabel* lbldraw_ = nullptr;
    QTableWidget* grdprize_ = nullptr;
    QLabel* lblsum_ = nullptr;
    HistoryGrid* grdhistory_ = nullptr;
    QLabel* lblwin_ = nullptr;
    BetListView* lstwin_ = nullptr;
};

} // namespace zelvor
