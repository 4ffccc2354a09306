#include "filter/u_totalfilt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "filter/u_huice.h"
#include "ui/bet_list_view.h"
#include "ui/busy_scope.h"
#include "ui/cover_link.h"
#include "ui/list_save.h"
#include "ui/dialogs.h"
#include "ui/errors.h"
#include "ui/event_pump.h"
#include "ui/number_panels.h"

namespace zelvor {

namespace {

const QColor kChosenRed(255, 50, 50);
const QColor kChosenBlue(50, 50, 255);

struct RangeRowDescriptor {
    const char* check;
    const char* caption;
    const char* lower;
    const char* upper;
};

// In the order of RangeTest.
constexpr RangeRowDescriptor kRangeRows[RangeTestCount] = {
    {"chkdashu", "大数", "comdaxiao1", "comdaxiao2"},
    {"chkjishu", "奇数", "comjiou1", "comjiou2"},
    {"chkhei", "和值", "comhei1", "comhei2"},
    {"chkkuadu", "跨度", "comkuadu1", "comkuadu2"},
    {"chksandu", "散度：", "comsandu1", "comsandu2"},
    {"chkpiandu", "偏度", "compiandu1", "compiandu2"},
    {"chkac", "AC值", "comac1", "comac2"},
};

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLineEdit* smallEdit(const char* name, QWidget* parent, int digits = 3)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QString(digits, '0')) + 16);
    e->setAlignment(Qt::AlignRight);
    return e;
}

QString rangeText(const QComboBox* box) { return box->currentText().trimmed(); }

} // namespace

Tfrmtotalfilt::Tfrmtotalfilt(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), context_(context),
      lottery_(context.state.CurrentLottery()),
      filter_(std::make_shared<TotalFilter>(context.state.AllCombinations()))
{
    setObjectName("frmtotalfilt");
    setWindowTitle(QStringLiteral("总体过滤"));
    buildControls();
    FormCreate();
    // Room for a long list where the screen has it.
    resize(1100, 760);
}

