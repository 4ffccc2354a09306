#include "advisers/u_adviser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/error.h"
#include "data/db_lottery.h"
#include "data/lottery_state.h"
#include "data/u_datamod.h"
#include "ui/bar_chart.h"
#include "ui/dialogs.h"
#include "ui/errors.h"
#include "ui/history_bars.h"
#include "ui/history_grid.h"

namespace zelvor {

namespace {

const AdviserDescriptor kSep{AdviserKind::Interval, "Tfrmsep", "最优间隔回补选号", "最优间隔回补选号历史中奖图表"};
const AdviserDescriptor kQingmi{AdviserKind::Intimate, "Tfrmqingmi", "最优亲密数字选号", "最优亲密数字选号历史中奖图表"};
const AdviserDescriptor kSibu{AdviserKind::Composite, "Tfrmsibu", "最优四步综合选号", "最优四步综合选号历史中奖图表"};
const AdviserDescriptor kGanzhi{AdviserKind::StemBranch, "Tfrmganzhi", "最优开奖干支选号", "最优开奖干支选号历史中奖图表"};

QLabel* label(const QString& text, const char* name, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    if (name)
        l->setObjectName(name);
    return l;
}

QComboBox* numberBox(const char* name, int from, int to, const QString& current, QWidget* parent,
                     const QString& first = {})
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    QStringList items;
    if (!first.isEmpty())
        items << first;
    for (int i = from; i <= to; ++i)
        items << QString::number(i);
    c->addItems(items);
    c->setEditText(current);
    const int i = c->findText(current);
    if (i >= 0)
        c->setCurrentIndex(i);
    return c;
}

QLineEdit* edit(const char* name, QWidget* parent, bool enabled = true)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setEnabled(enabled);
    return e;
}

std::string boxText(const QComboBox* c) { return c->currentText().toStdString(); }

} // namespace

Tfrmadviser::Tfrmadviser(const AdviserDescriptor& descriptor, AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), d_(descriptor), context_(context)
{
    setObjectName(d_.className);
    setWindowTitle(QString::fromUtf8(d_.caption));
    // The lists are filled once, from the history of this moment.
    lottery_ = context_.state.CurrentLottery();
    history_ = context_.state.DrawHistory();
    dates_ = context_.state.DrawDates();
    if (d_.kind == AdviserKind::StemBranch && context_.state.datamod().isOpen()) {
        try {
            weekdays_ = readLotteryOptions(context_.state.datamod().t_con(),
                                           QString::fromStdString(lottery_.name))
                            .weekdays.toStdString();
        } catch (const Error&) {
            weekdays_.clear(); // no stored weekdays: the next day
        }
    }
    const int n = history_.size();
    interval_ = defaultIntervalSettings(lottery_);
    intimate_ = defaultIntimateSettings(lottery_, n);
    composite_ = defaultCompositeSettings(n);
    buildControls();
    if (d_.kind == AdviserKind::StemBranch)
        comcurqiChange();
    try {
        HistoryStatistics();
    } catch (const Error& e) {
        mem_->setPlainText(QString::fromUtf8(e.what())); // a draw without a readable date
    }
    resize(1000, 720);
}

