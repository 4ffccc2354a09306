#include "filter/exclusion_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include <QPointer>
#include <climits>

#include "common/error.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "ui/bar_chart.h"
#include "ui/bet_list_view.h"
#include "ui/cover_link.h"
#include "ui/dialogs.h"
#include "ui/errors.h"
#include "ui/event_pump.h"
#include "ui/history_grid.h"
#include "ui/list_save.h"

namespace zelvor {

namespace {

const char* caption(ExclusionKind kind)
{
    switch (kind) {
    case ExclusionKind::Repeat: return "无穷重码排除选号";
    case ExclusionKind::Sum: return "无穷和值排除选号";
    case ExclusionKind::Skew: return "无穷偏态排除选号";
    case ExclusionKind::Follow: return "无穷历史跟随排除选号";
    }
    return "";
}

BetListOwner owner(ExclusionKind kind)
{
    switch (kind) {
    case ExclusionKind::Repeat: return BetListOwner::RepeatExclusion;
    case ExclusionKind::Sum: return BetListOwner::SumExclusion;
    case ExclusionKind::Skew: return BetListOwner::SkewExclusion;
    case ExclusionKind::Follow: return BetListOwner::FollowExclusion;
    }
    return BetListOwner::RepeatExclusion;
}

QLineEdit* edit(const char* name, const QString& text, QWidget* parent, int width = 48)
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setFixedWidth(width);
    return e;
}

QLabel* label(const char* name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    if (name)
        l->setObjectName(name);
    return l;
}

QComboBox* combo(const char* name, const QStringList& items, int current, QWidget* parent, bool editable = true)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(editable);
    c->addItems(items);
    c->setCurrentIndex(current);
    return c;
}

QStringList range(int from, int to)
{
    QStringList l;
    for (int i = from; i <= to; ++i)
        l << QString::number(i);
    return l;
}

// A radio group: a titled box of buttons, the first `chosen`.
QButtonGroup* radioGroup(const char* name, const QStringList& items, int chosen, QWidget* parent, QLayout* into,
                         bool twoColumns = false)
{
    auto* box = new QGroupBox(parent);
    box->setObjectName(name);
    auto* group = new QButtonGroup(box);
    group->setObjectName(QString(name) + "Buttons");
    QGridLayout* l = new QGridLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], box);
        b->setObjectName(QString(name) + QString::number(i));
        group->addButton(b, i);
        if (twoColumns)
            l->addWidget(b, 0, i);
        else
            l->addWidget(b, i, 0);
        b->setChecked(i == chosen);
    }
    into->addWidget(box);
    return group;
}

} // namespace

ExclusionWindow::ExclusionWindow(AppContext& context, ExclusionKind kind, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), context_(context), kind_(kind),
      lottery_(context.state.CurrentLottery()),
      engine_(std::make_unique<ExclusionEngine>(lottery_, context.state.DrawHistory())),
      randomSource_(std::make_unique<RandomViewSource>(context.random))
{
    source_ = randomSource_.get();
    setWindowTitle(QString::fromUtf8(caption(kind)));
    buildControls();
    // FormCreate: StartFromAll is set by the engine; the statistics as drawn.
    if (kind_ != ExclusionKind::Skew) {
        standardStatistics();
        drawChart();
    }
    resize(kind_ == ExclusionKind::Skew ? 560 : 1100, 720);
}

ExclusionWindow::~ExclusionWindow() = default;

QWidget* ExclusionWindow::statisticsPanel()
{
    auto* panel = new QWidget(this);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);
    tabhistory_ = new HistoryGrid(panel);
    tabhistory_->setObjectName("tabhistory");
    if (kind_ != ExclusionKind::Follow) {
        v->addWidget(label("Label1", QStringLiteral("历史中奖："), panel));
        v->addWidget(tabhistory_, 3);
    }
    chthistory_ = new BarChart(panel);
    chthistory_->setObjectName("chthistory");
    chthistory_->setTitle(kind_ == ExclusionKind::Repeat ? QStringLiteral("历史重码图表")
                          : kind_ == ExclusionKind::Sum  ? QStringLiteral("历史和值图表")
                                                         : QStringLiteral("历史跟随图表"));
    chthistory_->setMinimumHeight(160);
    v->addWidget(chthistory_, 2);
    return panel;
}

