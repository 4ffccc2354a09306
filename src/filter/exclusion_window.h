#pragma once
// The frame the four endless-exclusion windows share: betting issue, target
// or pass count, the start/stop button, the bet list with save, load and
// clear, the progress bar, and (repeat, sum, follow) the statistics grid and
// chart. Each window (u_allcongma, u_allhei, u_allpiantai, u_allgensui) is
// this frame with its kind; the kind's own controls are built here too.
#include <QWidget>
#include <memory>

#include "filter/exclusion.h"
#include "ui/app_context.h"
#include "ui/busy_scope.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace zelvor {

class BarChart;
class BetListView;
class HistoryGrid;

class ExclusionWindow : public QWidget, public StoppableWindow {
    Q_OBJECT
public:
    ExclusionWindow(AppContext& context, ExclusionKind kind, QWidget* parent = nullptr);
    ~ExclusionWindow() override;

    ExclusionKind kind() const { return kind_; }
    void btngenClick();
    void btntongjiClick();
    void btntongji2Click();
    void btnsaveClick();
    void btnloadClick();
    void btnclearClick();
    void btncloseClick() { close(); }
    void optmodeClick();
    void chkhistorybiaoClick() { drawChart(); }

    void requestStop() override;
    bool isRunning() const override { return running_; }

    // The controls as they stand, as a run reads them.
    ExclusionInputs readInputs() const;
    ExclusionEngine& engine() { return *engine_; }
    // The source of every pass's view (the program generator unless replaced).
    void setViewSource(ViewSource* source) { source_ = source; }
    const ExclusionStatistics& statistics() const { return stats_; }
    BetListView* memcode() const { return memcode_; }

private:
    void buildControls();
    void standardStatistics();
    void variableStatistics();
    void showStatistics();
    void drawChart();
    void setCount(std::int64_t n);
    bool showList();
    QWidget* statisticsPanel();

    AppContext& context_;
    ExclusionKind kind_;
    LotteryParams lottery_;
    std::unique_ptr<ExclusionEngine> engine_;
    std::unique_ptr<RandomViewSource> randomSource_;
    ViewSource* source_ = nullptr;
    ExclusionStatistics stats_;
    bool running_ = false;
    bool stopPressed_ = false;

    // common
    QComboBox* comcurqi_ = nullptr;
    QRadioButton* optjushu_ = nullptr;
    QRadioButton* optcishu_ = nullptr;
    QLineEdit* edtjushu_ = nullptr;
    QLineEdit* edtcishu_ = nullptr;
    QPushButton* btngen_ = nullptr;
    QPushButton* btnsave_ = nullptr;
    QPushButton* btnload_ = nullptr;
    QPushButton* btnclear_ = nullptr;
    QPushButton* btnclose_ = nullptr;
    QLabel* lblcode_ = nullptr;
    BetListView* memcode_ = nullptr;
    QProgressBar* pb_ = nullptr;
    // statistics
    HistoryGrid* tabhistory_ = nullptr;
    BarChart* chthistory_ = nullptr;
    QCheckBox* chkhistorybiao_ = nullptr;
    QLineEdit* edtcurcode_ = nullptr;
    QPlainTextEdit* mem_ = nullptr;
    QPushButton* btntongji_ = nullptr;
    QPushButton* btntongji2_ = nullptr;
    QComboBox* comjieduannum_ = nullptr;
    // repeat
    QComboBox* comqishu_ = nullptr;
    QComboBox* comAC_ = nullptr;
    // sum, follow
    QComboBox* comhei1_ = nullptr;
    QComboBox* comhei2_ = nullptr;
    // skew
    QButtonGroup* optmode_ = nullptr;
    QCheckBox* chkda_ = nullptr;
    QCheckBox* chkxiao_ = nullptr;
    QLabel* chkdaCaption_ = nullptr;
    QLineEdit *edtdanum_ = nullptr, *edtdanum1_ = nullptr, *edtdanum2_ = nullptr;
    QLineEdit *edtxiaonum_ = nullptr, *edtxiaonum1_ = nullptr, *edtxiaonum2_ = nullptr;
    QLabel *lblda_ = nullptr, *lblxiao_ = nullptr;
    QLineEdit* edtyanxunum_ = nullptr;
    // follow
    QTabWidget* page_ = nullptr;
    QButtonGroup* opttype1_ = nullptr;
    QButtonGroup* opttype2_ = nullptr;
    QButtonGroup* opttype3_ = nullptr;
    QButtonGroup* opttype4_ = nullptr;
    QLineEdit* edthuishu_ = nullptr;
};

} // namespace zelvor