void Tfrmtotalfilt::buildControls()
{
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(10);

    // ---- conditions and panels
    // The conditions keep the room they need; every pixel more goes to the list.
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    root->addLayout(left, 0);

    Label21_ = new QLabel(QStringLiteral("常规过滤："), this);
    Label21_->setObjectName("Label21");
    left->addWidget(Label21_);

    auto* metrics = new QGridLayout;
    metrics->setHorizontalSpacing(4);
    metrics->setVerticalSpacing(3);
    left->addLayout(metrics);
    for (int t = 0; t < RangeTestCount; ++t) {
        const RangeRowDescriptor& spec = kRangeRows[t];
        RangeRow& row = ranges_[static_cast<std::size_t>(t)];
        row.check = new QCheckBox(QString::fromUtf8(spec.caption), this);
        row.check->setObjectName(spec.check);
        row.lower = new QComboBox(this);
        row.upper = new QComboBox(this);
        row.lower->setObjectName(spec.lower);
        row.upper->setObjectName(spec.upper);
        for (QComboBox* box : {row.lower, row.upper}) {
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            box->setMinimumWidth(box->fontMetrics().horizontalAdvance("0000") + 40);
            box->setMaxVisibleItems(15);
        }
        // Two columns of metrics: big, odd, sum, span on the left.
        const int r = t % 4;
        const int c = (t / 4) * 5;
        metrics->addWidget(row.check, r, c);
        metrics->addWidget(row.lower, r, c + 1);
        metrics->addWidget(caption(QStringLiteral("到"), this), r, c + 2);
        metrics->addWidget(row.upper, r, c + 3);
    }
    metrics->setColumnMinimumWidth(4, 16);
    metrics->setColumnStretch(9, 1);

    auto* banker = new QHBoxLayout;
    banker->setSpacing(4);
    chkdanma_ = new QCheckBox(QStringLiteral("胆码"), this);
    chkdanma_->setObjectName("chkdanma");
    edtdanma_ = new QLineEdit(this);
    edtdanma_->setObjectName("edtdanma");
    edtnum1_ = smallEdit("edtnum1", this, 2);
    edtnum2_ = smallEdit("edtnum2", this, 2);
    banker->addWidget(chkdanma_);
    banker->addWidget(edtdanma_, 1);
    banker->addWidget(new QLabel(QStringLiteral("预计中"), this));
    banker->addWidget(edtnum1_);
    banker->addWidget(new QLabel(QStringLiteral("到"), this));
    banker->addWidget(edtnum2_);
    banker->addWidget(new QLabel(QStringLiteral("个"), this));
    left->addLayout(banker);

    auto* red = new QHBoxLayout;
    red->setSpacing(4);
    chkhongqiu_ = new QCheckBox(QStringLiteral("选择红球："), this);
    chkhongqiu_->setObjectName("chkhongqiu");
    edtzhong1_ = smallEdit("edtzhong1", this, 2);
    edtzhong2_ = smallEdit("edtzhong2", this, 2);
    btnsuiji1_ = new QPushButton(QStringLiteral("随机选择红球"), this);
    btnsuiji1_->setObjectName("btnsuiji1");
    edtsuiji1_ = smallEdit("edtsuiji1", this, 2);
    red->addWidget(chkhongqiu_);
    red->addWidget(new QLabel(QStringLiteral("中"), this));
    red->addWidget(edtzhong1_);
    red->addWidget(new QLabel(QStringLiteral("到"), this));
    red->addWidget(edtzhong2_);
    red->addStretch(1);
    red->addWidget(btnsuiji1_);
    red->addWidget(edtsuiji1_);
    red->addWidget(new QLabel(QStringLiteral("个"), this));
    left->addLayout(red);

    GroupBox2_ = new QGroupBox(this);
    GroupBox2_->setObjectName("GroupBox2");
    left->addWidget(GroupBox2_);

    auto* blue = new QHBoxLayout;
    blue->setSpacing(4);
    chklanqiu_ = new QCheckBox(QStringLiteral("选择蓝球："), this);
    chklanqiu_->setObjectName("chklanqiu");
    btnsuiji2_ = new QPushButton(QStringLiteral("随机选择蓝球"), this);
    btnsuiji2_->setObjectName("btnsuiji2");
    edtsuiji2_ = smallEdit("edtsuiji2", this, 2);
    blue->addWidget(chklanqiu_);
    blue->addStretch(1);
    blue->addWidget(btnsuiji2_);
    blue->addWidget(edtsuiji2_);
    blue->addWidget(new QLabel(QStringLiteral("个"), this));
    left->addLayout(blue);

    GroupBox3_ = new QGroupBox(this);
    GroupBox3_->setObjectName("GroupBox3");
    left->addWidget(GroupBox3_);
    left->addStretch(1);

    // ---- the list and the buttons
    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    root->addLayout(right, 1);
    lblcode_ = new QLabel(this);
    lblcode_->setObjectName("lblcode");
    right->addWidget(lblcode_);
    memcode_ = new BetListView(this);
    memcode_->setMinimumWidth(memcode_->fontMetrics().horizontalAdvance(QStringLiteral("00000000    00 00 00 00 00 00 00+00"))
                              + 40);
    right->addWidget(memcode_, 1);
    pb_ = new QProgressBar(this);
    pb_->setObjectName("pb");
    pb_->setTextVisible(false);
    pb_->setMaximumHeight(14);
    pb_->hide();
    right->addWidget(pb_);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(6);
    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        // A focused button takes Enter itself; elsewhere Enter means "过滤".
        b->setAutoDefault(true);
        return b;
    };
    btnfilt_ = button("btnfilt", QStringLiteral("过滤"));
    btnfilt_->setDefault(true);
    btnsave_ = button("btnsave", QStringLiteral("保存"));
    btnload_ = button("btnload", QStringLiteral("载入"));
    btnclear_ = button("btnclear", QStringLiteral("清空"));
    btnprint_ = button("btnprint", QStringLiteral("打印"));
    btnclose_ = button("btnclose", QStringLiteral("关闭"));
    btnbaohao_ = button("btnbaohao", QStringLiteral("保号缩水"));
    btnhuice_ = button("btnhuice", QStringLiteral("回测"));
    // "回测" stands beside "过滤": the same ranges, tried on the recent draws.
    auto* filtPair = new QHBoxLayout;
    filtPair->setSpacing(6);
    filtPair->addWidget(btnfilt_);
    filtPair->addWidget(btnhuice_);
    buttons->addLayout(filtPair, 0, 0);
    buttons->addWidget(btnsave_, 0, 1);
    buttons->addWidget(btnload_, 0, 2);
    buttons->addWidget(btnclear_, 1, 0);
    buttons->addWidget(btnprint_, 1, 1);
    buttons->addWidget(btnclose_, 1, 2);
    buttons->addWidget(btnbaohao_, 0, 3);
    right->addLayout(buttons);

    connect(chkhongqiu_, &QCheckBox::toggled, this, [this] { chkhongqiuClick(); });
    connect(btnsuiji1_, &QPushButton::clicked, this, [this] { btnsuiji1Click(); });
    connect(btnsuiji2_, &QPushButton::clicked, this, [this] { btnsuiji2Click(); });
    connect(btnfilt_, &QPushButton::clicked, this, [this] { btnfiltClick(); });
    connect(btnsave_, &QPushButton::clicked, this, [this] { btnsaveClick(); });
    connect(btnload_, &QPushButton::clicked, this, [this] { btnloadClick(); });
    connect(btnclear_, &QPushButton::clicked, this, [this] { btnclearClick(); });
    connect(btnprint_, &QPushButton::clicked, this, [this] { btnprintClick(); });
    connect(btnclose_, &QPushButton::clicked, this, [this] { btncloseClick(); });
    connect(btnbaohao_, &QPushButton::clicked, this, [this] { btnbaohaoClick(); });
    connect(btnhuice_, &QPushButton::clicked, this, [this] { btnhuiceClick(); });
}