void ExclusionWindow::buildControls()
{
    const int D = context_.state.DrawHistory().size();
    const int k = lottery_.pickCount;
    const int N = lottery_.numberRange;
    const bool follow = kind_ == ExclusionKind::Follow;
    auto* outer = new QHBoxLayout(this);

    // Left: statistics (repeat, sum, follow).
    if (kind_ != ExclusionKind::Skew)
        outer->addWidget(statisticsPanel(), 3);

    // Right: settings and the list.
    auto* right = new QVBoxLayout;
    outer->addLayout(right, 2);
    auto* settings = new QGridLayout;
    right->addLayout(settings);
    int row = 0;

    if (kind_ != ExclusionKind::Skew) {
        auto* g1 = new QGroupBox(this);
        g1->setObjectName("GroupBox1");
        auto* g1l = new QHBoxLayout(g1);
        chkhistorybiao_ = new QCheckBox(QStringLiteral("显示标注"), g1);
        chkhistorybiao_->setObjectName("chkhistorybiao");
        g1l->addWidget(chkhistorybiao_);
        settings->addWidget(g1, row++, 0, 1, 4);
        if (!follow)
            connect(chkhistorybiao_, &QCheckBox::clicked, this, [this] { chkhistorybiaoClick(); });
    }
    if (kind_ == ExclusionKind::Repeat) {
        settings->addWidget(label("Label3", QStringLiteral("统计汇总："), this), row, 0);
        edtcurcode_ = new QLineEdit(this);
        edtcurcode_->setObjectName("edtcurcode");
        settings->addWidget(edtcurcode_, row++, 1, 1, 3);
    } else if (kind_ == ExclusionKind::Sum) {
        settings->addWidget(label("Label3", QStringLiteral("统计汇总："), this), row, 0);
        mem_ = new QPlainTextEdit(this);
        mem_->setObjectName("mem");
        mem_->setMaximumHeight(60);
        settings->addWidget(mem_, row++, 1, 1, 3);
    }
    if (kind_ == ExclusionKind::Repeat || kind_ == ExclusionKind::Sum) {
        btntongji_ = new QPushButton(QStringLiteral("常规统计"), this);
        btntongji_->setObjectName("btntongji");
        btntongji2_ = new QPushButton(QStringLiteral("变幻统计"), this);
        btntongji2_->setObjectName("btntongji2");
        settings->addWidget(btntongji_, row, 0, 1, 2);
        settings->addWidget(btntongji2_, row++, 2, 1, 2);
        connect(btntongji_, &QPushButton::clicked, this, [this] { btntongjiClick(); });
        connect(btntongji2_, &QPushButton::clicked, this, [this] { btntongji2Click(); });
    }
    if (follow) {
        auto* modes = new QHBoxLayout;
        optmode_ = radioGroup("optmode", {QStringLiteral("常规"), QStringLiteral("变幻")}, 1, this, modes);
        opttype1_ = radioGroup("opttype1", {QStringLiteral("排名模式"), QStringLiteral("排列模式")}, 0, this, modes);
        opttype2_ = radioGroup("opttype2", {QStringLiteral("次数模式"), QStringLiteral("间隔模式")}, 0, this, modes);
        auto* modes2 = new QHBoxLayout;
        opttype3_ = radioGroup("opttype3", {QStringLiteral("固定阶段"), QStringLiteral("随机阶段")}, 0, this, modes2);
        opttype4_ =
            radioGroup("opttype4", {QStringLiteral("有限阶段期数"), QStringLiteral("最大阶段期数")}, 0, this, modes2);
        settings->addLayout(modes, row++, 0, 1, 4);
        settings->addLayout(modes2, row++, 0, 1, 4);
        connect(optmode_, &QButtonGroup::idClicked, this, [this] { optmodeClick(); });
        btntongji_ = new QPushButton(QStringLiteral("变幻统计"), this);
        btntongji_->setObjectName("btntongji");
        settings->addWidget(btntongji_, row++, 0, 1, 2);
        connect(btntongji_, &QPushButton::clicked, this, [this] { btntongjiClick(); });
    }
    if (kind_ == ExclusionKind::Skew) {
        auto* modes = new QHBoxLayout;
        optmode_ = radioGroup("optmode", {QStringLiteral("大小模式"), QStringLiteral("奇偶模式")}, 0, this, modes, true);
        settings->addLayout(modes, row++, 0, 1, 4);
        connect(optmode_, &QButtonGroup::idClicked, this, [this] { optmodeClick(); });
        auto* g1 = new QGroupBox(this);
        g1->setObjectName("GroupBox1");
        auto* g = new QGridLayout(g1);
        chkda_ = new QCheckBox(QStringLiteral("大数个数>="), g1);
        chkda_->setObjectName("chkda");
        edtdanum_ = edit("edtdanum", QString::number(k - 1), g1, 36);
        lblda_ = label("lblda", QStringLiteral("时本期大数个数"), g1);
        edtdanum1_ = edit("edtdanum1", "0", g1, 36);
        edtdanum2_ = edit("edtdanum2", QString::number(k - 1), g1, 36);
        chkxiao_ = new QCheckBox(QStringLiteral("大数个数<="), g1);
        chkxiao_->setObjectName("chkxiao");
        edtxiaonum_ = edit("edtxiaonum", "1", g1, 36);
        lblxiao_ = label("lblxiao", QStringLiteral("时本期大数个数"), g1);
        edtxiaonum1_ = edit("edtxiaonum1", "1", g1, 36);
        edtxiaonum2_ = edit("edtxiaonum2", QString::number(k), g1, 36);
        QWidget* r1[] = {chkda_, edtdanum_, lblda_, edtdanum1_, label(nullptr, QStringLiteral("到"), g1), edtdanum2_};
        QWidget* r2[] = {chkxiao_, edtxiaonum_, lblxiao_, edtxiaonum1_, label(nullptr, QStringLiteral("到"), g1),
                         edtxiaonum2_};
        for (int c = 0; c < 6; ++c) {
            g->addWidget(r1[c], 0, c);
            g->addWidget(r2[c], 1, c);
        }
        settings->addWidget(g1, row++, 0, 1, 4);
    }

    settings->addWidget(label("Label2", QStringLiteral("目前投注期："), this), row, 0);
    QStringList issues;
    const DrawHistory& h = context_.state.DrawHistory();
    for (int u = 0; u < D; ++u)
        issues << QString::number(h.issue(u));
    issues << QString::number(h.nextIssue());
    comcurqi_ = combo("comcurqi", issues, D, this, false);
    settings->addWidget(comcurqi_, row++, 1, 1, 3);

    if (kind_ == ExclusionKind::Repeat || kind_ == ExclusionKind::Sum || kind_ == ExclusionKind::Skew) {
        auto* g3 = kind_ == ExclusionKind::Skew ? new QGroupBox(this) : nullptr;
        QGridLayout* gl = g3 ? new QGridLayout(g3) : settings;
        if (g3)
            g3->setObjectName("GroupBox3");
        const int r = g3 ? 0 : row;
        gl->addWidget(label("Label8", kind_ == ExclusionKind::Sum ? QStringLiteral("阶段统计期：") : QStringLiteral("阶段期数："), this), r, 0);
        comjieduannum_ = combo("comjieduannum", QStringList{QStringLiteral("全部期")} + range(1, D),
                               kind_ == ExclusionKind::Skew ? std::min(100, D) : 0, this);
        // Every pass draws its own stage length: the selector sets nothing.
        comjieduannum_->setEnabled(false);
        gl->addWidget(comjieduannum_, r, 1);
        if (g3) {
            gl->addWidget(label("Label9", QStringLiteral("延续期数："), g3), r, 2);
            edtyanxunum_ = edit("edtyanxunum", "2", g3);
            gl->addWidget(edtyanxunum_, r, 3);
            settings->addWidget(g3, row, 0, 1, 4);
        }
        ++row;
    }
    if (kind_ == ExclusionKind::Repeat) {
        settings->addWidget(label("Label4", QStringLiteral("重码期数："), this), row, 0);
        comqishu_ = combo("comqishu", range(1, std::max(D, 10)), 9, this);
        settings->addWidget(comqishu_, row, 1);
        settings->addWidget(label("Label5", QStringLiteral("过滤的重码数>="), this), row, 2);
        comAC_ = combo("comAC", range(1, k), k - 1, this);
        settings->addWidget(comAC_, row++, 3);
    }
    if (follow) {
        settings->addWidget(label("Label8", QStringLiteral("阶段统计期："), this), row, 0);
        comjieduannum_ = combo("comjieduannum", range(1, 1000), 99, this);
        settings->addWidget(comjieduannum_, row, 1);
        settings->addWidget(label("Label3", QStringLiteral("对比号码数："), this), row, 2);
        edthuishu_ = edit("edthuishu", "2", this);
        settings->addWidget(edthuishu_, row++, 3);
    }

    auto* g2 = new QGroupBox(this);
    g2->setObjectName("GroupBox2");
    auto* g2l = new QGridLayout(g2);
    optjushu_ = new QRadioButton(QStringLiteral("过滤到："), g2);
    optjushu_->setObjectName("optjushu");
    optjushu_->setChecked(true);
    edtjushu_ = edit("edtjushu", follow ? "50" : "10000", g2, 72);
    optcishu_ = new QRadioButton(QStringLiteral("过滤到："), g2);
    optcishu_->setObjectName("optcishu");
    edtcishu_ = edit("edtcishu", follow ? "1" : "10000", g2, 72);
    g2l->addWidget(optjushu_, 0, 0);
    g2l->addWidget(edtjushu_, 0, 1);
    g2l->addWidget(label(nullptr, QStringLiteral("注"), g2), 0, 2);
    g2l->addWidget(optcishu_, 1, 0);
    g2l->addWidget(edtcishu_, 1, 1);
    g2l->addWidget(label(nullptr, QStringLiteral("次"), g2), 1, 2);
    settings->addWidget(g2, row++, 0, 1, 4);

    if (kind_ == ExclusionKind::Sum || follow) {
        auto* g3 = follow ? new QGroupBox(this) : nullptr;
        if (g3)
            g3->setObjectName("GroupBox3");
        auto* l = new QHBoxLayout;
        QStringList sums = follow ? range(0, k) : range(sumListLow(N, k), sumListHigh(N, k));
        const int count = static_cast<int>(sums.size());
        l->addWidget(label("Label4", follow ? QStringLiteral("以下跟随数将被过滤：") : QStringLiteral("以下和值范围将被过滤："), this));
        l->addWidget(label("Label12", follow ? QStringLiteral(">=") : QStringLiteral("和值>="), this));
        comhei1_ = combo("comhei1", sums, follow ? k : std::max(0, count * 9 / 10 - 1), this);
        l->addWidget(comhei1_);
        l->addWidget(label("Label13", QStringLiteral("或<="), this));
        comhei2_ = combo("comhei2", sums, follow ? 0 : std::max(0, count * 2 / 10 - 1), this);
        l->addWidget(comhei2_);
        if (g3) {
            g3->setLayout(l);
            settings->addWidget(g3, row++, 0, 1, 4);
        } else {
            settings->addLayout(l, row++, 0, 1, 4);
        }
    }

    auto* buttons = new QHBoxLayout;
    btngen_ = new QPushButton(QStringLiteral("开始过滤"), this);
    btngen_->setObjectName(follow ? "btnfilt" : "btngen");
    btngen_->setDefault(true);
    btnsave_ = new QPushButton(follow ? QStringLiteral("保存号码") : QStringLiteral("保存"), this);
    btnsave_->setObjectName("btnsave");
    btnload_ = new QPushButton(QStringLiteral("载入"), this);
    btnload_->setObjectName("btnload");
    btnclear_ = new QPushButton(follow ? QStringLiteral("清空") : QStringLiteral("清除"), this);
    btnclear_->setObjectName("btnclear");
    btnclose_ = new QPushButton(QStringLiteral("关闭"), this);
    btnclose_->setObjectName("btnclose");
    auto* btnbaohao = new QPushButton(QStringLiteral("保号缩水"), this);
    btnbaohao->setObjectName("btnbaohao");
    for (QPushButton* b : {btngen_, btnsave_, btnload_, btnclear_, btnbaohao, btnclose_})
        buttons->addWidget(b);
    connect(btnbaohao, &QPushButton::clicked, this, [this] {
        if (!running_)
            coverShownList(context_);
    });
    right->addLayout(buttons);
    connect(btngen_, &QPushButton::clicked, this, [this] { btngenClick(); });
    connect(btnsave_, &QPushButton::clicked, this, [this] { btnsaveClick(); });
    connect(btnload_, &QPushButton::clicked, this, [this] { btnloadClick(); });
    connect(btnclear_, &QPushButton::clicked, this, [this] { btnclearClick(); });
    connect(btnclose_, &QPushButton::clicked, this, [this] { btncloseClick(); });

    pb_ = new QProgressBar(this);
    pb_->setObjectName("pb");
    pb_->setVisible(false);
    right->addWidget(pb_);

    lblcode_ = label("lblcode", QStringLiteral("过滤结果："), this);
    memcode_ = new BetListView(this);
    memcode_->setObjectName("memcode");
    if (follow) {
        page_ = new QTabWidget(this);
        page_->setObjectName("page");
        page_->addTab(tabhistory_, QStringLiteral("历史统计"));
        auto* bets = new QWidget(page_);
        auto* bl = new QVBoxLayout(bets);
        bl->addWidget(lblcode_);
        bl->addWidget(memcode_);
        page_->addTab(bets, QStringLiteral("投注号码"));
        // The page control takes the grid's place on the left, above the chart.
        if (auto* panel = qobject_cast<QVBoxLayout*>(chthistory_->parentWidget()->layout()))
            panel->insertWidget(0, page_, 3);
    } else {
        right->addWidget(lblcode_);
        right->addWidget(memcode_, 1);
    }
}

