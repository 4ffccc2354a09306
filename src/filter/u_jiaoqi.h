#pragma once
// Tfrmjiaoqi ("多重大底交集"): imports several saved bet files and lists the
// combinations that stand in all of them (or all but a tolerated number),
// with the special numbers chosen, and saves the list.
#include <QStringList>
#include <QWidget>

#include "ui/app_context.h"
#include "ui/busy_scope.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zelvor {

class BetListView;

class Tfrmjiaoqi : public QWidget, public StoppableWindow {
    Q_OBJECT
public:
    Tfrmjiaoqi(AppContext& context, QWidget* parent = nullptr);

    void btndaoruClick();
    void btnjiaoqiClick();
    void btnsaveClick();
    void btnbaohaoClick(); // the cover of the list shown
    void btnclsClick();
    void btncloseClick() { close(); }
    void optteimaClick();
    void lstdadiDblClick(int row);

    void requestStop() override { stopRequested_ = true; }
    bool isRunning() const override { return running_; }

    // The imported files, full paths, in list order.
    const QStringList& files() const { return files_; }
    QListWidget* lstdadi() const { return lstdadi_; }
    BetListView* memdadi() const { return memdadi_; }
    QLabel* lbldadi() const { return lbldadi_; }
    QLineEdit* edtnum1() const { return edtnum1_; }
    QLineEdit* edtnum2() const { return edtnum2_; }
    QLineEdit* edtteima() const { return edtteima_; }
    QRadioButton* optteima(int i) const { return opt_[i]; }

private:
    AppContext& context_;
    QStringList files_;
    bool running_ = false;
    bool stopRequested_ = false;
    QListWidget* lstdadi_ = nullptr;
    BetListView* memdadi_ = nullptr;
    QLabel* lbldadi_ = nullptr;
    QLineEdit* edtnum1_ = nullptr;
    QLineEdit* edtnum2_ = nullptr;
    QButtonGroup* optGroup_ = nullptr;
    QRadioButton* opt_[4] = {};
    QLineEdit* edtteima_ = nullptr;
    QPushButton* btndaoru_ = nullptr;
    QPushButton* btnjiaoqi_ = nullptr;
    QPushButton* btnsave_ = nullptr;
    QPushButton* btncls_ = nullptr;
};

} // namespace zelvor
