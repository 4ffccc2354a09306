#pragma once
// Tfrmbaohao ("保号缩水"): the fewest bets from a filtered list that keep a
// guarantee over the list itself. The search runs on a worker thread with a
// stop flag; the window shows the best count so far and the result list.
#include <QWidget>
#include <atomic>
#include <memory>
#include <thread>

#include "filter/list_cover.h"
#include "ui/app_context.h"
#include "ui/busy_scope.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zelvor {

class BetListView;

class Tfrmbaohao : public QWidget, public StoppableWindow {
    Q_OBJECT
public:
    Tfrmbaohao(AppContext& context, QWidget* parent = nullptr);
    ~Tfrmbaohao() override;

    Q_INVOKABLE void btnlistClick(); // "当前列表": the list the filtering windows show (temp.txt)
    void btnloadClick();  // "载入": a bet file
    void btnstartClick(); // "开始" / "停止"
    void btnsaveClick();
    void btncloseClick() { close(); }

    void requestStop() override;
    bool isRunning() const override { return running_; }
    std::int64_t sourceCount() const { return static_cast<std::int64_t>(input_.reds.size()); }
    BetListView* memcode() const { return memcode_; }

signals:
    void finished(); // a search ended and its result is shown

private:
    struct Search;
    bool takeBetFile(const QString& file);
    void poll();
    void showResult();

    AppContext& context_;
    bool running_ = false;
    CoverInput input_;
    QString sourceName_;
    std::shared_ptr<Search> search_;
    std::thread worker_;
    std::unique_ptr<BusyScope> busy_;
    QTimer* timer_ = nullptr;

    QLabel* lblsource_ = nullptr;
    QComboBox* combao_ = nullptr;
    QLineEdit* edtseconds_ = nullptr;
    QLabel* lblbest_ = nullptr;
    QLabel* lblguarantee_ = nullptr;
    QLabel* lblcode_ = nullptr;
    BetListView* memcode_ = nullptr;
    QProgressBar* pb_ = nullptr;
    QPushButton* btnlist_ = nullptr;
    QPushButton* btnload_ = nullptr;
    QPushButton* btnstart_ = nullptr;
    QPushButton* btnsave_ = nullptr;
    QPushButton* btnclose_ = nullptr;
};

} // namespace zelvor