// ---------------------------------------------------------------- run

ExclusionInputs ExclusionWindow::readInputs() const
{
    ExclusionInputs in;
    in.b = comcurqi_->currentIndex();
    in.byTarget = optjushu_->isChecked();
    in.targetText = edtjushu_->text().toStdString();
    in.passesText = edtcishu_->text().toStdString();
    if (comqishu_)
        in.span = std::max(1, comqishu_->currentIndex() + 1);
    if (comAC_)
        in.repeatsText = comAC_->currentText().toStdString();
    if (comhei1_) {
        in.upperText = comhei1_->currentText().toStdString();
        in.lowerText = comhei2_->currentText().toStdString();
    }
    if (kind_ == ExclusionKind::Skew) {
        in.oddMode = optmode_->checkedId() == 1;
        in.high = chkda_->isChecked();
        in.low = chkxiao_->isChecked();
        in.aText = edtdanum_->text().toStdString();
        in.l1Text = edtdanum1_->text().toStdString();
        in.u1Text = edtdanum2_->text().toStdString();
        in.bText = edtxiaonum_->text().toStdString();
        in.l2Text = edtxiaonum1_->text().toStdString();
        in.u2Text = edtxiaonum2_->text().toStdString();
        in.yText = edtyanxunum_->text().toStdString();
    }
    if (kind_ == ExclusionKind::Follow) {
        in.standard = optmode_->checkedId() == 0;
        in.wheel = opttype1_->checkedId() == 1;
        in.omissionKey = opttype2_->checkedId() == 1;
        in.randomStage = opttype3_->checkedId() == 1;
        in.maxStage = opttype4_->checkedId() == 1;
        in.stageText = comjieduannum_->currentText().toStdString();
        in.hText = edthuishu_->text().toStdString();
    }
    return in;
}

