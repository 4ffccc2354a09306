#pragma once
// Tfrmflash: the splash window shown at start-up for about five seconds (or
// until a click or key press).
#include <QDialog>

class QLabel;
class QTimer;

namespace zelvor {

class Tfrmflash : public QDialog {
    Q_OBJECT
public:
    explicit Tfrmflash(QWidget* parent = nullptr);

    void FormCreate();
    void Timer1Timer();
    // Files that could not be read at creation (reported once shown).
    QStringList missingFiles() const { return missing_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // Any key pressed while the splash is up closes it, though it never takes the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* Image1_ = nullptr;
    QLabel* Label1_ = nullptr;
    QLabel* lblshiyong_ = nullptr;
    QLabel* lblchuping_ = nullptr;
    QLabel* lblweb_ = nullptr;
    QLabel* lblqq_ = nullptr;
    QLabel* lblmail_ = nullptr;
    QLabel* lblphone_ = nullptr;
    QTimer* Timer1_ = nullptr;
    int ticks_ = 0;
    QStringList missing_;
};

} // namespace zelvor
