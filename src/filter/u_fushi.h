#pragma once
// Tfrmfushi ("自动复式搜索"): strikes out, pass after pass, the number the most
// overdue column of a fresh variable trend stands for, until the wanted count
// is left, and offers the rest as a compound bet.
#include <QWidget>
#include <functional>
#include <optional>

#include "data/trend_tables.h"
#include "ui/app_context.h"
#include "ui/busy_scope.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zelvor {

class Tfrmfushi : public QWidget, public StoppableWindow {
    Q_OBJECT
public:
    // Where each pass takes its view (window W and permutation) from; nullopt
    // ends the search as a stop does. Without one the program's generator draws them.
    using ViewSource = std::function<std::optional<VariableSettings>()>;

    Tfrmfushi(AppContext& context, QWidget* parent = nullptr);

    void btnsouClick();
    void btncopyClick();
    void setViewSource(ViewSource source) { views_ = std::move(source); }

    void requestStop() override { stopRequested_ = true; }
    bool isRunning() const override { return running_; }
    int passes() const { return passes_; }

    QLineEdit* edtnum() const { return edtnum_; }
    QCheckBox* chkyilou() const { return chkyilou_; }
    QLineEdit* edtyilouqishu() const { return edtyilouqishu_; }
    QPushButton* btnsou() const { return btnsou_; }
    QLineEdit* edtfushicode() const { return edtfushicode_; }

signals:
    // After every pass (tests watch the search through it).
    void passDone(int pass, int struck, int left);

private:
    void search();
    bool buildView();
    void backToStandard();

    AppContext& context_;
    ViewSource views_;
    bool running_ = false;
    bool stopRequested_ = false;
    int passes_ = 0;
    QLineEdit* edtnum_ = nullptr;
    QCheckBox* chkyilou_ = nullptr;
    QLineEdit* edtyilouqishu_ = nullptr;
    QPushButton* btnsou_ = nullptr;
    QLineEdit* edtfushicode_ = nullptr;
    QPushButton* btncopy_ = nullptr;
    QLineEdit* edtcopy_ = nullptr;
};

} // namespace zelvor
