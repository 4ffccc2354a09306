#pragma once
// Tfrmtozi ("投资模式分析"): random bets of a three-digit play type, the draws
// they would have hit, the interval statistics, the simulation of a chasing
// plan ("分析") and the search over three settings ("搜索") on a worker
// thread; save, load and print of bets and settings.
#include <QWidget>
#include <optional>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "invest/mode.h"
#include "ui/app_context.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPrinter;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace zelvor {

class Tfrmtozi : public QWidget {
    Q_OBJECT
public:
    Tfrmtozi(AppContext& context, QWidget* parent = nullptr);
    ~Tfrmtozi() override;

    void btnfiltClick();   // "随机生成"
    void btnclearClick();  // "清空"
    void btnalaClick();    // "分析"
    void btnyouhuaClick(); // "搜索" / "停止搜索"
    void btncloseClick() { close(); }
    void chksepmodeClick();
    void optzhuzhiClick();
    void mnucodesaveClick();
    void mnusetsaveClick();
    void mnubothsaveClick();
    void mnucodeloadClick();
    void mnusetloadClick();
    void mnubothloadClick();
    void mnucodeprintClick();
    void mnusetprintClick();

    // Printing on a printer already set up; false when it failed.
    bool printBetsTo(QPrinter& printer);
    bool printSettingsTo(QPrinter& printer);

    // The settings as the controls show them; throws Error for a bad edit.
    invest::ModeSettings readSettings() const;
    void showSettings(const invest::ModeSettings& s);
    const std::vector<invest::Bet>& bets() const { return bets_; }
    const invest::HitTable& hits() const { return hits_; }
    bool searching() const { return worker_.joinable(); }

signals:
    void searchFinished();

private:
    // The open dialog in 附属 with the proposed name, then load(path); a
    // refused file shows its message and gives nothing.
    template <class Loaded, class Load> std::optional<Loaded> loadChosen(const char* ending, Load load);
    void betsChanged();
    void showRun(const invest::RunResult& r, bool equalWidths);
    bool refuseWithoutBets();
    bool checkLottery();
    QString proposedName(const char* ending) const;
    QString printTitle(const char* what) const;
    void finishSearch(invest::SearchResult r);
    void setSearchControls(bool enabled);

    AppContext& context_;
    QButtonGroup* optzhuzhi_ = nullptr;
    QLineEdit* edtjushu_ = nullptr;
    QLineEdit* edtoutofsin_ = nullptr;
    QLineEdit* edtlirun_ = nullptr;
    QLineEdit* edtsinmax_ = nullptr;
    QLineEdit* edtallmax_ = nullptr;
    QLineEdit* edtallwin_ = nullptr;
    QComboBox* comtozisep_ = nullptr;
    QComboBox* comtozirep_ = nullptr;
    QComboBox* comsepindex_ = nullptr;
    QComboBox* comsepnum_ = nullptr;
    QCheckBox* chksepmode_ = nullptr;
    QCheckBox* chkyuji_ = nullptr;
    QGroupBox* grptozi_ = nullptr;
    QTableWidget* grdsep_ = nullptr;
    QTableWidget* grdcode_ = nullptr;
    QTableWidget* grdtozi_ = nullptr;
    QTableWidget* grdsepmode_ = nullptr;
    QPushButton* btnfilt_ = nullptr;
    QPushButton* btnclear_ = nullptr;
    QPushButton* btnala_ = nullptr;
    QPushButton* btnyouhua_ = nullptr;
    QPushButton* btnclose_ = nullptr;
    QToolButton* tlbtnsave_ = nullptr;
    QToolButton* tlbtnload_ = nullptr;
    QToolButton* tlbtnprint_ = nullptr;
    QProgressBar* pb_ = nullptr;

    std::vector<invest::Bet> bets_;
    invest::HitTable hits_;
    std::thread worker_;
    std::atomic<bool> stop_{false};
};

} // namespace zelvor
