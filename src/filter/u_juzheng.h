#pragma once
// Tfrmjuzheng ("旋转矩阵组号缩水"): turns the numbers the user types into
// bets through a stored wheel, shows them and saves them. Needs no open
// lottery.
#include <QWidget>
#include <array>
#include <vector>

#include "filter/wheel.h"
#include "ui/app_context.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace zelvor {

class Tfrmjuzheng : public QWidget {
    Q_OBJECT
public:
    Tfrmjuzheng(AppContext& context, QWidget* parent = nullptr);

    void commainnumChange() { applyBoxRule(); }
    void comdannumChange() { applyBoxRule(); }
    void optjutypeClick();
    void btngenClick();
    void btnsaveClick();
    void btncloseClick() { close(); }

    // The controls as they stand, as a generation reads them.
    WheelInputs readInputs() const;
    const std::vector<std::vector<int>>& bets() const { return bets_; }
    QLineEdit* numberBox(int n) const { return boxes_[static_cast<std::size_t>(n)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class BetModel;
    void applyBoxRule();
    void showBets();

    AppContext& context_;
    std::vector<std::vector<int>> bets_;
    WheelSettings shownSettings_; // the settings of the bets shown (for the save name)

    QLabel* Label1_ = nullptr;
    QComboBox* commainnum_ = nullptr;
    QComboBox* comdannum_ = nullptr;
    QGroupBox* optjutype_ = nullptr;
    QRadioButton* plain_ = nullptr;
    QRadioButton* banker_ = nullptr;
    QComboBox* comoknum_ = nullptr;
    QComboBox* combaonum_ = nullptr;
    QComboBox* comcainum_ = nullptr;
    QLineEdit* edtjushu_ = nullptr;
    QGroupBox* GroupBox1_ = nullptr;
    std::array<QLineEdit*, WheelBoxCount> boxes_{};
    QTableView* tabcode_ = nullptr;
    BetModel* model_ = nullptr;
    QPushButton* btngen_ = nullptr;
    QPushButton* btnsave_ = nullptr;
    QPushButton* btnprint_ = nullptr;
    QPushButton* btnclose_ = nullptr;
};

} // namespace zelvor