void Tfrmtotalfilt::FormCreate()
{
    const int N = lottery_.numberRange;
    const int k = lottery_.pickCount;
    for (int t = 0; t < RangeTestCount; ++t) {
        QStringList items;
        for (const std::string& item : rangeListItems(static_cast<RangeTest>(t), N, k))
            items << QString::fromStdString(item);
        for (QComboBox* box : {ranges_[static_cast<std::size_t>(t)].lower, ranges_[static_cast<std::size_t>(t)].upper})
            box->addItems(items);
    }
    emptyRangeBoxes();
    edtnum1_->setText("1");
    edtnum2_->setText("1");

    redPanels_ = new NumberPanels(GroupBox2_, RedPanelLimit, 10, redPanelCount(lottery_), kChosenRed, "panred");
    bluePanels_ = new NumberPanels(GroupBox3_, BluePanelLimit, 10, bluePanelCount(lottery_), kChosenBlue, "panblue");
    connect(redPanels_, &NumberPanels::panelClicked, this, [this](int n) { redPanelClick(n); });
    connect(bluePanels_, &NumberPanels::panelClicked, this, [this](int n) { bluePanelClick(n); });

    chklanqiu_->setChecked(true);
    chklanqiu_->setEnabled(false);
    btnsuiji1_->setEnabled(false);
    edtsuiji1_->setText(QString::number(k));
    edtsuiji2_->setText(QString::number(lottery_.specialCount));
    edtzhong1_->setText(QString::number(k));
    edtzhong2_->setText(QString::number(k));
    setCount(-1);
    // Opened while the main window shows the variable trend: follow it.
    if (context_.state.TrendMode() == TrendMode::Variable)
        trendChanged(TrendMode::Variable);
    // StartFromAll is set by the filter's construction.
}

void Tfrmtotalfilt::setCount(std::int64_t lines)
{
    lblcode_->setText(lines < 0 ? QStringLiteral("过滤结果：") : QStringLiteral("过滤结果：%1注").arg(lines));
}

void Tfrmtotalfilt::emptyRangeBoxes()
{
    for (RangeRow& row : ranges_)
        for (QComboBox* box : {row.lower, row.upper}) {
            box->setCurrentIndex(-1);
            box->clearEditText();
        }
}

void Tfrmtotalfilt::uncheckConditions(bool banker)
{
    for (RangeRow& row : ranges_)
        row.check->setChecked(false);
    if (banker)
        chkdanma_->setChecked(false);
}

BusyScope Tfrmtotalfilt::busyScope()
{
    // Disabling "过滤" pushes the focus on to the next enabled button ("打印");
    // it comes back afterwards, so Enter filters again.
    return BusyScope(this, running_, {btnfilt_, btnsave_, btnload_, btnclear_, btnbaohao_, btnhuice_}, pb_, btnfilt_);
}

// ---------------------------------------------------------------- panels

void Tfrmtotalfilt::chkhongqiuClick() { btnsuiji1_->setEnabled(chkhongqiu_->isChecked()); }

void Tfrmtotalfilt::redPanelClick(int number)
{
    if (!chkhongqiu_->isChecked()) {
        showError(this, QStringLiteral("请先在《选择红球》框上打勾！"));
        return;
    }
    redPanels_->toggle(number);
    edtsuiji1_->setText(QString::number(redPanels_->chosenNumbers().size()));
}

void Tfrmtotalfilt::bluePanelClick(int number)
{
    if (!chklanqiu_->isChecked()) {
        showError(this, QStringLiteral("请先在《选择蓝球》框上打勾！"));
        return;
    }
    bluePanels_->toggle(number);
    edtsuiji2_->setText(QString::number(bluePanels_->chosenNumbers().size()));
}