void ExclusionWindow::requestStop()
{
    stopPressed_ = true;
    btngen_->setText(QStringLiteral("开始过滤"));
}

void ExclusionWindow::btngenClick()
{
    if (running_) {
        // The stop button: the run ends at its next look.
        requestStop();
        return;
    }
    // Every setting is read and checked before anything changes.
    const auto read = readExclusionSettings(kind_, readInputs(), lottery_);
    if (const auto* message = std::get_if<std::string>(&read)) {
        const QString text = QString::fromStdString(*message);
        if (text.contains(QStringLiteral("不是有效的整数")))
            showGeneralError(text);
        else
            showError(this, text);
        return;
    }
    const ExclusionSettings settings = std::get<ExclusionSettings>(read);
    stopPressed_ = false;
    btngen_->setText(QStringLiteral("停止"));
    if (page_)
        page_->setCurrentIndex(1);
    EventPump pump(15);
    ExclusionHooks hooks;
    hooks.keepGoing = [this, &pump](int) {
        pump.pump();
        return !stopPressed_;
    };
    hooks.progress = [this](std::int64_t value, std::int64_t max) {
        if (!pb_)
            return;
        if (pb_->maximum() != max)
            pb_->setRange(0, static_cast<int>(std::min<std::int64_t>(max, INT_MAX)));
        pb_->setValue(static_cast<int>(std::min<std::int64_t>(value, INT_MAX)));
    };
    ExclusionRunResult result;
    bool listShown = true;
    {
        QPointer<ExclusionWindow> self(this);
        BusyScope busy(this, running_, {btnsave_, btnload_, btnclear_, btntongji_, btntongji2_}, pb_, btngen_);
        pb_->setRange(0, 0);
        pb_->setVisible(true);
        guarded([&] { result = engine_->run(settings, *source_, hooks); });
        if (!self)
            return;
        if (!result.stopped) {
            const FileWriteResult written =
                writeExclusionList(fsPath(ListFilePath()), engine_->candidates(), false, progressFor(pump));
            if (!written.ok()) {
                showGeneralError(QString::fromStdString(written.error));
                listShown = false;
            } else {
                listShown = showList();
                if (listShown)
                    setCount(written.lines);
            }
        }
    }
    btngen_->setText(QStringLiteral("开始过滤"));
    (void)listShown;
}

