#include "data/u_data.h"

#include <QAbstractItemDelegate>
#include <algorithm>
#include <QAtomicInt>
#include <QHash>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/error.h"
#include "data/db_lottery.h"
#include "data/db_maintenance.h"
#include "data/draw_entry.h"
#include "data/program_dir.h"
#include "ui/dialogs.h"
#include "ui/errors.h"

namespace zelvor {

namespace {

// The navigator's buttons: hint, object name, icon.
struct NavButton {
    const char* hint;
    const char* name;
    QStyle::StandardPixmap icon;
};
const NavButton kNavigator[] = {
    {"首条记录", "navfirst", QStyle::SP_MediaSkipBackward},
    {"前面一条", "navprior", QStyle::SP_MediaSeekBackward},
    {"下面一条", "navnext", QStyle::SP_MediaSeekForward},
    {"最末记录", "navlast", QStyle::SP_MediaSkipForward},
    {"添加记录", "navinsert", QStyle::SP_FileIcon},
    {"删除记录", "navdelete", QStyle::SP_TrashIcon},
    {"修改记录", "navedit", QStyle::SP_FileDialogDetailedView},
    {"保存修改", "navpost", QStyle::SP_DialogApplyButton},
    {"取消修改", "navcancel", QStyle::SP_DialogCancelButton},
    {"刷新记录", "navrefresh", QStyle::SP_BrowserReload},
};

} // namespace

Tfrmdata::Tfrmdata(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmdata");
    setWindowTitle(QStringLiteral("彩票数据"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    resize(760, 520);

    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* label1 = new QLabel(QStringLiteral("选择彩票："), this);
    label1->setObjectName("Label1");
    lstcaipiao_ = new QListWidget(this);
    lstcaipiao_->setObjectName("lstcaipiao");
    lstcaipiao_->setFixedWidth(150);
    left->addWidget(label1);
    left->addWidget(lstcaipiao_);
    root->addLayout(left);

    auto* right = new QVBoxLayout;
    auto* label2 = new QLabel(QStringLiteral("彩票数据："), this);
    label2->setObjectName("Label2");
    right->addWidget(label2);
    grdcaipiao_ = new QTableView(this);
    grdcaipiao_->setObjectName("grdcaipiao");
    grdcaipiao_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdcaipiao_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdcaipiao_->setSelectionMode(QAbstractItemView::SingleSelection);
    grdcaipiao_->verticalHeader()->setDefaultSectionSize(grdcaipiao_->fontMetrics().height() + 6);
    grdcaipiao_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdcaipiao_->verticalHeader()->hide();
    right->addWidget(grdcaipiao_, 1);

    auto* bottom = new QHBoxLayout;
    dbv_caipiao_ = new QToolBar(this);
    dbv_caipiao_->setObjectName("dbv_caipiao");
    dbv_caipiao_->setIconSize(QSize(16, 16));
    QList<QAction*> nav;
    for (const NavButton& b : kNavigator) {
        QAction* a = dbv_caipiao_->addAction(style()->standardIcon(b.icon), QString::fromUtf8(b.hint));
        a->setObjectName(b.name);
        a->setToolTip(QString::fromUtf8(b.hint));
        nav << a;
    }
    navInsert_ = nav[4];
    connect(nav[0], &QAction::triggered, this, [this] { moveTo(0); });
    connect(nav[1], &QAction::triggered, this, [this] { moveTo(grdcaipiao_->currentIndex().row() - 1); });
    connect(nav[2], &QAction::triggered, this, [this] { moveTo(grdcaipiao_->currentIndex().row() + 1); });
    connect(nav[3], &QAction::triggered, this, [this] {
        fetchAll();
        moveTo(model_ ? model_->rowCount() - 1 : 0);
    });
    connect(nav[4], &QAction::triggered, this, [this] { btnaddClick(); });
    connect(nav[5], &QAction::triggered, this, [this] { deleteCurrent(); });
    connect(nav[6], &QAction::triggered, this, [this] { editCurrent(); });
    connect(nav[7], &QAction::triggered, this, [this] { postChanges(); });
    connect(nav[8], &QAction::triggered, this, [this] { cancelChanges(); });
    connect(nav[9], &QAction::triggered, this, [this] { refreshRows(); });
    dbv_caipiao_->setEnabled(false);
    bottom->addWidget(dbv_caipiao_);

    // "+" lies over the navigator's insert button, so a new draw always goes
    // after the last row.
    btnadd_ = new QPushButton("+", dbv_caipiao_);
    btnadd_->setObjectName("btnadd");
    btnadd_->setToolTip(QStringLiteral("添加记录"));
    btnadd_->setEnabled(false);
    connect(btnadd_, &QPushButton::clicked, this, [this] { btnaddClick(); });

    bottom->addStretch(1);
    btnedit_ = new QPushButton(QStringLiteral("开始添加"), this);
    btnedit_->setObjectName("btnedit");
    btnedit_->setEnabled(false);
    btnsave_ = new QPushButton(QStringLiteral("导出"), this);
    btnsave_->setObjectName("btnsave");
    btnext_ = new QPushButton(QStringLiteral("关闭"), this);
    btnext_->setObjectName("btnext");
    for (QPushButton* b : {btnedit_, btnsave_, btnext_}) {
        b->setAutoDefault(false);
        bottom->addWidget(b);
    }
    right->addLayout(bottom);
    root->addLayout(right, 1);

    connect(lstcaipiao_, &QListWidget::itemClicked, this, [this] { guarded([this] { lstcaipiaoClick(); }); });
    connect(btnedit_, &QPushButton::clicked, this, [this] { guarded([this] { btneditClick(); }); });
    connect(btnsave_, &QPushButton::clicked, this, [this] { btnsaveClick(); });
    connect(btnext_, &QPushButton::clicked, this, [this] { btnextClick(); });

    guarded([this] { FormCreate(); });
}

Tfrmdata::~Tfrmdata()
{
    delete model_;
    model_ = nullptr;
    db_.close();
    db_ = QSqlDatabase();
    if (!connectionName_.isEmpty())
        QSqlDatabase::removeDatabase(connectionName_);
}

void Tfrmdata::FormCreate()
{
    static QAtomicInt counter;
    connectionName_ = QStringLiteral("zelvor_editor_%1").arg(counter.fetchAndAddRelaxed(1));
    db_ = QSqlDatabase::addDatabase("QSQLITE", connectionName_);
    openDatabaseFile(db_, DatabaseFile());
    lstcaipiao_->clear();
    lstcaipiao_->addItems(LotteryCatalogue(db_));
}

void Tfrmdata::lstcaipiaoClick()
{
    QListWidgetItem* item = lstcaipiao_->currentItem();
    if (!item || adding_)
        return;
    const QString name = item->text();
    requireCatalogued(db_, name);
    auto* model = new QSqlTableModel(this, db_);
    model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    model->setTable(drawTableName(name));
    model->setSort(0, Qt::AscendingOrder);
    if (!model->select()) {
        const QString text = model->lastError().text();
        delete model;
        throw Error(QStringLiteral("无法读取%1：%2").arg(drawTableName(name), text).toStdString());
    }
    grdcaipiao_->setModel(model);
    delete model_;
    model_ = model;
    lottery_ = name;
    fitColumns();
    fetchAll();
    moveTo(model_->rowCount() - 1);
    btnedit_->setEnabled(true);
}

void Tfrmdata::fetchAll()
{
    if (!model_)
        return;
    while (model_->canFetchMore())
        model_->fetchMore();
}

void Tfrmdata::fitColumns()
{
    if (!model_)
        return;
    const int columns = model_->columnCount();
    if (columns < 2)
        return;
    // The issue column is 70 pixels, the date column holds a full date, and
    // the number columns share what is left of the grid.
    const QFontMetrics fm = grdcaipiao_->fontMetrics();
    const int dateWidth = fm.horizontalAdvance(QStringLiteral("2026-12-31")) + 16;
    const int numbers = columns - 2;
    const int left = grdcaipiao_->viewport()->width() - 70 - dateWidth - 10;
    const int numberWidth = numbers > 0 ? std::max(left / numbers, fm.horizontalAdvance(QStringLiteral("00")) + 14) : 0;
    grdcaipiao_->setColumnWidth(0, 70);
    for (int c = 1; c < columns - 1; ++c)
        grdcaipiao_->setColumnWidth(c, numberWidth);
    grdcaipiao_->setColumnWidth(columns - 1, dateWidth);
}

void Tfrmdata::moveTo(int row)
{
    if (!model_ || model_->rowCount() == 0)
        return;
    row = std::clamp(row, 0, model_->rowCount() - 1);
    const int column = std::max(grdcaipiao_->currentIndex().column(), 0);
    grdcaipiao_->setCurrentIndex(model_->index(row, column));
    grdcaipiao_->scrollTo(model_->index(row, column));
}

void Tfrmdata::setAdding(bool on)
{
    adding_ = on;
    grdcaipiao_->setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                          | QAbstractItemView::AnyKeyPressed
                                    : QAbstractItemView::NoEditTriggers);
    btnext_->setEnabled(!on);
    dbv_caipiao_->setEnabled(on);
    btnadd_->setEnabled(on);
    btnedit_->setText(on ? QStringLiteral("完成添加") : QStringLiteral("开始添加"));
    lstcaipiao_->setEnabled(!on);
}

void Tfrmdata::btneditClick()
{
    if (!model_)
        return;
    if (!adding_) {
        setAdding(true);
        editCurrent();
        return;
    }
    if (!postChanges())
        return;
    setAdding(false);
}

void Tfrmdata::editCurrent()
{
    if (!model_ || !adding_)
        return;
    QModelIndex at = grdcaipiao_->currentIndex();
    if (!at.isValid() && model_->rowCount() > 0)
        at = model_->index(model_->rowCount() - 1, 0);
    if (at.isValid()) {
        grdcaipiao_->setCurrentIndex(at);
        grdcaipiao_->edit(at);
    }
}

void Tfrmdata::btnaddClick()
{
    if (!model_ || !adding_ || !postChanges())
        return;
    fetchAll();
    const int row = model_->rowCount();
    model_->insertRow(row);
    const QModelIndex at = model_->index(row, 0);
    grdcaipiao_->setCurrentIndex(at);
    grdcaipiao_->scrollTo(at);
    grdcaipiao_->edit(at);
}

bool Tfrmdata::postChanges()
{
    if (!model_)
        return true;
    // The text of an open cell editor reaches the model first.
    const QModelIndex current = grdcaipiao_->currentIndex();
    if (QWidget* editor = current.isValid() ? grdcaipiao_->indexWidget(current) : nullptr)
        grdcaipiao_->itemDelegateForIndex(current)->setModelData(editor, model_, current);
    if (!model_->isDirty())
        return true;
    try {
        fetchAll();
        const LotteryParams params = catalogueLotteryParams(db_, lottery_);
        const int columns = model_->columnCount();
        const int numbers = params.pickCount + params.specialCount;
        if (columns != numbers + 2)
            throw Error(QStringLiteral("%1的列数与彩票参数不符").arg(drawTableName(lottery_)).toStdString());
        QHash<QString, int> issueRows;
        for (int r = 0; r < model_->rowCount(); ++r)
            issueRows[model_->data(model_->index(r, 0)).toString().trimmed()] += 1;
        for (int r = 0; r < model_->rowCount(); ++r) {
            bool dirty = false;
            for (int c = 0; c < columns && !dirty; ++c)
                dirty = model_->isDirty(model_->index(r, c));
            if (!dirty)
                continue;
            std::vector<std::string> texts;
            for (int c = 1; c <= numbers; ++c)
                texts.push_back(model_->data(model_->index(r, c)).toString().toStdString());
            const QString issueText = model_->data(model_->index(r, 0)).toString();
            CheckedDraw d;
            try {
                d = checkDrawEntry(issueText.toStdString(), texts,
                                   model_->data(model_->index(r, columns - 1)).toString().toStdString(), params);
                if (issueRows.value(QString::fromStdString(d.issue)) > 1)
                    throw Error("期号“" + d.issue + "”已经存在");
            } catch (const Error&) {
                moveTo(r);
                throw;
            }
            model_->setData(model_->index(r, 0), QString::fromStdString(d.issue));
            for (int c = 1; c <= numbers; ++c)
                model_->setData(model_->index(r, c), d.numbers[static_cast<std::size_t>(c - 1)]);
            model_->setData(model_->index(r, columns - 1), QString::fromStdString(d.date));
        }
        if (!model_->submitAll())
            throw Error(QStringLiteral("无法保存：%1").arg(model_->lastError().text()).toStdString());
    } catch (const Error& e) {
        showError(this, QString::fromStdString(e.what()));
        editCurrent();
        return false;
    }
    fetchAll();
    return true;
}

void Tfrmdata::deleteCurrent()
{
    if (!model_ || !adding_)
        return;
    const QModelIndex at = grdcaipiao_->currentIndex();
    if (!at.isValid())
        return;
    const int row = at.row();
    const QString issue = model_->data(model_->index(row, 0)).toString().trimmed();
    if (!askConfirm(this, QStringLiteral("删除第 %1 期？").arg(issue)))
        return;
    // A row not stored yet is only dropped; a stored one is deleted at once,
    // with nothing else pending.
    if (model_->isDirty() && model_->headerData(row, Qt::Vertical).toString() == QStringLiteral("*")) {
        model_->revertRow(row);
        return;
    }
    if (!postChanges())
        return;
    model_->removeRow(row);
    if (!model_->submitAll()) {
        const QString text = model_->lastError().text();
        model_->revertAll();
        showError(this, QStringLiteral("无法删除第 %1 期：%2").arg(issue, text));
        return;
    }
    fetchAll();
    moveTo(row);
}

void Tfrmdata::cancelChanges()
{
    if (model_)
        model_->revertAll();
}

void Tfrmdata::refreshRows()
{
    if (!model_)
        return;
    const int row = grdcaipiao_->currentIndex().row();
    model_->revertAll();
    model_->select();
    fetchAll();
    moveTo(row);
}

void Tfrmdata::btnsaveClick()
{
    QListWidgetItem* item = lstcaipiao_->currentItem();
    if (!item || !item->isSelected()) {
        showError(this, QStringLiteral("请选择要导出的彩票！"));
        return;
    }
    const QString name = item->text();
    const QString folder = ProgramDir() + QStringLiteral("附属/");
    const QString file =
        dialogs().saveFileName(this, folder, folder + name + QStringLiteral("历史号码.txt"), textFileFilter(), "txt");
    if (file.isEmpty())
        return;
    if (guarded([&] { exportHistoryFile(DatabaseFile(), name, file); }))
        showInformation(this, QStringLiteral("成功保存！"));
}

void Tfrmdata::reject()
{
    if (adding_) {
        showWarning(this, QStringLiteral("请单击《完成添加》按钮保存添加"));
        return;
    }
    QDialog::reject();
}

void Tfrmdata::placeAddButton()
{
    if (QWidget* under = dbv_caipiao_->widgetForAction(navInsert_)) {
        btnadd_->setGeometry(under->geometry());
        btnadd_->raise();
    }
}

void Tfrmdata::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeAddButton();
    fitColumns();
}

void Tfrmdata::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    placeAddButton();
}

} // namespace zelvor
