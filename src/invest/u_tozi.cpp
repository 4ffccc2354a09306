#include "invest/u_tozi.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <algorithm>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/error.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "ui/dialogs.h"
#include "ui/errors.h"
#include "ui/table_print.h"

namespace zelvor {

using namespace invest;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QLineEdit* edit(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QComboBox* combo(QWidget* parent, const char* name, int first, int last)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    for (int v = first; v <= last; ++v)
        c->addItem(QString::number(v));
    c->setCurrentIndex(0);
    return c;
}

QTableWidget* grid(QWidget* parent, const char* name, const QStringList& headers)
{
    auto* g = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    g->setObjectName(QString::fromLatin1(name));
    g->setHorizontalHeaderLabels(headers);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->hide();
    // Equal columns across the grid, none narrower than its heading.
    int widest = 0;
    for (const QString& h : headers)
        widest = std::max(widest, g->horizontalHeader()->fontMetrics().horizontalAdvance(h));
    g->horizontalHeader()->setMinimumSectionSize(widest + 12);
    g->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return g;
}

void fill(QTableWidget* g, const std::vector<QStringList>& rows)
{
    g->setRowCount(0);
    g->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            g->setItem(r, c, new QTableWidgetItem(rows[r][c]));
}

// A whole number within ±10^9 from an edit; the conversion message otherwise.
std::int64_t editValue(const QLineEdit* e)
{
    const std::string text = e->text().toStdString();
    const int v = parseInteger(text);
    if (v < -kFieldLimit || v > kFieldLimit)
        throw Error("“" + clipped(text) + "”不在-1000000000到1000000000之间。");
    return v;
}

} // namespace

