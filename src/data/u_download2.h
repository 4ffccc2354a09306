#pragma once
// Tfrmdownload2: the results download ("数据下载") that brings the draw table
// of 中国福彩双色球 up to date from the operator's results page.
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace zelvor {

class ResultsPageFetch;

class Tfrmdownload2 : public QDialog {
    Q_OBJECT
public:
    explicit Tfrmdownload2(QWidget* parent = nullptr);

    void FormCreate();
    void btndownClick();
    void btncloseClick();
    bool isRunning() const;

signals:
    // The download has ended (added draws, or a failure already reported).
    void downloadEnded();

private:
    void pageFetched(const QString& error);
    void showChoice(bool on);

    QLabel* lbltishi_ = nullptr;
    QComboBox* comdown_ = nullptr;
    QPushButton* btndown_ = nullptr;
    QPushButton* btnclose_ = nullptr;
    QLabel* lbltitle_ = nullptr;
    ResultsPageFetch* fetch_ = nullptr;
};

} // namespace zelvor