bool ExclusionWindow::showList()
{
    EventPump pump;
    if (!memcode_->showListFile(ListFilePath(), progressFor(pump))) {
        showGeneralError(memcode_->error());
        return false;
    }
    return true;
}

void ExclusionWindow::setCount(std::int64_t n)
{
    lblcode_->setText(n < 0 ? QStringLiteral("过滤结果：") : QStringLiteral("过滤结果：%1注").arg(n));
}

// ---------------------------------------------------------------- statistics

void ExclusionWindow::standardStatistics()
{
    const DrawHistory& h = context_.state.DrawHistory();
    if (kind_ == ExclusionKind::Repeat)
        stats_ = repeatStatistics(lottery_, h, comqishu_ ? comqishu_->currentIndex() + 1 : 10);
    else if (kind_ == ExclusionKind::Sum)
        stats_ = sumStatistics(lottery_, h);
    else {
        int hh = 2;
        if (!tryParseInteger(edthuishu_->text().toStdString(), hh)) {
            showGeneralError(QString::fromStdString(integerConversionMessage(edthuishu_->text().toStdString())));
            return;
        }
        if (hh < 1 || hh > 3) {
            showError(this, QString::fromUtf8(kFollowCompareMessage));
            return;
        }
        stats_ = followStatistics(lottery_, h, hh);
    }
    showStatistics();
}