void Tfrmadviser::buildControls()
{
    const int n = history_.size();
    const int N = lottery_.numberRange;
    auto* root = new QVBoxLayout(this);

    // Settings and target.
    auto* settings = new QGridLayout;
    root->addLayout(settings);
    int row = 0;
    if (d_.kind == AdviserKind::Interval) {
        comqishu_ = numberBox("comqishu", 1, 20, "5", this);
        comcodenum_ = numberBox("comcodenum", 1, N, QString::number(interval_.count), this);
        settings->addWidget(label("间隔期数：", "Label4", this), row, 0);
        settings->addWidget(comqishu_, row, 1);
        settings->addWidget(label("选号个数：", "Label5", this), row, 2);
        settings->addWidget(comcodenum_, row, 3);
        ++row;
    } else if (d_.kind == AdviserKind::Intimate) {
        optsel_ = new QGroupBox(this);
        optsel_->setObjectName("optsel");
        auto* ol = new QHBoxLayout(optsel_);
        optPositions_ = new QRadioButton("各个位置", optsel_);
        optOverall_ = new QRadioButton("总体位置", optsel_);
        optOverall_->setChecked(true);
        ol->addWidget(optPositions_);
        ol->addWidget(optOverall_);
        connect(optPositions_, &QRadioButton::clicked, this, [this] { optselClick(); });
        connect(optOverall_, &QRadioButton::clicked, this, [this] { optselClick(); });
        label5_ = label("总体号码数：", "Label5", this);
        comselnum_ = numberBox("comselnum", 1, N, QString::number(intimate_.count), this);
        comjieduanqi_ = numberBox("comjieduanqi", 1, n, QString::number(intimate_.stage), this, "全部期数");
        settings->addWidget(optsel_, row, 0, 1, 2);
        settings->addWidget(label5_, row, 2);
        settings->addWidget(comselnum_, row, 3);
        settings->addWidget(label("阶段次数：", "Label6", this), row, 4);
        settings->addWidget(comjieduanqi_, row, 5);
        ++row;
    } else if (d_.kind == AdviserKind::Composite) {
        const char* before[4] = {"第一步：选出最近", "第二步：第一步选号当中", "第三步：选出最近", "第四步：选出最近"};
        const char* after[4] = {"期中出次数最多号码", "期以上未出号", "期未出3连号", "期相对活跃冷码"};
        const int to[4] = {n, 5, 10, 10};
        const int value[4] = {composite_.w1, 1, 10, 10};
        const char* boxes[4] = {"com1", "com2", "com3", "com4"};
        const char* edits[4] = {"edtcode1", "edtcode2", "edtcode3", "edtcode4"};
        for (int i = 0; i < 4; ++i) {
            com_[i] = numberBox(boxes[i], 1, to[i], value[i] > 0 ? QString::number(value[i]) : QString(), this);
            edtcode_[i] = edit(edits[i], this);
            settings->addWidget(label(before[i], nullptr, this), row, 0);
            settings->addWidget(com_[i], row, 1);
            settings->addWidget(label(after[i], nullptr, this), row, 2);
            settings->addWidget(edtcode_[i], row, 3);
            ++row;
        }
    }
    comcurqi_ = new QComboBox(this);
    comcurqi_->setObjectName("comcurqi");
    comcurqi_->setEditable(true);
    comcurqi_->setInsertPolicy(QComboBox::NoInsert);
    QStringList items;
    for (const std::string& s : targetItems(history_))
        items << QString::fromStdString(s);
    comcurqi_->addItems(items);
    comcurqi_->setCurrentIndex(comcurqi_->count() - 1);
    connect(comcurqi_, &QComboBox::currentIndexChanged, this, [this] { comcurqiChange(); });
    btngen_ = new QPushButton("生成号码", this);
    btngen_->setObjectName("btngen");
    btngen_->setDefault(true);
    connect(btngen_, &QPushButton::clicked, this, [this] { btngenClick(); });
    settings->addWidget(label("目前投注期：",
                              d_.kind == AdviserKind::Interval   ? "Label6"
                              : d_.kind == AdviserKind::Intimate ? "Label2"
                                                                 : nullptr,
                              this), row, 0);
    settings->addWidget(comcurqi_, row, 1);
    settings->addWidget(btngen_, row, 2);
    ++row;
    if (d_.kind == AdviserKind::StemBranch) {
        edtdate_ = edit("edtdate", this, false);
        edttiangan_ = edit("edttiangan", this, false);
        edtdizhi_ = edit("edtdizhi", this, false);
        optadd_ = new QGroupBox(this);
        optadd_->setObjectName("optadd");
        auto* al = new QHBoxLayout(optadd_);
        auto* standard = new QRadioButton("标准", optadd_);
        optExtra_ = new QRadioButton("附加", optadd_);
        standard->setChecked(true);
        al->addWidget(standard);
        al->addWidget(optExtra_);
        settings->addWidget(label("开奖日期：", nullptr, this), row, 0);
        settings->addWidget(edtdate_, row, 1);
        settings->addWidget(label("天干：", nullptr, this), row, 2);
        settings->addWidget(edttiangan_, row, 3);
        settings->addWidget(label("地支：", nullptr, this), row, 4);
        settings->addWidget(edtdizhi_, row, 5);
        ++row;
        settings->addWidget(optadd_, row, 0, 1, 2);
        ++row;
    }
    edtcurcode_ = edit("edtcurcode", this);
    settings->addWidget(label(d_.kind == AdviserKind::Composite ? "最终投注号码：" : "目前投注号码：", "Label3", this),
                        row, 0);
    settings->addWidget(edtcurcode_, row, 1, 1, 5);
    ++row;
    if (d_.kind == AdviserKind::Intimate) {
        tabcode_ = new QTableWidget(this);
        tabcode_->setObjectName("tabcode");
        tabcode_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tabcode_->setMinimumHeight(120);
        root->addWidget(tabcode_);
    }

    // History: grid on the left, charts and memo on the right.
    auto* split = new QSplitter(Qt::Horizontal, this);
    root->addWidget(split, 1);
    auto* left = new QWidget(split);
    auto* ll = new QVBoxLayout(left);
    ll->setContentsMargins(0, 0, 0, 0);
    ll->addWidget(label("历史中奖：", "Label1", left));
    tabhistory_ = new HistoryGrid(left);
    tabhistory_->setObjectName("tabhistory");
    ll->addWidget(tabhistory_);
    auto* right = new QWidget(split);
    auto* rl = new QVBoxLayout(right);
    rl->setContentsMargins(0, 0, 0, 0);
    chthistory_ = new HistoryBars(right);
    chthistory_->setObjectName("chthistory");
    chthistory_->setTitle(QString::fromUtf8(d_.chartTitle));
    rl->addWidget(chthistory_, 2);
    chkhistorybiao_ = new QCheckBox("显示标注", right);
    chkhistorybiao_->setObjectName("chkhistorybiao");
    connect(chkhistorybiao_, &QCheckBox::clicked, this, [this] { chkhistorybiaoClick(); });
    rl->addWidget(chkhistorybiao_);
    const bool hitChart = d_.kind == AdviserKind::Interval || d_.kind == AdviserKind::Intimate;
    rl->addWidget(label(hitChart ? "历史中奖汇总：" : (d_.kind == AdviserKind::Composite ? "历史统计：" : "统计结果："),
                        "Label2", right));
    mem_ = new QPlainTextEdit(right);
    mem_->setObjectName("mem");
    mem_->setReadOnly(true);
    mem_->setMaximumHeight(60);
    rl->addWidget(mem_);
    if (hitChart) {
        chtcishu_ = new BarChart(right);
        chtcishu_->setObjectName("chtcishu");
        chtcishu_->setTitle("历史中奖次数图表");
        rl->addWidget(chtcishu_, 1);
    }
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);

    auto* buttons = new QHBoxLayout;
    root->addLayout(buttons);
    buttons->addStretch();
    btntongji_ = new QPushButton("历史统计", this);
    btntongji_->setObjectName("btntongji");
    connect(btntongji_, &QPushButton::clicked, this, [this] { btntongjiClick(); });
    buttons->addWidget(btntongji_);
    if (d_.kind == AdviserKind::Composite || d_.kind == AdviserKind::StemBranch) {
        btnclose_ = new QPushButton("关闭", this);
        btnclose_->setObjectName("btnclose");
        connect(btnclose_, &QPushButton::clicked, this, [this] { btncloseClick(); });
        buttons->addWidget(btnclose_);
    }
}

