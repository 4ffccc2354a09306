#pragma once
// Tfrmindex: the catalogue dialog ("彩票操作") that lists the lotteries of the
// database, shows the stored parameters of the selected one and opens it.
#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QButtonGroup;
class QLabel;

namespace zelvor {

class LotteryState;

class Tfrmindex : public QDialog {
    Q_OBJECT
public:
    explicit Tfrmindex(LotteryState& state, QWidget* parent = nullptr);

    void FormCreate();
    void refreshCatalogue();
    void lstcaipiaoClick();
    void btnopenClick();
    // Every option field blank, no type chosen: nothing is selected.
    void clearOptions();
    QCheckBox* weekdayBox(int weekday) const { return week_[weekday]; }

signals:
    void lotteryOpened();

private:
    LotteryState& state_;
    QListWidget* lstcaipiao_ = nullptr;
    QLineEdit* edtcainame_ = nullptr;
    QGroupBox* optcaitype_ = nullptr;
    QButtonGroup* typeGroup_ = nullptr;
    QLineEdit* edtcaisum_ = nullptr;
    QLineEdit* edtcaisel_ = nullptr;
    QLineEdit* edtcaitime_ = nullptr;
    QGroupBox* grpweek_ = nullptr;
    QCheckBox* week_[8] = {};
    QPushButton* btnadd_ = nullptr;
    QPushButton* btndel_ = nullptr;
    QPushButton* btnopen_ = nullptr;
    QPushButton* btnext_ = nullptr;
};

} // namespace zelvor