Tfrmtozi::Tfrmtozi(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), context_(context)
{
    setObjectName("Tfrmtozi");
    setWindowTitle(QStringLiteral("投资模式分析"));
    auto* top = new QVBoxLayout(this);

    auto* types = new QGroupBox(this);
    types->setObjectName("optzhuzhi");
    auto* typeRow = new QHBoxLayout(types);
    optzhuzhi_ = new QButtonGroup(this);
    for (int t = 0; t < kPlayTypeCount; ++t) {
        auto* b = new QRadioButton(QString::fromUtf8(playTypeText(t)), types);
        optzhuzhi_->addButton(b, t);
        typeRow->addWidget(b);
    }
    optzhuzhi_->button(0)->setChecked(true);
    connect(optzhuzhi_, &QButtonGroup::idClicked, this, [this] { optzhuzhiClick(); });
    top->addWidget(types);

    grptozi_ = new QGroupBox(this);
    grptozi_->setObjectName("grptozi");
    auto* form = new QGridLayout(grptozi_);
    edtjushu_ = edit(grptozi_, "edtjushu");
    edtoutofsin_ = edit(grptozi_, "edtoutofsin");
    edtlirun_ = edit(grptozi_, "edtlirun");
    edtsinmax_ = edit(grptozi_, "edtsinmax");
    edtallmax_ = edit(grptozi_, "edtallmax");
    edtallwin_ = edit(grptozi_, "edtallwin");
    comtozisep_ = combo(grptozi_, "comtozisep", 0, 50);
    comtozirep_ = combo(grptozi_, "comtozirep", 1, 50);
    comsepindex_ = combo(grptozi_, "comsepindex", 1, 100);
    comsepnum_ = combo(grptozi_, "comsepnum", 1, 10);
    chksepmode_ = new QCheckBox(QStringLiteral("间隔模式："), grptozi_);
    chksepmode_->setObjectName("chksepmode");
    chkyuji_ = new QCheckBox(QStringLiteral("预计亏损："), grptozi_);
    chkyuji_->setObjectName("chkyuji");
    const std::pair<const char*, QWidget*> labelled[] = {
        {"单倍注数：", edtjushu_},         {"单注奖金：", edtoutofsin_},      {"预期利润(%)：", edtlirun_},
        {"单期最大投入：", edtsinmax_},    {"累计最大投入：", edtallmax_},    {"中出后间隔期数：", comtozisep_},
        {"连续投入期数：", comtozirep_},   {"观察间隔数：", comsepindex_},    {"观察间隔连续次数：", comsepnum_},
        {"总体赢余：", edtallwin_},
    };
    int at = 0;
    for (const auto& [label, w] : labelled) {
        form->addWidget(new QLabel(QString::fromUtf8(label), grptozi_), at / 3, (at % 3) * 2);
        form->addWidget(w, at / 3, (at % 3) * 2 + 1);
        ++at;
    }
    form->addWidget(chksepmode_, at / 3 + 1, 0);
    form->addWidget(chkyuji_, at / 3 + 1, 2);
    connect(chksepmode_, &QCheckBox::clicked, this, [this] { chksepmodeClick(); });
    top->addWidget(grptozi_);

    grdsep_ = grid(this, "grdsep", {QStringLiteral("记录期号"), QStringLiteral("中奖间隔")});
    grdcode_ = grid(this, "grdcode", {QStringLiteral("序号"), QStringLiteral("号码1"), QStringLiteral("号码2"),
                                      QStringLiteral("号码3")});
    QStringList cycleHeads;
    for (const std::string& h : cycleHeaders())
        cycleHeads << q(h);
    grdtozi_ = grid(this, "grdtozi", cycleHeads);
    grdsepmode_ = grid(this, "grdsepmode", {QStringLiteral("间隔"), QStringLiteral("连续"), QStringLiteral("次数")});
    auto* grids = new QGridLayout;
    const std::pair<const char*, QTableWidget*> titled[] = {{"历史中奖：", grdsep_},
                                                            {"投注号码：", grdcode_},
                                                            {"投资和赢亏：", grdtozi_},
                                                            {"间隔统计：", grdsepmode_}};
    int col = 0;
    for (const auto& [title, g] : titled) {
        grids->addWidget(new QLabel(QString::fromUtf8(title), this), 0, col);
        grids->addWidget(g, 1, col);
        // Each grid's share of the width follows its column count.
        grids->setColumnStretch(col, g->columnCount());
        ++col;
    }
    top->addLayout(grids, 1);

    pb_ = new QProgressBar(this);
    pb_->setObjectName("pb");
    pb_->hide();
    top->addWidget(pb_);

    auto* buttons = new QHBoxLayout;
    auto makeButton = [&](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        return b;
    };
    btnfilt_ = makeButton(QStringLiteral("随机生成"), "btnfilt");
    btnclear_ = makeButton(QStringLiteral("清空"), "btnclear");
    btnala_ = makeButton(QStringLiteral("分析"), "btnala");
    btnyouhua_ = makeButton(QStringLiteral("搜索"), "btnyouhua");
    auto makeMenuButton = [&](const QString& text, const char* name,
                              std::initializer_list<std::tuple<const char*, const char*, void (Tfrmtozi::*)()>> items) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        auto* menu = new QMenu(b);
        for (const auto& [caption, objectName, handler] : items) {
            QAction* a = menu->addAction(QString::fromUtf8(caption));
            a->setObjectName(QString::fromLatin1(objectName));
            connect(a, &QAction::triggered, this, [this, h = handler] { guarded([this, h] { (this->*h)(); }); });
        }
        b->setMenu(menu);
        b->setPopupMode(QToolButton::InstantPopup);
        buttons->addWidget(b);
        return b;
    };
    tlbtnsave_ = makeMenuButton(QStringLiteral("保存"), "tlbtnsave",
                                {{"保存号码(&C)", "mnucodesave", &Tfrmtozi::mnucodesaveClick},
                                 {"保存设置(&S)", "mnusetsave", &Tfrmtozi::mnusetsaveClick},
                                 {"保存号码和设置(&B)", "mnubothsave", &Tfrmtozi::mnubothsaveClick}});
    tlbtnload_ = makeMenuButton(QStringLiteral("载入"), "tlbtnload",
                                {{"载入号码(&C)", "mnucodeload", &Tfrmtozi::mnucodeloadClick},
                                 {"载入设置(&S)", "mnusetload", &Tfrmtozi::mnusetloadClick},
                                 {"载入号码和设置(&B)", "mnubothload", &Tfrmtozi::mnubothloadClick}});
    tlbtnprint_ = makeMenuButton(QStringLiteral("打印"), "tlbtnprint",
                                 {{"打印号码(&C)", "mnucodeprint", &Tfrmtozi::mnucodeprintClick},
                                  {"打印设置(&S)", "mnusetprint", &Tfrmtozi::mnusetprintClick}});
    btnclose_ = makeButton(QStringLiteral("关闭"), "btnclose");
    connect(btnfilt_, &QPushButton::clicked, this, [this] { guarded([this] { btnfiltClick(); }); });
    connect(btnclear_, &QPushButton::clicked, this, [this] { btnclearClick(); });
    connect(btnala_, &QPushButton::clicked, this, [this] { guarded([this] { btnalaClick(); }); });
    connect(btnyouhua_, &QPushButton::clicked, this, [this] { guarded([this] { btnyouhuaClick(); }); });
    connect(btnclose_, &QPushButton::clicked, this, &Tfrmtozi::btncloseClick);
    top->addLayout(buttons);

    showSettings(ModeSettings{});
    // Four grids side by side: as wide as the screen allows.
    resize(1500, 860);
}