void Tfrmadviser::readSettings()
{
    const int n = history_.size();
    const int N = lottery_.numberRange;
    switch (d_.kind) {
    case AdviserKind::Interval: {
        IntervalSettings s;
        s.draws = parseSetting(boxText(comqishu_), "间隔期数", 1, 20);
        s.count = parseSetting(boxText(comcodenum_), "选号个数", 1, N);
        interval_ = s;
        break;
    }
    case AdviserKind::Intimate: {
        IntimateSettings s;
        s.overall = optOverall_->isChecked();
        s.count = parseSetting(boxText(comselnum_), s.overall ? "总体号码数" : "各位号码数", 1, N);
        s.stage = parseStage(boxText(comjieduanqi_), "全部期数", n);
        intimate_ = s;
        break;
    }
    case AdviserKind::Composite: {
        CompositeSettings s;
        s.w1 = parseSetting(boxText(com_[0]), "第一步期数", 1, n);
        s.w2 = parseSetting(boxText(com_[1]), "第二步期数", 1, 5);
        s.w3 = parseSetting(boxText(com_[2]), "第三步期数", 1, 10);
        s.w4 = parseSetting(boxText(com_[3]), "第四步期数", 1, 10);
        composite_ = s;
        break;
    }
    case AdviserKind::StemBranch:
        stemBranch_.extra = optExtra_->isChecked();
        break;
    }
}