void Tfrmtotalfilt::btnsuiji1Click()
{
    const RandomChoice choice =
        chooseRandomNumbers(edtsuiji1_->text().toStdString(), redPanels_->range(), context_.random);
    if (!choice.ok) {
        showError(this, QString::fromStdString(choice.message));
        return;
    }
    redPanels_->choose(choice.numbers);
}

void Tfrmtotalfilt::btnsuiji2Click()
{
    const RandomChoice choice =
        chooseRandomNumbers(edtsuiji2_->text().toStdString(), bluePanels_->range(), context_.random);
    if (!choice.ok) {
        showError(this, QString::fromStdString(choice.message));
        return;
    }
    bluePanels_->choose(choice.numbers);
}

// ---------------------------------------------------------------- run

TotalFilterInputs Tfrmtotalfilt::readInputs() const
{
    TotalFilterInputs in;
    for (int t = 0; t < RangeTestCount; ++t) {
        const RangeRow& row = ranges_[static_cast<std::size_t>(t)];
        in.ranges[static_cast<std::size_t>(t)] =
            rangeInput(static_cast<RangeTest>(t), lottery_.numberRange, lottery_.pickCount, row.check->isChecked(),
                       rangeText(row.lower).toStdString(), rangeText(row.upper).toStdString());
    }
    in.bankerTicked = chkdanma_->isChecked();
    in.bankerText = edtdanma_->text().toStdString();
    in.bankerHitsFrom = edtnum1_->text().trimmed().toStdString();
    in.bankerHitsTo = edtnum2_->text().trimmed().toStdString();
    in.redChoiceTicked = chkhongqiu_->isChecked();
    in.redHitsFrom = edtzhong1_->text().toStdString();
    in.redHitsTo = edtzhong2_->text().toStdString();
    in.chosenReds = redPanels_->chosenNumbers();
    in.chosenBlues = bluePanels_->chosenNumbers();
    return in;
}

bool Tfrmtotalfilt::showList()
{
    EventPump pump;
    const bool shown = memcode_->showListFile(ListFilePath(), progressFor(pump, pb_, [this] { return !stopRequested_; }));
    if (!shown && !memcode_->error().isEmpty())
        showGeneralError(memcode_->error());
    return shown;
}

void Tfrmtotalfilt::btnfiltClick()
{
    // A press while a list is being made is refused: the buttons are disabled
    // then, and a call from code returns here.
    if (running_)
        return;
    const TotalFilterInputs inputs = readInputs();
    const LotteryState& state = context_.state;
    const TotalFilterView view = state.TrendMode() == TrendMode::Variable ? variableView(lottery_, state.Variable())
                                                                          : standardView(lottery_, state.DrawHistory());
    stopRequested_ = false;
    EventPump pump;
    const ProgressFn progress = progressFor(pump, pb_, [this] { return !stopRequested_; });
    TotalFilterRun run;
    {
        BusyScope busy = busyScope();
        run = filter_->run(inputs, lottery_, view, fsPath(ListFilePath()), progress);
    }
    switch (run.status) {
    case TotalFilterStatus::UserError:
    case TotalFilterStatus::ConversionError:
        showError(this, QString::fromStdString(run.message));
        return;
    case TotalFilterStatus::NoSurvivors:
        memcode_->clear();
        showError(this, QString::fromStdString(run.message));
        return;
    case TotalFilterStatus::Stopped:
        return;
    case TotalFilterStatus::ListFailed:
        showGeneralError(QString::fromStdString(run.message));
        return;
    case TotalFilterStatus::Done:
        break;
    }
    if (stopRequested_)
        return;
    {
        BusyScope busy = busyScope();
        if (!showList())
            return;
    }
    setCount(run.lines);
    uncheckConditions(true);
}

// ---------------------------------------------------------------- files

void Tfrmtotalfilt::btnsaveClick()
{
    if (running_)
        return;
    const QString proposed = QString::fromStdString(
        defaultBetFileName(lottery_.name, context_.state.DrawHistory(), BetListOwner::TotalFilter));
    saveShownList(this, memcode_, proposed, running_, {btnfilt_, btnsave_, btnload_, btnclear_, btnbaohao_}, btnfilt_);
}

