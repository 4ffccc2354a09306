#include "filter/u_juzheng.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "data/program_dir.h"
#include "ui/dialogs.h"
#include "ui/errors.h"

namespace zelvor {

// tabcode: "序号", then "号码1" ... "号码k"; one row per bet, numbers "%.2d".
class Tfrmjuzheng::BetModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void reset(const std::vector<std::vector<int>>* bets, int k)
    {
        beginResetModel();
        bets_ = bets;
        k_ = k;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !bets_ ? 0 : static_cast<int>(bets_->size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : k_ + 1; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || !bets_)
            return {};
        if (index.column() == 0)
            return index.row() + 1;
        const auto& bet = (*bets_)[static_cast<std::size_t>(index.row())];
        const int c = index.column() - 1;
        return c < static_cast<int>(bet.size()) ? QString::asprintf("%.2d", bet[static_cast<std::size_t>(c)]) : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        return section == 0 ? QStringLiteral("序号") : QStringLiteral("号码%1").arg(section);
    }

private:
    const std::vector<std::vector<int>>* bets_ = nullptr;
    int k_ = 6;
};

namespace {

QComboBox* countBox(const char* name, const QStringList& items, const QString& current, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setCurrentText(current);
    box->setMinimumContentsLength(4);
    return box;
}

QStringList numbers(int from, int to)
{
    QStringList items;
    for (int i = from; i <= to; ++i)
        items << QString::number(i);
    return items;
}

} // namespace

Tfrmjuzheng::Tfrmjuzheng(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), context_(context)
{
    setObjectName("frmjuzheng");
    setWindowTitle(QStringLiteral("旋转矩阵组号缩水"));

    // ---- settings
    commainnum_ = countBox("commainnum", numbers(1, 21), "10", this);
    comdannum_ = countBox("comdannum", numbers(0, 2), "0", this);
    comdannum_->setEnabled(false);
    comoknum_ = countBox("comoknum", numbers(1, 8), "6", this);
    combaonum_ = countBox("combaonum", numbers(1, 8), "5", this);
    QStringList pickItems;
    for (const std::string& item : wheelPickItems())
        pickItems << QString::fromStdString(item);
    comcainum_ = countBox("comcainum", pickItems, QStringLiteral("选6型"), this);
    edtjushu_ = new QLineEdit(this);
    edtjushu_->setObjectName("edtjushu");
    edtjushu_->setReadOnly(true);

    optjutype_ = new QGroupBox(QStringLiteral("矩阵类型："), this);
    optjutype_->setObjectName("optjutype");
    plain_ = new QRadioButton(QStringLiteral("平衡式"), optjutype_);
    banker_ = new QRadioButton(QStringLiteral("胆拖式"), optjutype_);
    plain_->setChecked(true);
    auto* typeLayout = new QHBoxLayout(optjutype_);
    typeLayout->addWidget(plain_);
    typeLayout->addWidget(banker_);

    auto* settings = new QGridLayout;
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    settings->addWidget(label(QStringLiteral("彩票类型：")), 0, 0);
    settings->addWidget(comcainum_, 0, 1);
    settings->addWidget(label(QStringLiteral("基本号码个数：")), 0, 2);
    settings->addWidget(commainnum_, 0, 3);
    settings->addWidget(label(QStringLiteral("胆号码个数：")), 0, 4);
    settings->addWidget(comdannum_, 0, 5);
    settings->addWidget(label(QStringLiteral("选对号码数：")), 1, 0);
    settings->addWidget(comoknum_, 1, 1);
    settings->addWidget(label(QStringLiteral("保中号码数：")), 1, 2);
    settings->addWidget(combaonum_, 1, 3);
    settings->addWidget(label(QStringLiteral("矩阵注数：")), 1, 4);
    settings->addWidget(edtjushu_, 1, 5);

    // ---- number boxes: 3 rows of 7
    auto* Label9 = new QLabel(QStringLiteral("请在下面框中输入你要包的号码："), this);
    Label9->setObjectName("Label9");
    auto* Label10 = new QLabel(QStringLiteral("白色代表基本号码，红色代表胆码"), this);
    Label10->setObjectName("Label10");
    auto* hint = new QLabel(QStringLiteral("胆拖式矩阵的保证只在胆码全部开出时成立。"), this);
    hint->setObjectName("lblhint");
    GroupBox1_ = new QGroupBox(this);
    GroupBox1_->setObjectName("GroupBox1");
    auto* boxGrid = new QGridLayout(GroupBox1_);
    for (int n = 0; n < WheelBoxCount; ++n) {
        auto* box = new QLineEdit(GroupBox1_);
        box->setObjectName(QStringLiteral("edtnum%1").arg(n + 1));
        box->setAlignment(Qt::AlignCenter);
        box->setMaxLength(3);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance("0000") + 16);
        box->installEventFilter(this);
        boxGrid->addWidget(box, n / 7, n % 7);
        boxes_[static_cast<std::size_t>(n)] = box;
    }

    // ---- result grid and buttons
    Label1_ = new QLabel(QStringLiteral("投注号码："), this);
    Label1_->setObjectName("Label1");
    tabcode_ = new QTableView(this);
    tabcode_->setObjectName("tabcode");
    model_ = new BetModel(tabcode_);
    tabcode_->setModel(model_);
    tabcode_->verticalHeader()->hide();
    tabcode_->verticalHeader()->setDefaultSectionSize(tabcode_->fontMetrics().height() + 6);
    tabcode_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tabcode_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    model_->reset(&bets_, 6);

    btngen_ = new QPushButton(QStringLiteral("开始缩水"), this);
    btngen_->setObjectName("btngen");
    btngen_->setDefault(true);
    btnsave_ = new QPushButton(QStringLiteral("保存"), this);
    btnsave_->setObjectName("btnsave");
    btnprint_ = new QPushButton(QStringLiteral("打印"), this);
    btnprint_->setObjectName("btnprint");
    btnprint_->setEnabled(false); // bound to nothing
    btnclose_ = new QPushButton(QStringLiteral("关闭"), this);
    btnclose_->setObjectName("btnclose");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {btngen_, btnsave_, btnprint_, btnclose_})
        buttons->addWidget(b);

    auto* left = new QVBoxLayout;
    left->addWidget(optjutype_);
    left->addLayout(settings);
    left->addWidget(Label9);
    left->addWidget(Label10);
    left->addWidget(GroupBox1_);
    left->addWidget(hint);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(Label1_);
    right->addWidget(tabcode_, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    auto* root = new QVBoxLayout(this);
    root->addLayout(top, 1);
    root->addLayout(buttons);

    connect(commainnum_, &QComboBox::currentTextChanged, this, [this] { commainnumChange(); });
    connect(comdannum_, &QComboBox::currentTextChanged, this, [this] { comdannumChange(); });
    connect(plain_, &QRadioButton::clicked, this, [this] { optjutypeClick(); });
    connect(banker_, &QRadioButton::clicked, this, [this] { optjutypeClick(); });
    connect(btngen_, &QPushButton::clicked, this, [this] { btngenClick(); });
    connect(btnsave_, &QPushButton::clicked, this, [this] { btnsaveClick(); });
    connect(btnclose_, &QPushButton::clicked, this, [this] { btncloseClick(); });
    applyBoxRule();
    resize(980, 560);
}