Tfrmtozi::~Tfrmtozi()
{
    stop_ = true;
    if (worker_.joinable())
        worker_.join();
}

ModeSettings Tfrmtozi::readSettings() const
{
    ModeSettings s;
    s.type = optzhuzhi_->checkedId();
    s.bets = editValue(edtjushu_);
    s.prize = editValue(edtoutofsin_);
    s.profit = editValue(edtlirun_);
    s.maxStake = editValue(edtsinmax_);
    s.maxTotal = editValue(edtallmax_);
    s.waitPos = comtozisep_->currentIndex();
    s.repPos = comtozirep_->currentIndex();
    s.gapMinPos = comsepindex_->currentIndex();
    s.gapRunsPos = comsepnum_->currentIndex();
    s.gapMode = chksepmode_->isChecked();
    s.carry = chkyuji_->isChecked();
    return s;
}

void Tfrmtozi::showSettings(const ModeSettings& s)
{
    if (optzhuzhi_->checkedId() != s.type) {
        optzhuzhi_->button(s.type)->setChecked(true);
        optzhuzhiClick();
    }
    edtjushu_->setText(QString::number(s.bets));
    edtoutofsin_->setText(QString::number(s.prize));
    edtlirun_->setText(QString::number(s.profit));
    edtsinmax_->setText(QString::number(s.maxStake));
    edtallmax_->setText(QString::number(s.maxTotal));
    comtozisep_->setCurrentIndex(s.waitPos);
    comtozirep_->setCurrentIndex(s.repPos);
    comsepindex_->setCurrentIndex(s.gapMinPos);
    comsepnum_->setCurrentIndex(s.gapRunsPos);
    chkyuji_->setChecked(s.carry);
    chksepmode_->setChecked(s.gapMode);
    chksepmodeClick();
}

void Tfrmtozi::chksepmodeClick()
{
    const bool on = chksepmode_->isChecked();
    if (!on) {
        comsepindex_->setCurrentIndex(0);
        comsepnum_->setCurrentIndex(0);
    }
    comsepindex_->setEnabled(on);
    comsepnum_->setEnabled(on);
}

void Tfrmtozi::optzhuzhiClick() { grdtozi_->setRowCount(0); }

void Tfrmtozi::btnclearClick()
{
    const ModeSettings cleared = clearedSettings();
    ModeSettings s = cleared;
    s.type = optzhuzhi_->checkedId(); // "清空" leaves the play type
    const int type = s.type;
    showSettings(s);
    optzhuzhi_->button(type)->setChecked(true);
}

bool Tfrmtozi::checkLottery()
{
    if (!context_.state.LotteryOpen() || !modeFitsLottery(context_.state.CurrentLottery())) {
        showError(this, QString::fromUtf8(kWrongLottery));
        return false;
    }
    return true;
}

void Tfrmtozi::btnfiltClick()
{
    const ModeSettings s = readSettings();
    if (!checkLottery())
        return;
    std::vector<Bet> drawn;
    const std::string message = generateBets(s.type, s.bets, context_.random, drawn);
    if (!message.empty()) {
        showError(this, q(message));
        return;
    }
    bets_ = std::move(drawn);
    betsChanged();
}

void Tfrmtozi::betsChanged()
{
    hits_ = buildHitTable(optzhuzhi_->checkedId(), bets_, context_.state.DrawHistory());
    std::vector<QStringList> rows;
    for (std::size_t i = 0; i < bets_.size(); ++i)
        rows.push_back({QString::number(i + 1), QString::number(bets_[i][0]), QString::number(bets_[i][1]),
                        QString::number(bets_[i][2])});
    fill(grdcode_, rows);
    rows.clear();
    for (int i = 0; i < hits_.size(); ++i)
        rows.push_back({QString::number(hits_.issue[i]),
                        hits_.distance[i] == 0 ? QStringLiteral("●") : QString::number(hits_.distance[i])});
    fill(grdsep_, rows);
    rows.clear();
    for (const IntervalStat& st : intervalStatistics(hits_))
        rows.push_back({QString::number(st.interval), QString::number(st.run), QString::number(st.count)});
    fill(grdsepmode_, rows);
}