void ExclusionWindow::variableStatistics()
{
    const DrawHistory& h = context_.state.DrawHistory();
    StatisticsView view;
    view.permutation = drawPositionPermutation(lottery_.numberRange, context_.random);
    if (kind_ == ExclusionKind::Follow) {
        ExclusionInputs in = readInputs();
        int hh = 2, stage = 100;
        for (const std::string* t : {&in.hText, &in.stageText})
            if (!(t == &in.stageText && in.maxStage) && !tryParseInteger(*t, t == &in.hText ? hh : stage)) {
                showGeneralError(QString::fromStdString(integerConversionMessage(*t)));
                return;
            }
        if (hh < 1 || hh > 3) {
            showError(this, QString::fromUtf8(kFollowCompareMessage));
            return;
        }
        if (!in.maxStage && stage < 1) {
            showError(this, QString::fromUtf8(kFollowStageMessage));
            return;
        }
        const int limit = in.maxStage ? in.b + 1 : stage;
        view.stage = in.randomStage ? 1 + context_.random.below(limit) : limit;
        view.wheel = in.wheel;
        view.omissionKey = in.omissionKey;
        stats_ = followStatistics(lottery_, h, hh, &view);
    } else {
        view.stage = engine_->stageInForce();
        stats_ = kind_ == ExclusionKind::Repeat
                     ? repeatStatistics(lottery_, h, comqishu_->currentIndex() + 1, &view)
                     : sumStatistics(lottery_, h, &view);
    }
    showStatistics();
}

