#include "data/u_index.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "data/db_lottery.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "ui/dialogs.h"
#include "ui/errors.h"

namespace zelvor {

Tfrmindex::Tfrmindex(LotteryState& state, QWidget* parent) : QDialog(parent), state_(state)
{
    setObjectName("frmindex");
    setWindowTitle(QStringLiteral("彩票操作"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint
                   | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* label1 = new QLabel(QStringLiteral("选择彩票："), this);
    label1->setObjectName("Label1");
    lstcaipiao_ = new QListWidget(this);
    lstcaipiao_->setObjectName("lstcaipiao");
    lstcaipiao_->setMinimumWidth(170);
    left->addWidget(label1);
    left->addWidget(lstcaipiao_);
    root->addLayout(left);

    auto* right = new QGridLayout;
    auto addRow = [&](int row, const char* objName, const QString& text, QWidget* field) {
        auto* l = new QLabel(text, this);
        l->setObjectName(objName);
        right->addWidget(l, row, 0);
        right->addWidget(field, row, 1);
    };
    edtcainame_ = new QLineEdit(this);
    edtcainame_->setObjectName("edtcainame");
    addRow(0, "Label2", QStringLiteral("彩票名称："), edtcainame_);

    optcaitype_ = new QGroupBox(QStringLiteral("彩票类型："), this);
    optcaitype_->setObjectName("optcaitype");
    typeGroup_ = new QButtonGroup(this);
    auto* typeLayout = new QHBoxLayout(optcaitype_);
    auto* lotto = new QRadioButton(QStringLiteral("乐透型"), optcaitype_);
    auto* digit = new QRadioButton(QStringLiteral("数字型"), optcaitype_);
    typeGroup_->addButton(lotto, 0);
    typeGroup_->addButton(digit, 1);
    typeLayout->addWidget(lotto);
    typeLayout->addWidget(digit);
    right->addWidget(optcaitype_, 1, 0, 1, 2);

    edtcaisum_ = new QLineEdit(this);
    edtcaisum_->setObjectName("edtcaisum");
    addRow(2, "Label4", QStringLiteral("号码总数："), edtcaisum_);
    edtcaisel_ = new QLineEdit(this);
    edtcaisel_->setObjectName("edtcaisel");
    addRow(3, "Label5", QStringLiteral("选择号码数："), edtcaisel_);
    edtcaitime_ = new QLineEdit(this);
    edtcaitime_->setObjectName("edtcaitime");
    addRow(4, "Label6", QStringLiteral("开奖时间："), edtcaitime_);

    grpweek_ = new QGroupBox(QStringLiteral("开奖星期："), this);
    grpweek_->setObjectName("grpweek");
    right->addWidget(grpweek_, 5, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    btnadd_ = new QPushButton(QStringLiteral("添加彩票"), this);
    btnadd_->setObjectName("btnadd");
    btndel_ = new QPushButton(QStringLiteral("删除彩票"), this);
    btndel_->setObjectName("btndel");
    btnopen_ = new QPushButton(QStringLiteral("打开彩票"), this);
    btnopen_->setObjectName("btnopen");
    btnext_ = new QPushButton(QStringLiteral("退出"), this);
    btnext_->setObjectName("btnext");
    for (QPushButton* b : {btnadd_, btndel_, btnopen_, btnext_})
        buttons->addWidget(b);
    // Enter in the list opens the selected lottery; a focused button keeps
    // its own Enter.
    btnopen_->setDefault(true);
    right->addLayout(buttons, 6, 0, 1, 2);
    root->addLayout(right);

    btnadd_->setEnabled(false);
    btndel_->setEnabled(false);
    // The user's selection (click or keys) fills the fields, once per change. The
    // current row alone is not a choice: focus entering the list sets it too.
    lstcaipiao_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(lstcaipiao_, &QListWidget::itemSelectionChanged, this, [this] { lstcaipiaoClick(); });
    connect(lstcaipiao_, &QListWidget::itemDoubleClicked, this, [this] { btnopenClick(); });
    connect(btnopen_, &QPushButton::clicked, this, [this] { btnopenClick(); });
    connect(btnext_, &QPushButton::clicked, this, [this] { reject(); });

    FormCreate();
}

void Tfrmindex::FormCreate()
{
    auto* grid = new QGridLayout(grpweek_);
    for (int d = 1; d <= 7; ++d) {
        week_[d] = new QCheckBox(QString::number(d), grpweek_);
        week_[d]->setObjectName(QStringLiteral("chkweek%1").arg(d));
        grid->addWidget(week_[d], (d - 1) / 4, (d - 1) % 4); // 1-4 first row, 5-7 second
    }
    guarded([this] { refreshCatalogue(); });
    for (QWidget* w : std::initializer_list<QWidget*>{edtcainame_, optcaitype_, edtcaisum_, edtcaisel_, edtcaitime_, grpweek_})
        w->setEnabled(false);
}

void Tfrmindex::refreshCatalogue()
{
    lstcaipiao_->clear();
    lstcaipiao_->addItems(LotteryCatalogue(DatabaseFile()));
}

void Tfrmindex::lstcaipiaoClick()
{
    const QList<QListWidgetItem*> selected = lstcaipiao_->selectedItems();
    if (selected.isEmpty())
        return;
    QListWidgetItem* item = selected.first();
    const QString name = item->text();
    // Blank until the lottery's options are read: a lottery whose options
    // cannot be read shows none, not those of the one chosen before.
    clearOptions();
    guarded([&] {
        const LotteryOptions o = readLotteryOptions(DatabaseFile(), name);
        edtcainame_->setText(o.name);
        if (QAbstractButton* b = typeGroup_->button(o.kind))
            b->setChecked(true);
        edtcaisum_->setText(QString::number(o.numberRange));
        edtcaisel_->setText(QString::number(o.pickCount));
        edtcaitime_->setText(o.drawTime);
        for (int d = 1; d <= 7; ++d)
            week_[d]->setChecked(o.weekdays.contains(QChar('0' + d)));
    });
}

void Tfrmindex::clearOptions()
{
    edtcainame_->clear();
    typeGroup_->setExclusive(false);
    for (QAbstractButton* b : typeGroup_->buttons())
        b->setChecked(false);
    typeGroup_->setExclusive(true);
    edtcaisum_->clear();
    edtcaisel_->clear();
    edtcaitime_->clear();
    for (int d = 1; d <= 7; ++d)
        week_[d]->setChecked(false);
}

void Tfrmindex::btnopenClick()
{
    if (edtcainame_->text().isEmpty()) {
        showError(this, QStringLiteral("请选择彩票！"));
        return;
    }
    const QString name = edtcainame_->text();
    const int kind = typeGroup_->checkedId() < 0 ? 0 : typeGroup_->checkedId();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = guarded([&] { state_.OpenLottery(name, kind, DatabaseFile()); });
    QApplication::restoreOverrideCursor();
    if (!ok)
        return; // the dialog stays; the main window keeps its no-lottery state
    accept();
    emit lotteryOpened();
}

} // namespace zelvor