void Tfrmadviser::btntongjiClick()
{
    const IntervalSettings oldInterval = interval_;
    const IntimateSettings oldIntimate = intimate_;
    const CompositeSettings oldComposite = composite_;
    const StemBranchSettings oldStemBranch = stemBranch_;
    try {
        if (!history_.empty())
            readSettings();
        HistoryStatistics();
    } catch (const Error& e) {
        // The statistics shown keep the settings they were made with.
        interval_ = oldInterval;
        intimate_ = oldIntimate;
        composite_ = oldComposite;
        stemBranch_ = oldStemBranch;
        showError(this, QString::fromUtf8(e.what()));
    }
}

void Tfrmadviser::HistoryStatistics()
{
    // Computed aside: a refused replay (a draw without a date) leaves the
    // grid, memo and charts as they were.
    AdviserReplay next;
    switch (d_.kind) {
    case AdviserKind::Interval:
        next = replayInterval(history_, lottery_, interval_);
        break;
    case AdviserKind::Intimate:
        next = replayIntimate(history_, lottery_, intimate_);
        break;
    case AdviserKind::Composite:
        next = replayComposite(history_, lottery_, composite_);
        break;
    case AdviserKind::StemBranch:
        next = replayStemBranch(history_, lottery_, dates_, stemBranch_);
        break;
    }
    replay_ = std::move(next);
    QStringList header;
    for (const char* h : kReplayHeader)
        header << QString::fromUtf8(h);
    tabhistory_->setTable(header, replay_.rowCount(), [this](int row, int column) {
        return QString::fromStdString(replayCell(replay_, history_, row, column));
    });
    mem_->setPlainText(QString::fromStdString(replayMemo(replay_)));
    drawHistoryChart();
    if (chtcishu_) {
        QStringList categories;
        QVector<int> values;
        for (std::size_t h = 0; h < replay_.histogram.size(); ++h) {
            categories << QString::number(h);
            values << replay_.histogram[h];
        }
        if (replay_.histogram.empty())
            for (int h = 0; h <= lottery_.pickCount; ++h) {
                categories << QString::number(h);
                values << 0;
            }
        chtcishu_->setBars(categories, {BarSetData{"Series1", "各中奖号码数出现次数", Qt::red, values}}, true);
    }
}

void Tfrmadviser::drawHistoryChart()
{
    chthistory_->setBars(
        "中奖个数", replay_.barCount(), [this](int bar) { return QString::number(history_.issue(replay_.firstBar + bar)); },
        [this](int bar) { return replay_.hits[replay_.firstBar + bar]; });
    chthistory_->setMarks(chkhistorybiao_->isChecked());
}

void Tfrmadviser::chkhistorybiaoClick()
{
    drawHistoryChart();
}

void Tfrmadviser::optselClick()
{
    comselnum_->setEditText("1");
    comselnum_->setCurrentIndex(0);
    label5_->setText(optOverall_->isChecked() ? "总体号码数：" : "各位号码数：");
}

void Tfrmadviser::comcurqiChange()
{
    if (d_.kind != AdviserKind::StemBranch)
        return; // the target is read when "生成号码" is pressed
    CivilDate date;
    bool known = false;
    try {
        const int P = parseTarget(history_, boxText(comcurqi_));
        known = targetDate(history_, dates_, lottery_.name, weekdays_, P, date);
    } catch (const Error&) {
        known = false;
    }
    if (!known) {
        edtdate_->clear();
        edttiangan_->clear();
        edtdizhi_->clear();
        return;
    }
    edtdate_->setText(QString::fromStdString(dateText(date)));
    edttiangan_->setText(QString::fromUtf8(kStems[stemIndex(date)]));
    edtdizhi_->setText(QString::fromUtf8(kBranches[branchIndex(date)]));
}

