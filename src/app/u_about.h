#pragma once
// Tfrmabout: the about window ("关于本程序").
#include <QDialog>

class QLabel;
class QPushButton;

namespace zelvor {

class Tfrmabout : public QDialog {
    Q_OBJECT
public:
    explicit Tfrmabout(QWidget* parent = nullptr);

    void FormCreate();
    void btncloseClick() { close(); }
    QStringList missingFiles() const { return missing_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* Image1_ = nullptr;
    QPushButton* btnclose_ = nullptr;
    QList<QLabel*> lines_;
    QStringList missing_;
};

// The picture held with the about window: coloured lottery balls.
QPixmap aboutPicture(int size);

} // namespace zelvor