void Tfrmtotalfilt::btnloadClick()
{
    if (running_)
        return;
    const QString file = dialogs().openFileName(this, ShellFolderPath("Desktop"), QString(), textFileFilter());
    if (file.isEmpty())
        return;
    stopRequested_ = false;
    EventPump pump;
    BetFileLoadOptions options = betFileLoadOptions(BetFileReader::TotalFilter, lottery_, fsPath(ListFilePath()));
    options.progress = progressFor(pump, nullptr, [this] { return !stopRequested_; });
    BetFileLoad load;
    {
        BusyScope busy = busyScope();
        load = loadBetFile(fsPath(file), options);
    }
    // A file that does not load changes nothing in the window.
    if (!load.ok()) {
        if (load.status == BetFileLoad::Status::Failed)
            showGeneralError(QString::fromStdString(load.error));
        return;
    }
    if (stopRequested_)
        return;
    filter_->takeLoaded(load);
    chkhongqiu_->setChecked(true);
    chklanqiu_->setChecked(true);
    redPanels_->choose(load.chosenReds);
    bluePanels_->choose(load.chosenBlues);
    {
        BusyScope busy = busyScope();
        if (!showList())
            return;
    }
    setCount(load.linesShown);
    uncheckConditions(false);
    emptyRangeBoxes();
    edtsuiji1_->setText(QString::number(lottery_.pickCount));
    edtsuiji2_->setText(QString::number(lottery_.specialCount));
}

void Tfrmtotalfilt::btnbaohaoClick()
{
    if (!running_)
        coverShownList(context_);
}

void Tfrmtotalfilt::btnhuiceClick()
{
    if (running_)
        return;
    const auto read = readBacktestRanges(readInputs().ranges, lottery_);
    if (const auto* problem = std::get_if<TotalFilterProblem>(&read)) {
        showError(this, QString::fromStdString(problem->message));
        return;
    }
    const BacktestRanges& ranges = std::get<BacktestRanges>(read);
    if (!huice_)
        huice_ = new Tfrmhuice([this] { btnhuiceClick(); }, this);
    const Tfrmhuice::RecentWish wish = huice_->recentWish();
    if (!wish.problem.isEmpty()) {
        showError(huice_->isVisible() ? static_cast<QWidget*>(huice_) : this, wish.problem);
        return;
    }

    // The replay takes a few milliseconds; the kept share walks all
    // combinations with the filter's own pass, on its own table, so the
    // candidate set of the next "过滤" stays as it is.
    const DrawHistory& history = context_.state.DrawHistory();
    const BacktestReplay replay =
        replayBacktest(history, measureHistory(history, lottery_.numberRange), ranges, wish.recent);
    stopRequested_ = false;
    EventPump pump;
    KeptShare share;
    {
        BusyScope busy = busyScope();
        QPointer<Tfrmhuice> window = huice_;
        window->setBusy(true);
        share = keptCounter_.count(lottery_, history, ranges, progressFor(pump, pb_, [this] { return !stopRequested_; }));
        if (window)
            window->setBusy(false);
    }
    if (share.stopped || stopRequested_)
        return;
    huice_->showResult(history, ranges, replay, share);
    huice_->show();
    huice_->raise();
    huice_->activateWindow();
}

void Tfrmtotalfilt::btnclearClick()
{
    if (running_)
        return;
    uncheckConditions(true);
    emptyRangeBoxes();
    edtdanma_->clear();
    edtnum1_->setText("1");
    edtnum2_->setText("2");

    redPanels_->clearChoice();
    bluePanels_->clearChoice();
    memcode_->clear();
    setCount(-1);

    chkhongqiu_->setChecked(false);
    edtsuiji1_->setText(QString::number(lottery_.pickCount));
    edtsuiji2_->setText(QString::number(lottery_.specialCount));
    edtzhong1_->setText(QString::number(lottery_.pickCount));
    edtzhong2_->setText(QString::number(lottery_.pickCount));

    filter_->clear();

    // Back to the standard trend; the main window tells this window too.
    if (context_.main) {
        context_.main->switchToStandardTrend();
    } else {
        guarded([this] { context_.state.BuildStandardTrend(); });
        trendChanged(TrendMode::Standard);
    }
}

// ---------------------------------------------------------------- trend

void Tfrmtotalfilt::trendChanged(TrendMode mode)
{
    if (mode == TrendMode::Variable) {
        chkhongqiu_->setChecked(false);
        chkhongqiu_->setEnabled(false);
        GroupBox2_->setEnabled(false);
    } else {
        chkhongqiu_->setEnabled(true);
        GroupBox2_->setEnabled(true);
    }
}

// ---------------------------------------------------------------- window

void Tfrmtotalfilt::keyPressEvent(QKeyEvent* event)
{
    // "过滤" is the default button: Enter in any control that leaves it unused.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && btnfilt_->isEnabled()) {
        event->accept();
        btnfilt_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace zelvor
