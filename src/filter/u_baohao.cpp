#include "filter/u_baohao.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <fstream>

#include "common/error.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "ui/bet_list_view.h"
#include "ui/dialogs.h"
#include "ui/errors.h"
#include "ui/event_pump.h"
#include "ui/list_save.h"

namespace zelvor {

// What the worker and the window share; the worker writes, the window polls.
struct Tfrmbaohao::Search {
    std::vector<NumberSet> reds;
    int keep = 5;
    double seconds = 10;
    std::uint64_t seed = 0;
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
    std::atomic<std::int64_t> best{0};
    std::atomic<std::int64_t> elapsedMs{0};
    ListCoverResult result; // read by the window once done is set
};

namespace {

QString resultListPath() { return ProgramDir() + QStringLiteral("temp_baohao.txt"); }

} // namespace

Tfrmbaohao::Tfrmbaohao(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), context_(context)
{
    setObjectName("frmbaohao");
    setWindowTitle(QStringLiteral("保号缩水"));

    lblsource_ = new QLabel(QStringLiteral("原号码：无"), this);
    lblsource_->setObjectName("lblsource");
    btnlist_ = new QPushButton(QStringLiteral("当前列表"), this);
    btnlist_->setObjectName("btnlist");
    btnload_ = new QPushButton(QStringLiteral("载入"), this);
    btnload_->setObjectName("btnload");
    combao_ = new QComboBox(this);
    combao_->setObjectName("combao");
    combao_->addItems({"3", "4", "5"});
    combao_->setCurrentText("5");
    edtseconds_ = new QLineEdit(QStringLiteral("10"), this);
    edtseconds_->setObjectName("edtseconds");
    edtseconds_->setMaximumWidth(edtseconds_->fontMetrics().horizontalAdvance("00000") + 16);
    lblguarantee_ = new QLabel(QString::fromStdString(coverGuaranteeText(5)), this);
    lblguarantee_->setObjectName("lblguarantee");
    lblbest_ = new QLabel(this);
    lblbest_->setObjectName("lblbest");
    pb_ = new QProgressBar(this);
    pb_->setObjectName("pb");
    pb_->setTextVisible(false);
    pb_->setRange(0, 1000);
    pb_->hide();
    lblcode_ = new QLabel(QStringLiteral("过滤结果："), this);
    lblcode_->setObjectName("lblcode");
    memcode_ = new BetListView(this);
    memcode_->setMinimumWidth(memcode_->fontMetrics().horizontalAdvance(QStringLiteral("00000000    00 00 00 00 00 00+00"))
                              + 40);
    btnstart_ = new QPushButton(QStringLiteral("开始"), this);
    btnstart_->setObjectName("btnstart");
    btnstart_->setDefault(true);
    btnsave_ = new QPushButton(QStringLiteral("保存"), this);
    btnsave_->setObjectName("btnsave");
    btnclose_ = new QPushButton(QStringLiteral("关闭"), this);
    btnclose_->setObjectName("btnclose");

    auto* settings = new QGridLayout;
    settings->addWidget(lblsource_, 0, 0, 1, 4);
    settings->addWidget(btnlist_, 1, 0);
    settings->addWidget(btnload_, 1, 1);
    settings->addWidget(new QLabel(QStringLiteral("保中："), this), 2, 0);
    settings->addWidget(combao_, 2, 1);
    settings->addWidget(new QLabel(QStringLiteral("搜索时间（秒）："), this), 3, 0);
    settings->addWidget(edtseconds_, 3, 1);
    settings->addWidget(lblguarantee_, 4, 0, 1, 4);
    settings->addWidget(lblbest_, 5, 0, 1, 4);
    settings->addWidget(pb_, 6, 0, 1, 4);
    settings->setRowStretch(7, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(lblcode_);
    right->addWidget(memcode_, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(settings);
    top->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {btnstart_, btnsave_, btnclose_})
        buttons->addWidget(b);
    auto* root = new QVBoxLayout(this);
    root->addLayout(top, 1);
    root->addLayout(buttons);

    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, [this] { poll(); });
    connect(btnlist_, &QPushButton::clicked, this, [this] { btnlistClick(); });
    connect(btnload_, &QPushButton::clicked, this, [this] { btnloadClick(); });
    connect(btnstart_, &QPushButton::clicked, this, [this] { btnstartClick(); });
    connect(btnsave_, &QPushButton::clicked, this, [this] { btnsaveClick(); });
    connect(btnclose_, &QPushButton::clicked, this, [this] { btncloseClick(); });
    connect(combao_, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        lblguarantee_->setText(QString::fromStdString(coverGuaranteeText(t.toInt())));
    });
    resize(900, 640);
}

Tfrmbaohao::~Tfrmbaohao()
{
    if (search_)
        search_->stop = true;
    if (worker_.joinable())
        worker_.join();
}

bool Tfrmbaohao::takeBetFile(const QString& file)
{
    const LotteryParams& lottery = context_.state.CurrentLottery();
    if (lottery.kind != LotteryKind::Lotto || lottery.numberRange > 64) {
        showError(this, QStringLiteral("保号缩水只适用于乐透型彩票！"));
        return false;
    }
    const BetFileLoad load = loadBetFile(fsPath(file), betFileLoadOptions(BetFileReader::TotalFilter, lottery, {}));
    if (!load.ok()) {
        if (load.status == BetFileLoad::Status::Failed)
            showGeneralError(QString::fromStdString(load.error));
        return false;
    }
    CoverInput input = coverInput(load);
    if (input.reds.empty()) {
        showError(this, QStringLiteral("号码表格为空，无法缩水！"));
        return false;
    }
    input_ = std::move(input);
    return true;
}