void Tfrmjuzheng::applyBoxRule()
{
    // Counts that are no whole number show nothing beyond them.
    bool ok = false;
    int M = commainnum_->currentText().trimmed().toInt(&ok);
    if (!ok)
        M = 0;
    int D = banker_->isChecked() ? comdannum_->currentText().trimmed().toInt(&ok) : 0;
    if (!ok)
        D = 0;
    for (int n = 0; n < WheelBoxCount; ++n) {
        QLineEdit* box = boxes_[static_cast<std::size_t>(n)];
        box->setStyleSheet(n < M ? QStringLiteral("background: white;") : QStringLiteral("background: red;"));
        box->setVisible(n < M + D);
    }
}

void Tfrmjuzheng::optjutypeClick()
{
    if (banker_->isChecked()) {
        commainnum_->setCurrentText("9");
        comdannum_->setCurrentText("1");
        comdannum_->setEnabled(true);
    } else {
        commainnum_->setCurrentText("10");
        comdannum_->setCurrentText("0");
        comdannum_->setEnabled(false);
    }
    applyBoxRule();
}

WheelInputs Tfrmjuzheng::readInputs() const
{
    WheelInputs in;
    in.bankerForm = banker_->isChecked();
    in.pickText = comcainum_->currentText().toStdString();
    in.basicText = commainnum_->currentText().toStdString();
    in.bankerText = comdannum_->currentText().toStdString();
    in.hitText = comoknum_->currentText().toStdString();
    in.keepText = combaonum_->currentText().toStdString();
    for (QLineEdit* box : boxes_)
        in.boxes.push_back(box->text().toStdString());
    return in;
}

void Tfrmjuzheng::btngenClick()
{
    WheelGeneration g = generateWheel(readInputs(), fsPath(ProgramFile(QStringLiteral("旋转矩阵"))));
    // A refusal leaves the grid, the count and the label as they were.
    if (!g.ok()) {
        showError(this, QString::fromStdString(g.message));
        return;
    }
    bets_ = std::move(g.bets);
    shownSettings_ = g.settings;
    model_->reset(&bets_, g.settings.pick);
    edtjushu_->setText(QString::number(bets_.size()));
    Label1_->setText(QStringLiteral("投注号码：共%1 注").arg(bets_.size()));
}

void Tfrmjuzheng::btnsaveClick()
{
    if (bets_.empty()) {
        showError(this, QStringLiteral("号码表格为空，无法保存！"));
        return;
    }
    // The name follows the settings as they stand (those of the shown bets
    // when they no longer read).
    WheelSettings settings = shownSettings_;
    if (readWheelSettings(readInputs(), settings))
        settings = shownSettings_;
    const QString file = dialogs().saveFileName(this, ProgramDir() + QStringLiteral("附属/"),
                                                QString::fromStdString(wheelSaveName(settings)),
                                                textFileFilter(), QStringLiteral("txt"));
    if (file.isEmpty())
        return;
    std::string text;
    text.reserve(bets_.size() * 24);
    for (const auto& bet : bets_)
        text += wheelBetLine(bet);
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())
        || !f.commit()) {
        showGeneralError(QStringLiteral("无法写入文件“%1”：%2").arg(file, f.errorString()));
        return;
    }
    showInformation(this, QStringLiteral("成功保存！"));
}

bool Tfrmjuzheng::eventFilter(QObject* watched, QEvent* event)
{
    // Entering or clicking a number box selects its whole text.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonRelease)
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
    return QWidget::eventFilter(watched, event);
}

} // namespace zelvor
