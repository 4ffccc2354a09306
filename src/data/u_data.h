#pragma once
// Tfrmdata: the draw editor ("彩票数据"): browse, add, correct and delete the
// draws of a lottery's draw table, and export its history.
#include <QDialog>
#include <QSqlDatabase>

class QAction;
class QLabel;
class QListWidget;
class QPushButton;
class QSqlTableModel;
class QTableView;
class QToolBar;

namespace zelvor {

class Tfrmdata : public QDialog {
    Q_OBJECT
public:
    explicit Tfrmdata(QWidget* parent = nullptr);
    ~Tfrmdata() override;

    void FormCreate();
    void lstcaipiaoClick();
    void btneditClick();
    void btnaddClick();
    void btnsaveClick();
    void btnextClick() { close(); }
    // Navigator operations.
    void moveTo(int row);
    void deleteCurrent();
    void editCurrent();
    // Checks and stores every pending change; false (with the message shown)
    // when a row is refused, which then stays in edit mode.
    bool postChanges();
    void cancelChanges();
    void refreshRows();

    bool adding() const { return adding_; }
    QSqlTableModel* model() const { return model_; }
    QString lottery() const { return lottery_; }

public slots:
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setAdding(bool on);
    void placeAddButton();
    void fitColumns();
    void fetchAll();

    QString connectionName_;
    QSqlDatabase db_;
    QString lottery_;
    bool adding_ = false;
    QListWidget* lstcaipiao_ = nullptr;
    QTableView* grdcaipiao_ = nullptr;
    QSqlTableModel* model_ = nullptr;
    QToolBar* dbv_caipiao_ = nullptr;
    QAction* navInsert_ = nullptr;
    QPushButton* btnadd_ = nullptr;
    QPushButton* btnedit_ = nullptr;
    QPushButton* btnsave_ = nullptr;
    QPushButton* btnext_ = nullptr;
};

} // namespace zelvor
