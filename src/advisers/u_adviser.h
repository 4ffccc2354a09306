#pragma once
// The adviser windows: one frame (target issue, recommendation, history grid,
// memo, history chart and for two of them the hit-count chart) configured by
// a descriptor per adviser. Tfrmsep (最优间隔回补选号), Tfrmqingmi (最优亲密数字选号),
// Tfrmsibu (最优四步综合选号) and Tfrmganzhi (最优开奖干支选号) are the names users
// and tests see. Settings apply only through "历史统计" and "生成号码".
#include <QWidget>
#include <memory>

#include "advisers/advisers.h"
#include "ui/app_context.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace zelvor {

class BarChart;
class HistoryBars;
class HistoryGrid;

struct AdviserDescriptor {
    AdviserKind kind;
    const char* className;
    const char* caption;
    const char* chartTitle;
};

class Tfrmadviser : public QWidget {
    Q_OBJECT
public:
    Tfrmadviser(const AdviserDescriptor& descriptor, AppContext& context, QWidget* parent = nullptr);

    void btntongjiClick();
    void btngenClick();
    void chkhistorybiaoClick();
    void comcurqiChange();
    void optselClick();
    void btncloseClick() { close(); }

    const AdviserReplay& replay() const { return replay_; }

private:
    void buildControls();
    void HistoryStatistics();
    void drawHistoryChart();
    // Reads the settings boxes; throws Error with the message to show.
    void readSettings();

    AdviserDescriptor d_;
    AppContext& context_;
    LotteryParams lottery_;
    DrawHistory history_;
    std::vector<std::string> dates_;
    std::string weekdays_;
    AdviserReplay replay_;

    IntervalSettings interval_;
    IntimateSettings intimate_;
    CompositeSettings composite_;
    StemBranchSettings stemBranch_;

    QComboBox* comcurqi_ = nullptr;
    QLineEdit* edtcurcode_ = nullptr;
    HistoryGrid* tabhistory_ = nullptr;
    HistoryBars* chthistory_ = nullptr;
    QCheckBox* chkhistorybiao_ = nullptr;
    QPlainTextEdit* mem_ = nullptr;
    BarChart* chtcishu_ = nullptr;
    QPushButton* btntongji_ = nullptr;
    QPushButton* btngen_ = nullptr;
    QPushButton* btnclose_ = nullptr;
    // 5.1
    QComboBox* comqishu_ = nullptr;
    QComboBox* comcodenum_ = nullptr;
    // 5.2
    QGroupBox* optsel_ = nullptr;
    QRadioButton* optPositions_ = nullptr;
    QRadioButton* optOverall_ = nullptr;
    QLabel* label5_ = nullptr;
    QComboBox* comselnum_ = nullptr;
    QComboBox* comjieduanqi_ = nullptr;
    QTableWidget* tabcode_ = nullptr;
    // 5.3
    QComboBox* com_[4] = {};
    QLineEdit* edtcode_[4] = {};
    // 5.4
    QLineEdit* edtdate_ = nullptr;
    QLineEdit* edttiangan_ = nullptr;
    QLineEdit* edtdizhi_ = nullptr;
    QGroupBox* optadd_ = nullptr;
    QRadioButton* optExtra_ = nullptr;
};

class Tfrmsep : public Tfrmadviser {
    Q_OBJECT
public:
    Tfrmsep(AppContext& context, QWidget* parent = nullptr);
};

class Tfrmqingmi : public Tfrmadviser {
    Q_OBJECT
public:
    Tfrmqingmi(AppContext& context, QWidget* parent = nullptr);
};

class Tfrmsibu : public Tfrmadviser {
    Q_OBJECT
public:
    Tfrmsibu(AppContext& context, QWidget* parent = nullptr);
};

class Tfrmganzhi : public Tfrmadviser {
    Q_OBJECT
public:
    Tfrmganzhi(AppContext& context, QWidget* parent = nullptr);
};

} // namespace zelvor
