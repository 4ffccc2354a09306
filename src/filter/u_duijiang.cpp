#include "filter/u_duijiang.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "ui/bet_list_view.h"
#include "ui/dialogs.h"
#include "ui/errors.h"
#include "ui/event_pump.h"
#include "ui/history_grid.h"

namespace zelvor {

namespace {

const QString kAllHistory = QStringLiteral("全部历史");
const QString kWinners = QStringLiteral("中奖号码：");

QString yuan(std::int64_t v) { return QString::number(v) + QStringLiteral("元"); }

QString two(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

Tfrmduijiang::Tfrmduijiang(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), context_(context)
{
    setObjectName("frmduijiang");
    setWindowTitle(QStringLiteral("对奖"));
    auto* root = new QVBoxLayout(this);

    auto* fileRow = new QHBoxLayout;
    root->addLayout(fileRow);
    fileRow->addWidget(new QLabel(QStringLiteral("投注文件："), this));
    edtfile_ = new QLineEdit(this);
    edtfile_->setObjectName("edtfile");
    edtfile_->setReadOnly(true);
    fileRow->addWidget(edtfile_, 1);
    btnfile_ = new QPushButton(QStringLiteral("选择文件"), this);
    btnfile_->setObjectName("btnfile");
    connect(btnfile_, &QPushButton::clicked, this, &Tfrmduijiang::btnfileClick);
    fileRow->addWidget(btnfile_);

    auto* drawRow = new QHBoxLayout;
    root->addLayout(drawRow);
    drawRow->addWidget(new QLabel(QStringLiteral("开奖期号："), this));
    comqi_ = new QComboBox(this);
    comqi_->setObjectName("comqi");
    comqi_->setMinimumContentsLength(10);
    // "全部历史", then the issues newest first; the newest is the default.
    const DrawHistory& h = context_.state.DrawHistory();
    comqi_->addItem(kAllHistory);
    for (int i = h.size() - 1; i >= 0; --i)
        comqi_->addItem(QString::number(h.issue(i)));
    comqi_->setCurrentIndex(h.empty() ? 0 : 1);
    drawRow->addWidget(comqi_);
    btncheck_ = new QPushButton(QStringLiteral("对奖"), this);
    btncheck_->setObjectName("btncheck");
    connect(btncheck_, &QPushButton::clicked, this, &Tfrmduijiang::btncheckClick);
    drawRow->addWidget(btncheck_);
    btnstop_ = new QPushButton(QStringLiteral("停止"), this);
    btnstop_->setObjectName("btnstop");
    connect(btnstop_, &QPushButton::clicked, this, &Tfrmduijiang::btnstopClick);
    drawRow->addWidget(btnstop_);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName("btnclose");
    connect(close, &QPushButton::clicked, this, &Tfrmduijiang::btncloseClick);
    drawRow->addWidget(close);
    drawRow->addStretch(1);

    pb_ = new QProgressBar(this);
    pb_->setObjectName("pb");
    pb_->hide();
    root->addWidget(pb_);

    lbldraw_ = new QLabel(this);
    lbldraw_->setObjectName("lbldraw");
    root->addWidget(lbldraw_);

    auto* split = new QSplitter(Qt::Vertical, this);
    root->addWidget(split, 1);
    auto* top = new QWidget(split);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    grdprize_ = new QTableWidget(0, 4, top);
    grdprize_->setObjectName("grdprize");
    grdprize_->setHorizontalHeaderLabels(
        {QStringLiteral("奖级"), QStringLiteral("中奖注数"), QStringLiteral("单注奖金"), QStringLiteral("奖金合计")});
    grdprize_->verticalHeader()->hide();
    grdprize_->verticalHeader()->setDefaultSectionSize(grdprize_->fontMetrics().height() + 6);
    grdprize_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdprize_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    topLayout->addWidget(grdprize_, 1);
    lblsum_ = new QLabel(top);
    lblsum_->setObjectName("lblsum");
    topLayout->addWidget(lblsum_);
    split->addWidget(top);

    grdhistory_ = new HistoryGrid(split);
    grdhistory_->setObjectName("grdhistory");
    grdhistory_->hide();
    connect(grdhistory_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { grdhistoryClick(index.row()); });
    connect(grdhistory_, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { grdhistoryClick(index.row()); });
    split->addWidget(grdhistory_);

    auto* bottom = new QWidget(split);
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    lblwin_ = new QLabel(kWinners, bottom);
    lblwin_->setObjectName("lblwin");
    bottomLayout->addWidget(lblwin_);
    lstwin_ = new BetListView(bottom);
    lstwin_->setObjectName("lstwin");
    bottomLayout->addWidget(lstwin_, 1);
    split->addWidget(bottom);

    resize(860, 680);
}

Tfrmduijiang::~Tfrmduijiang() = default;

void Tfrmduijiang::btnfileClick()
{
    if (running_)
        return;
    const QString file = dialogs().openFileName(this, ShellFolderPath("Desktop"), QString(), textFileFilter());
    if (file.isEmpty())
        return;
    edtfile_->setText(QDir::toNativeSeparators(file));
    betsLoaded_ = false;
}

bool Tfrmduijiang::loadBets(PrizeGame game)
{
    const QString file = QDir::fromNativeSeparators(edtfile_->text());
    const QFileInfo info(file);
    if (betsLoaded_ && bets_.game == game && file == betsFile_ && info.lastModified() == betsStamp_
        && info.size() == betsSize_)
        return true;
    betsLoaded_ = false;
    bets_ = PrizeBets{game, {}, 0};
    EventPump pump;
    PrizeBetsLoad load = loadPrizeBets(game, fsPath(file), progressFor(pump, pb_, [this] { return !stopRequested_; }));
    switch (load.status) {
    case PrizeBetsLoad::Status::Loaded:
        bets_ = std::move(load.bets);
        betsFile_ = file;
        betsStamp_ = info.lastModified();
        betsSize_ = info.size();
        betsLoaded_ = true;
        return true;
    case PrizeBetsLoad::Status::Refused:
        pendingError_ = QString::fromStdString(load.message);
        return false;
    case PrizeBetsLoad::Status::Failed:
        pendingGeneralError_ = QString::fromStdString(load.message);
        return false;
    default:
        return false;
    }
}

QString Tfrmduijiang::drawText(int i) const
{
    const DrawHistory& h = context_.state.DrawHistory();
    const bool digits = context_.state.CurrentLottery().digitsFromZero();
    QStringList main;
    for (const int n : h.main(i))
        main << (digits ? QString::number(n) : two(n));
    QString text = main.join(' ');
    for (const int s : h.special(i))
        text += '+' + two(s);
    return text;
}

void Tfrmduijiang::showTally(const PrizeTally& tally, std::int64_t draws)
{
    const auto& levels = prizeLevels(bets_.game);
    grdprize_->setRowCount(static_cast<int>(levels.size()));
    for (int l = 0; l < static_cast<int>(levels.size()); ++l) {
        const PrizeLevel& level = levels[static_cast<std::size_t>(l)];
        const std::int64_t count = tally.counts[static_cast<std::size_t>(l)];
        QString amount = QString::fromStdString(prizeAmountText(level));
        QString total = amount;
        if (level.kind == PrizeLevel::Amount::Fixed) {
            amount = yuan(level.yuan);
            total = yuan(count * level.yuan);
        }
        const QString cells[4] = {QString::fromUtf8(level.name), QString::number(count), amount, total};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            grdprize_->setItem(l, c, item);
        }
    }
    const std::int64_t cost = bets_.cost() * draws;
    QString sum = QStringLiteral("投注：%1注").arg(bets_.betCount);
    if (draws != 1)
        sum = QStringLiteral("对奖期数：%1期  ").arg(draws) + sum + QStringLiteral("/期");
    sum += QStringLiteral("  成本：") + yuan(cost) + QStringLiteral("  固定奖金合计：") + yuan(tally.fixedTotal);
    lblsum_->setText(sum);
}

bool Tfrmduijiang::showWinners(int drawIndex)
{
    if (!listDir_ || !listDir_->isValid())
        listDir_ = std::make_unique<QTemporaryDir>();
    const QString list = listDir_->filePath(QStringLiteral("winners.txt"));
    EventPump pump;
    const FileWriteResult w =
        writeWinningBets(fsPath(list), bets_, prizeDraw(bets_.game, context_.state.DrawHistory(), drawIndex),
                         progressFor(pump, pb_, [this] { return !stopRequested_; }));
    if (w.status == FileWriteResult::Status::Failed) {
        pendingGeneralError_ = QString::fromStdString(w.error);
        return false;
    }
    if (!w.ok())
        return false;
    if (!lstwin_->showListFile(list, progressFor(pump, pb_, [this] { return !stopRequested_; }))) {
        if (!stopRequested_)
            pendingGeneralError_ = lstwin_->error();
        return false;
    }
    lblwin_->setText(kWinners + QString::number(w.lines) + QStringLiteral("注"));
    return true;
}

void Tfrmduijiang::btncheckClick()
{
    if (running_)
        return;
    const LotteryParams& lottery = context_.state.CurrentLottery();
    const DrawHistory& history = context_.state.DrawHistory();
    if (edtfile_->text().isEmpty()) {
        showError(this, QStringLiteral("请先选择投注文件！"));
        return;
    }
    const std::optional<PrizeGame> game = prizeGameFor(lottery);
    if (!game) {
        showError(this, QStringLiteral("本彩票没有对奖规则！"));
        return;
    }
    if (history.empty()) {
        showError(this, QStringLiteral("本彩票还没有开奖号码！"));
        return;
    }
    stopRequested_ = false;
    {
        BusyScope busy(this, running_, {btnfile_, btncheck_, comqi_}, pb_);
        check(*game);
    }
    showPendingErrors();
}

void Tfrmduijiang::showPendingErrors()
{
    // Shown once the busy section has put the window back.
    if (!pendingError_.isEmpty())
        showError(this, pendingError_);
    if (!pendingGeneralError_.isEmpty())
        showGeneralError(pendingGeneralError_);
    pendingError_.clear();
    pendingGeneralError_.clear();
}

void Tfrmduijiang::check(PrizeGame game)
{
    const DrawHistory& history = context_.state.DrawHistory();
    // Nothing of an earlier check stays on show, whatever happens next.
    grdprize_->setRowCount(0);
    lblsum_->clear();
    lbldraw_->clear();
    lstwin_->clear();
    lblwin_->setText(kWinners);
    grdhistory_->hide();
    grdhistory_->setTable({}, 0, [](int, int) { return QString(); });
    history_ = {};
    if (!loadBets(game))
        return;
    if (bets_.masks.empty()) {
        pendingError_ = QStringLiteral("投注文件中没有投注号码！");
        return;
    }

    if (comqi_->currentIndex() <= 0) {
        EventPump pump;
        HistoryPrizeCheck r = checkHistory(bets_, history, progressFor(pump, pb_, [this] { return !stopRequested_; }));
        if (r.stopped)
            return;
        history_ = std::move(r);
        const std::vector<std::string>& dates = context_.state.DrawDates();
        const auto& levels = prizeLevels(bets_.game);
        QStringList header{QStringLiteral("期号"), QStringLiteral("日期")};
        for (const PrizeLevel& l : levels)
            header << QString::fromUtf8(l.name);
        header << QStringLiteral("固定奖金");
        const int levelCount = static_cast<int>(levels.size());
        grdhistory_->setTable(header, static_cast<int>(history_.rows.size()),
                              [this, &history, &dates, levelCount](int row, int column) -> QString {
                                  const HistoryPrizeRow& r = history_.rows[static_cast<std::size_t>(row)];
                                  if (column == 0)
                                      return QString::number(history.issue(r.drawIndex));
                                  if (column == 1)
                                      return r.drawIndex < static_cast<int>(dates.size())
                                                 ? QString::fromStdString(dates[static_cast<std::size_t>(r.drawIndex)])
                                                 : QString();
                                  if (column - 2 < levelCount) {
                                      const std::int64_t n = r.tally.counts[static_cast<std::size_t>(column - 2)];
                                      return n ? QString::number(n) : QString();
                                  }
                                  return QString::number(r.tally.fixedTotal);
                              });
        grdhistory_->show();
        lbldraw_->setText(QStringLiteral("全部历史：%1期至%2期，共%3期，中奖%4期")
                              .arg(history.issue(0))
                              .arg(history.issue(history.size() - 1))
                              .arg(history_.draws)
                              .arg(history_.rows.size()));
        showTally(history_.totals, history_.draws);
        return;
    }

    const int drawIndex = history.size() - comqi_->currentIndex();
    const PrizeTally tally = checkDraw(bets_, prizeDraw(bets_.game, history, drawIndex));
    QString caption = QStringLiteral("第%1期").arg(history.issue(drawIndex));
    const std::vector<std::string>& dates = context_.state.DrawDates();
    if (drawIndex < static_cast<int>(dates.size()) && !dates[static_cast<std::size_t>(drawIndex)].empty())
        caption += QStringLiteral("（%1）").arg(QString::fromStdString(dates[static_cast<std::size_t>(drawIndex)]));
    lbldraw_->setText(caption + QStringLiteral("开奖号码：") + drawText(drawIndex));
    showTally(tally, 1);
    showWinners(drawIndex);
}

void Tfrmduijiang::grdhistoryClick(int row)
{
    if (running_ || row < 0 || row >= static_cast<int>(history_.rows.size()))
        return;
    const int drawIndex = history_.rows[static_cast<std::size_t>(row)].drawIndex;
    const DrawHistory& history = context_.state.DrawHistory();
    if (drawIndex >= history.size())
        return;
    stopRequested_ = false;
    {
        BusyScope busy(this, running_, {btnfile_, btncheck_, comqi_}, pb_);
        lstwin_->clear();
        lblwin_->setText(kWinners);
        if (showWinners(drawIndex))
            lblwin_->setText(QStringLiteral("第%1期").arg(history.issue(drawIndex)) + kWinners
                             + QString::number(lstwin_->lineCount()) + QStringLiteral("注"));
    }
    showPendingErrors();
}

} // namespace zelvor