void ExclusionWindow::showStatistics()
{
    QStringList header;
    for (const auto& s : stats_.headers)
        header << QString::fromStdString(s);
    tabhistory_->setTable(header, static_cast<int>(stats_.rows.size()), [this](int r, int c) {
        return QString::fromStdString(stats_.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    });
    if (edtcurcode_)
        edtcurcode_->setText(QString::fromStdString(stats_.summary));
    if (mem_) {
        mem_->clear();
        mem_->setPlainText(QString::fromStdString(stats_.summary));
    }
}

void ExclusionWindow::drawChart()
{
    // Repeat: from row W (the stage length in force); the others: every row.
    const int from = kind_ == ExclusionKind::Repeat
                         ? std::clamp(engine_->stageInForce(), 0, static_cast<int>(stats_.rows.size()))
                         : 0;
    QStringList categories;
    BarSetData set;
    set.name = "Series1";
    set.title = kind_ == ExclusionKind::Repeat ? QStringLiteral("重码数")
                : kind_ == ExclusionKind::Sum  ? QStringLiteral("和值")
                                               : QStringLiteral("跟随数");
    set.colour = QColor(255, 0, 0);
    for (std::size_t r = static_cast<std::size_t>(from); r < stats_.rows.size(); ++r) {
        categories << QString::fromStdString(stats_.rows[r][0]);
        set.values << stats_.values[r];
    }
    chthistory_->setBars(categories, {set}, chkhistorybiao_ && chkhistorybiao_->isChecked());
}

void ExclusionWindow::btntongjiClick()
{
    if (running_)
        return;
    if (kind_ == ExclusionKind::Follow && optmode_->checkedId() == 1)
        variableStatistics();
    else
        standardStatistics();
    drawChart();
    if (page_)
        page_->setCurrentIndex(0);
}

void ExclusionWindow::btntongji2Click()
{
    if (running_)
        return;
    variableStatistics();
    drawChart();
}

void ExclusionWindow::optmodeClick()
{
    if (kind_ == ExclusionKind::Skew) {
        const bool odd = optmode_->checkedId() == 1;
        chkda_->setText(odd ? QStringLiteral("奇数个数>=") : QStringLiteral("大数个数>="));
        chkxiao_->setText(odd ? QStringLiteral("奇数个数<=") : QStringLiteral("大数个数<="));
        lblda_->setText(odd ? QStringLiteral("时本期奇数个数") : QStringLiteral("时本期大数个数"));
        lblxiao_->setText(lblda_->text());
        return;
    }
    if (kind_ == ExclusionKind::Follow) {
        const bool variable = optmode_->checkedId() == 1;
        optjushu_->setEnabled(variable);
        if (variable) {
            optjushu_->setChecked(true);
            edtcishu_->setText("100");
            btntongji_->setText(QStringLiteral("变幻统计"));
        } else {
            optcishu_->setChecked(true);
            edtcishu_->setText("1");
            btntongji_->setText(QStringLiteral("常规统计"));
        }
    }
}

// ---------------------------------------------------------------- files

void ExclusionWindow::btnsaveClick()
{
    if (running_)
        return;
    const QString proposed = QString::fromStdString(
        defaultBetFileName(lottery_.name, context_.state.DrawHistory(), owner(kind_)));
    saveShownList(this, memcode_, proposed, running_, {btngen_, btnsave_, btnload_, btnclear_}, btngen_);
}

void ExclusionWindow::btnloadClick()
{
    if (running_)
        return;
    const QString proposed =
        kind_ == ExclusionKind::Follow
            ? QString::fromStdString(followExclusionOpenName(lottery_.name, comcurqi_->currentText().toStdString()))
            : QString();
    const QString file = dialogs().openFileName(this, ShellFolderPath("Desktop"), proposed, textFileFilter());
    if (file.isEmpty())
        return;
    EventPump pump;
    BetFileLoadOptions options = betFileLoadOptions(BetFileReader::Exclusion, lottery_, fsPath(ListFilePath()));
    options.progress = progressFor(pump);
    BetFileLoad load;
    {
        BusyScope busy(this, running_, {btngen_, btnsave_, btnload_, btnclear_}, nullptr, btngen_);
        load = loadBetFile(fsPath(file), options);
        if (load.ok()) {
            engine_->takeLoaded(load);
            if (!showList())
                return;
        }
    }
    if (!load.ok()) {
        if (load.status == BetFileLoad::Status::Failed)
            showGeneralError(QString::fromStdString(load.error));
        return;
    }
    setCount(load.combinations);
    if (page_)
        page_->setCurrentIndex(1);
}

void ExclusionWindow::btnclearClick()
{
    if (running_)
        return;
    memcode_->clear();
    setCount(-1);
    engine_->clear();
    if (kind_ == ExclusionKind::Repeat || kind_ == ExclusionKind::Sum) {
        standardStatistics();
        drawChart();
    }
}

// ---------------------------------------------------------------- window

} // namespace zelvor