void Tfrmtozi::showRun(const RunResult& r, bool equalWidths)
{
    edtallwin_->setText(QString::number(r.surplus));
    std::vector<QStringList> rows;
    for (const Cycle& c : r.cycles) {
        QStringList cells;
        for (std::int64_t v : {c.step, c.multiplier, c.stake, c.total, c.prize, c.net, c.rate})
            cells << QString::number(v);
        rows.push_back(cells);
    }
    fill(grdtozi_, rows);
    if (equalWidths)
        grdtozi_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void Tfrmtozi::btnalaClick()
{
    if (hits_.size() == 0) {
        showWarning(this, QString::fromUtf8(kGenerateFirst));
        return;
    }
    const ModeSettings s = readSettings();
    if (s.bets < 1) {
        showError(this, QString::fromUtf8(playTypeCountMessage(s.type)));
        return;
    }
    Simulator sim(hits_);
    const RunResult r = sim.run(s);
    showRun(r, true);
    if (!r.message.empty())
        showInformation(this, q(r.message));
}

void Tfrmtozi::setSearchControls(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{btnala_, btnfilt_, btnclear_, btnclose_, tlbtnsave_, tlbtnload_,
                                                      tlbtnprint_, grptozi_})
        w->setEnabled(enabled);
}

void Tfrmtozi::btnyouhuaClick()
{
    if (worker_.joinable()) {
        stop_ = true; // taken up between two runs
        return;
    }
    if (hits_.size() == 0) {
        showWarning(this, QString::fromUtf8(kGenerateFirst));
        return;
    }
    const ModeSettings s = readSettings();
    if (s.bets < 1) {
        showError(this, QString::fromUtf8(playTypeCountMessage(s.type)));
        return;
    }
    btnyouhua_->setText(QStringLiteral("停止搜索"));
    grdtozi_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setSearchControls(false);
    pb_->setRange(0, searchRunCount(s));
    pb_->setValue(0);
    pb_->show();
    stop_ = false;
    // The worker runs on its own copies; the window hears of progress and
    // the result through queued calls on its own thread.
    worker_ = std::thread([this, s, hits = hits_] {
        Simulator sim(hits);
        int done = 0;
        const SearchResult r = searchSettings(sim, s, &stop_, [&](int, int, int, std::int64_t) {
            if (++done % 50 == 0)
                QMetaObject::invokeMethod(this, [this, done] { pb_->setValue(done); }, Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(this, [this, r] { finishSearch(r); }, Qt::QueuedConnection);
    });
}

void Tfrmtozi::finishSearch(SearchResult r)
{
    if (worker_.joinable())
        worker_.join();
    ModeSettings s = readSettings();
    s.gapRunsPos = r.gapRunsPos;
    s.waitPos = r.waitPos;
    s.repPos = r.repPos;
    comsepnum_->setCurrentIndex(s.gapRunsPos);
    comtozisep_->setCurrentIndex(s.waitPos);
    comtozirep_->setCurrentIndex(s.repPos);
    Simulator sim(hits_);
    showRun(sim.run(s, true), false); // no messages during a search
    setSearchControls(true);
    chksepmodeClick();
    pb_->hide();
    btnyouhua_->setText(QStringLiteral("搜索"));
    emit searchFinished();
}

bool Tfrmtozi::refuseWithoutBets()
{
    if (bets_.empty()) {
        showWarning(this, QString::fromUtf8(kGenerateFirst));
        return true;
    }
    return false;
}

QString Tfrmtozi::proposedName(const char* ending) const
{
    return ProgramDir() + QStringLiteral("附属/") + q(context_.state.CurrentLottery().name) +
           QString::fromUtf8(playTypeText(optzhuzhi_->checkedId())) + QString::fromUtf8(ending);
}

void Tfrmtozi::mnucodesaveClick()
{
    if (refuseWithoutBets())
        return;
    const QString file = dialogs().saveFileName(this, ProgramDir() + QStringLiteral("附属"),
                                                proposedName("投资模式投注号码.txt"), textFileFilter(), "txt");
    if (file.isEmpty())
        return;
    saveBetsFile(fsPath(file), optzhuzhi_->checkedId(), bets_);
    showInformation(this, QStringLiteral("成功保存！"));
}

void Tfrmtozi::mnusetsaveClick()
{
    const ModeSettings s = readSettings();
    const QString file = dialogs().saveFileName(this, ProgramDir() + QStringLiteral("附属"),
                                                proposedName("投资模式设置.txt"), textFileFilter(), "txt");
    if (file.isEmpty())
        return;
    saveSettingsFile(fsPath(file), s);
    showInformation(this, QStringLiteral("成功保存！"));
}

void Tfrmtozi::mnubothsaveClick()
{
    if (refuseWithoutBets())
        return;
    const ModeSettings s = readSettings();
    const QString file = dialogs().saveFileName(this, ProgramDir() + QStringLiteral("附属"),
                                                proposedName("投资模式投注号码和设置.txt"), textFileFilter(), "txt");
    if (file.isEmpty())
        return;
    saveBothFile(fsPath(file), s, bets_);
    showInformation(this, QStringLiteral("成功保存！"));
}

template <class Loaded, class Load>
std::optional<Loaded> Tfrmtozi::loadChosen(const char* ending, Load load)
{
    const QString file = dialogs().openFileName(this, ProgramDir() + QStringLiteral("附属"), proposedName(ending),
                                                textFileFilter());
    if (file.isEmpty())
        return std::nullopt;
    try {
        return load(fsPath(file));
    } catch (const Error& e) {
        showError(this, q(e.what()));
        return std::nullopt;
    }
}

void Tfrmtozi::mnucodeloadClick()
{
    if (!checkLottery())
        return;
    std::optional<LoadedBets> lb =
        loadChosen<LoadedBets>("投资模式投注号码.txt", [](const auto& path) { return loadBetsFile(path); });
    if (!lb)
        return;
    if (optzhuzhi_->checkedId() != lb->type) {
        optzhuzhi_->button(lb->type)->setChecked(true);
        optzhuzhiClick();
    }
    edtjushu_->setText(QString::number(lb->count));
    bets_ = std::move(lb->bets);
    betsChanged();
}

void Tfrmtozi::mnusetloadClick()
{
    const std::optional<ModeSettings> s = loadChosen<ModeSettings>(
        "投资模式设置.txt", [](const auto& path) { return loadSettingsFile(path, ModeSettings{}); });
    if (s)
        showSettings(*s);
}

void Tfrmtozi::mnubothloadClick()
{
    if (!checkLottery())
        return;
    std::optional<LoadedBoth> lb = loadChosen<LoadedBoth>(
        "投资模式投注号码和设置.txt", [](const auto& path) { return loadBothFile(path, ModeSettings{}); });
    if (!lb)
        return;
    showSettings(lb->settings);
    bets_ = std::move(lb->bets.bets);
    betsChanged();
    btnalaClick();
}

QString Tfrmtozi::printTitle(const char* what) const
{
    const DrawHistory& h = context_.state.DrawHistory();
    return q(context_.state.CurrentLottery().name) + QStringLiteral("  ") +
           QString::number(h.empty() ? 0 : h.issue(h.size() - 1)) + QStringLiteral("期") +
           QString::fromUtf8(playTypeText(optzhuzhi_->checkedId())) + QString::fromUtf8(what);
}

bool Tfrmtozi::printBetsTo(QPrinter& printer)
{
    QStringList texts;
    for (const Bet& b : bets_)
        texts << QStringLiteral("%1%2%3").arg(b[0]).arg(b[1]).arg(b[2]);
    return printBetBlocks(printer, printTitle("投注号码"),
                          QStringLiteral("共%1注 打印日期:").arg(bets_.size()) + printDate(), texts) > 0;
}

bool Tfrmtozi::printSettingsTo(QPrinter& printer)
{
    std::vector<std::pair<QString, QString>> lines;
    for (const auto& [left, right] : modeSettingsPrintLines(readSettings(), edtallwin_->text().toStdString()))
        lines.emplace_back(q(left), q(right));
    return printTwoColumns(printer, printTitle("投资模式设置"), QStringLiteral("打印日期:") + printDate(), lines);
}

void Tfrmtozi::mnucodeprintClick()
{
    if (bets_.empty()) {
        showInformation(this, QStringLiteral("请先生成表格！"));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted && !printBetsTo(printer))
        showError(this, QStringLiteral("请安装打印机！"));
}

void Tfrmtozi::mnusetprintClick()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted && !printSettingsTo(printer))
        showError(this, QStringLiteral("请安装打印机！"));
}

} // namespace zelvor