void Tfrmadviser::btngenClick()
{
    try {
        if (history_.empty())
            throw Error("没有开奖数据！");
        // Settings first, as the command line checks them; nothing changes on a refusal.
        const IntervalSettings oldInterval = interval_;
        const IntimateSettings oldIntimate = intimate_;
        const CompositeSettings oldComposite = composite_;
        const StemBranchSettings oldStemBranch = stemBranch_;
        try {
            readSettings();
            const int P = parseTarget(history_, boxText(comcurqi_));
            const QString issue = QString::fromStdString(targetItems(history_)[P]);
            const std::string issueText = issue.toStdString();
            switch (d_.kind) {
            case AdviserKind::Interval:
                edtcurcode_->setText(QString::fromStdString(
                    recommendationText(issueText, recommendInterval(history_, lottery_, P, interval_), true)));
                break;
            case AdviserKind::Intimate: {
                const IntimateResult r = recommendIntimate(history_, lottery_, P, intimate_);
                const auto cells = intimacyCells(r, intimate_.overall);
                tabcode_->clear();
                tabcode_->setRowCount(static_cast<int>(cells.size()));
                tabcode_->setColumnCount(static_cast<int>(cells[0].size()));
                tabcode_->horizontalHeader()->setVisible(false);
                tabcode_->verticalHeader()->setVisible(false);
                for (std::size_t i = 0; i < cells.size(); ++i)
                    for (std::size_t j = 0; j < cells[i].size(); ++j)
                        tabcode_->setItem(static_cast<int>(i), static_cast<int>(j),
                                          new QTableWidgetItem(QString::fromStdString(cells[i][j])));
                const int width = tabcode_->viewport()->width() - 30;
                if (intimate_.overall)
                    tabcode_->setColumnWidth(0, std::max(200, width));
                else
                    for (int j = 0; j < tabcode_->columnCount(); ++j)
                        tabcode_->setColumnWidth(j, std::max(60, width / tabcode_->columnCount()));
                edtcurcode_->setText(QString::fromStdString(recommendationText(issueText, r.bet, false)));
                break;
            }
            case AdviserKind::Composite: {
                const CompositeResult r = recommendComposite(history_, lottery_, P, composite_);
                const auto boxes = compositeBoxTexts(r);
                for (int i = 0; i < 4; ++i)
                    edtcode_[i]->setText(QString::fromStdString(boxes[i]));
                edtcurcode_->setText(QString::fromStdString(recommendationText(issueText, r.bet, true)));
                break;
            }
            case AdviserKind::StemBranch: {
                comcurqiChange();
                CivilDate date;
                if (edtdate_->text().isEmpty() || !parseDate(edtdate_->text().toStdString(), date))
                    throw Error("请输入正确的开奖日期！");
                const int stem = stemIndex(date);
                const int branch = branchIndex(date);
                edttiangan_->setText(QString::fromUtf8(kStems[stem]));
                edtdizhi_->setText(QString::fromUtf8(kBranches[branch]));
                edtcurcode_->setText(QString::fromStdString(recommendationText(
                    issueText, recommendStemBranch(lottery_, selectedDigits(stem, branch, stemBranch_.extra)), false)));
                break;
            }
            }
        } catch (...) {
            interval_ = oldInterval;
            intimate_ = oldIntimate;
            composite_ = oldComposite;
            stemBranch_ = oldStemBranch;
            throw;
        }
    } catch (const Error& e) {
        showError(this, QString::fromUtf8(e.what()));
    }
}

Tfrmsep::Tfrmsep(AppContext& context, QWidget* parent) : Tfrmadviser(kSep, context, parent) {}
Tfrmqingmi::Tfrmqingmi(AppContext& context, QWidget* parent) : Tfrmadviser(kQingmi, context, parent) {}
Tfrmsibu::Tfrmsibu(AppContext& context, QWidget* parent) : Tfrmadviser(kSibu, context, parent) {}
Tfrmganzhi::Tfrmganzhi(AppContext& context, QWidget* parent) : Tfrmadviser(kGanzhi, context, parent) {}

} // namespace zelvor