void Tfrmbaohao::btnlistClick()
{
    if (running_)
        return;
    // The shown list carries sequence numbers: saved as a bet file aside first.
    const QString source = ListFilePath();
    const QString asBetFile = ProgramDir() + QStringLiteral("temp_baohao_source.txt");
    std::ifstream in(fsPath(source), std::ios::binary);
    if (!in) {
        showError(this, QStringLiteral("号码表格为空，无法缩水！"));
        return;
    }
    std::string line;
    const FileWriteResult saved = saveBetFile(fsPath(asBetFile), [&](std::string_view& out) {
        if (!std::getline(in, line))
            return false;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out = line;
        return true;
    });
    if (!saved.ok()) {
        showGeneralError(QString::fromStdString(saved.error));
        return;
    }
    const bool taken = takeBetFile(asBetFile);
    QFile::remove(asBetFile);
    if (taken) {
        sourceName_ = QStringLiteral("当前列表");
        lblsource_->setText(QStringLiteral("原号码：当前列表，%1组红球").arg(input_.reds.size()));
    }
}

void Tfrmbaohao::btnloadClick()
{
    if (running_)
        return;
    const QString file = dialogs().openFileName(this, ShellFolderPath("Desktop"), QString(), textFileFilter());
    if (file.isEmpty() || !takeBetFile(file))
        return;
    sourceName_ = file;
    lblsource_->setText(QStringLiteral("原号码：%1，%2组红球").arg(QFileInfo(file).fileName()).arg(input_.reds.size()));
}

void Tfrmbaohao::btnstartClick()
{
    if (running_) {
        requestStop();
        return;
    }
    if (input_.reds.empty()) {
        showError(this, QStringLiteral("号码表格为空，无法缩水！"));
        return;
    }
    int keep = 0;
    if (!tryParseInteger(combao_->currentText().toStdString(), keep)) {
        showError(this, QString::fromStdString(integerConversionMessage(combao_->currentText().toStdString())));
        return;
    }
    if (keep < 3 || keep > 5) {
        showError(this, QStringLiteral("保中号码数只能是3、4或5！"));
        return;
    }
    int seconds = 0;
    if (!tryParseInteger(edtseconds_->text().toStdString(), seconds)) {
        showError(this, QString::fromStdString(integerConversionMessage(edtseconds_->text().toStdString())));
        return;
    }
    if (seconds < 0) {
        showError(this, QStringLiteral("搜索时间不能小于0！"));
        return;
    }
    search_ = std::make_shared<Search>();
    search_->reds = input_.reds;
    search_->keep = keep;
    search_->seconds = seconds;
    search_->seed = context_.random.engine()();
    busy_ = std::make_unique<BusyScope>(this, running_, std::initializer_list<QWidget*>{btnlist_, btnload_, btnsave_, combao_, edtseconds_}, pb_);
    // The wait cursor of the busy scope is not wanted for a search that may
    // run a long while: the window stays usable.
    QGuiApplication::changeOverrideCursor(Qt::BusyCursor);
    btnstart_->setText(QStringLiteral("停止"));
    lblbest_->setText(QStringLiteral("正在建立初始组合……"));
    std::shared_ptr<Search> search = search_;
    worker_ = std::thread([search] {
        Random random(search->seed);
        search->result = coverList(search->reds, search->keep, search->seconds, random, [search](const ListCoverProgress& p) {
            search->best = p.bets;
            search->elapsedMs = static_cast<std::int64_t>(p.elapsedSeconds * 1000);
            return !search->stop.load();
        });
        search->done = true;
    });
    timer_->start();
}

void Tfrmbaohao::requestStop()
{
    if (search_)
        search_->stop = true;
}

void Tfrmbaohao::poll()
{
    if (!search_)
        return;
    if (const std::int64_t best = search_->best; best > 0)
        lblbest_->setText(QStringLiteral("当前最少：%1组红球").arg(best));
    if (search_->seconds > 0)
        pb_->setValue(static_cast<int>(std::min<std::int64_t>(1000, search_->elapsedMs / static_cast<std::int64_t>(search_->seconds))));
    if (!search_->done)
        return;
    timer_->stop();
    worker_.join();
    showResult();
}

void Tfrmbaohao::showResult()
{
    const std::shared_ptr<Search> search = std::move(search_);
    const bool stoppedForGood = search->stop && property("zelvorRetired").toBool();
    if (!stoppedForGood) {
        const QString list = resultListPath();
        SafeFileWriter out(fsPath(list));
        std::int64_t lines = 0;
        forEachCoverLine(search->result.bets, input_.blues, [&](std::string_view shown) {
            out.append(shown);
            out.append("\r\n");
            ++lines;
        });
        if (!out.commit()) {
            showGeneralError(QString::fromStdString(out.error()));
        } else {
            EventPump pump;
            memcode_->showListFile(list, progressFor(pump, pb_));
            lblcode_->setText(QStringLiteral("过滤结果：%1注").arg(lines));
            lblbest_->setText(QStringLiteral("最少：%1组红球（初始%2组）")
                                  .arg(search->result.bets.size())
                                  .arg(search->result.greedyBets));
        }
    }
    btnstart_->setText(QStringLiteral("开始"));
    busy_.reset(); // may delete a window closed for good meanwhile (later)
    emit finished();
}

void Tfrmbaohao::btnsaveClick()
{
    if (running_)
        return;
    if (memcode_->lineCount() == 0) {
        showError(this, QStringLiteral("号码表格为空，无法保存！"));
        return;
    }
    const QString proposed = QString::fromStdString(context_.state.CurrentLottery().name)
        + QStringLiteral("%1期保号缩水投注号码.txt").arg(context_.state.nextIssue());
    saveShownList(this, memcode_, proposed, running_, {btnlist_, btnload_, btnstart_, btnsave_});
}

} // namespace zelvor
