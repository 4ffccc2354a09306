#include "filter/u_huice.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/error.h"
#include "common/format.h"
#include "ui/bar_chart.h"
#include "ui/history_grid.h"
#include "ui/window_placement.h"

namespace zelvor {

namespace {

const QString kAll = QStringLiteral("全部");

QString percent(std::int64_t part, std::int64_t whole)
{
    return QString::fromStdString(oneDecimal(100.0 * static_cast<double>(part) / static_cast<double>(whole))) + "%";
}

QString rangeText(const BacktestRanges& r, RangeTest t)
{
    const auto i = static_cast<std::size_t>(t);
    return QStringLiteral("%1到%2").arg(r.lower[i]).arg(r.upper[i]);
}

} // namespace

Tfrmhuice::Tfrmhuice(std::function<void()> rerun, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), rerun_(std::move(rerun))
{
    setObjectName("frmhuice");
    setWindowTitle(QStringLiteral("条件回测"));

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(6);

    auto* top = new QHBoxLayout;
    auto* lblqishu = new QLabel(QStringLiteral("回测期数："), this);
    lblqishu->setObjectName("lblqishu");
    comqishu_ = new QComboBox(this);
    comqishu_->setObjectName("comqishu");
    comqishu_->setEditable(true);
    comqishu_->setInsertPolicy(QComboBox::NoInsert);
    comqishu_->addItems({"30", "50", "100", "200", "500", "1000", kAll});
    comqishu_->setCurrentText(QString::number(kDefaultBacktestDraws));
    btnhuice_ = new QPushButton(QStringLiteral("回测"), this);
    btnhuice_->setObjectName("btnhuice");
    btnclose_ = new QPushButton(QStringLiteral("关闭"), this);
    btnclose_->setObjectName("btnclose");
    top->addWidget(lblqishu);
    top->addWidget(comqishu_);
    top->addWidget(btnhuice_);
    top->addStretch(1);
    top->addWidget(btnclose_);
    root->addLayout(top);

    auto* summary = new QHBoxLayout;
    lblpass_ = new QLabel(this);
    lblpass_->setObjectName("lblpass");
    lblkept_ = new QLabel(this);
    lblkept_->setObjectName("lblkept");
    lblxiaolv_ = new QLabel(this);
    lblxiaolv_->setObjectName("lblxiaolv");
    summary->addWidget(lblpass_);
    summary->addSpacing(16);
    summary->addWidget(lblkept_);
    summary->addSpacing(16);
    summary->addWidget(lblxiaolv_);
    summary->addStretch(1);
    root->addLayout(summary);

    auto* body = new QHBoxLayout;
    grdhuice_ = new HistoryGrid(this);
    grdhuice_->setObjectName("grdhuice");
    body->addWidget(grdhuice_, 3);
    auto* side = new QVBoxLayout;
    grdfail_ = new QTableWidget(0, 3, this);
    grdfail_->setObjectName("grdfail");
    grdfail_->setHorizontalHeaderLabels({QStringLiteral("条件"), QStringLiteral("范围"), QStringLiteral("淘汰期数")});
    grdfail_->verticalHeader()->hide();
    grdfail_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdfail_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdfail_->setMaximumHeight(grdfail_->horizontalHeader()->sizeHint().height()
                               + RangeTestCount * grdfail_->verticalHeader()->defaultSectionSize() + 6);
    side->addWidget(grdfail_);
    chtfail_ = new BarChart(this);
    chtfail_->setObjectName("chtfail");
    chtfail_->setTitle(QStringLiteral("各条件淘汰期数"));
    side->addWidget(chtfail_, 1);
    body->addLayout(side, 2);
    root->addLayout(body, 1);

    connect(btnhuice_, &QPushButton::clicked, this, [this] { btnhuiceClick(); });
    connect(btnclose_, &QPushButton::clicked, this, [this] { close(); });
    resize(980, 620);
    placeOnFirstShow(this);
}

Tfrmhuice::RecentWish Tfrmhuice::recentWish() const
{
    RecentWish wish;
    const QString text = comqishu_->currentText().trimmed();
    if (text == kAll)
        return wish;
    int R = 0;
    if (!tryParseInteger(text.toStdString(), R))
        wish.problem = QString::fromStdString(integerConversionMessage(text.toStdString()));
    else if (R < 1)
        wish.problem = QStringLiteral("回测期数至少为1期！");
    else
        wish.recent = R;
    return wish;
}

void Tfrmhuice::btnhuiceClick()
{
    if (rerun_)
        rerun_();
}

void Tfrmhuice::setBusy(bool busy) { btnhuice_->setEnabled(!busy); }

void Tfrmhuice::showResult(const DrawHistory& history, const BacktestRanges& ranges, const BacktestReplay& replay,
                           const KeptShare& share)
{
    const std::vector<RangeTest> tests = ranges.tickedTests();
    const int R = replay.replayed();

    lblpass_->setText(R > 0 ? QStringLiteral("通过：%1/%2期（%3）").arg(replay.passed).arg(R).arg(percent(replay.passed, R))
                            : QStringLiteral("通过：0/0期"));
    lblkept_->setText(share.total > 0
                          ? QStringLiteral("保留：%1/%2注（%3）").arg(share.kept).arg(share.total).arg(percent(share.kept, share.total))
                          : QStringLiteral("保留：无法统计"));
    lblxiaolv_->setText(QStringLiteral("效率：") + QString::fromStdString(efficiencyText(replay.passed, R, share)));

    // One row per replayed draw, oldest first as the analysis grids list them.
    QStringList issues, numbers, results;
    for (const BacktestDraw& d : replay.draws) {
        issues << QString::number(d.issue);
        numbers << QString::fromStdString(numbersJoined(history.main(d.draw)));
        QStringList broken;
        for (RangeTest t : tests)
            if (d.broken & (1u << static_cast<int>(t)))
                broken << QString::fromUtf8(backtestConditionCaption(t));
        results << (broken.isEmpty() ? QStringLiteral("通过") : broken.join(QStringLiteral("、")));
    }
    grdhuice_->setTable({QStringLiteral("期号"), QStringLiteral("号码"), QStringLiteral("结果")}, R,
                        [issues, numbers, results](int row, int column) {
                            const QStringList& c = column == 0 ? issues : column == 1 ? numbers : results;
                            return row >= 0 && row < c.size() ? c[row] : QString();
                        });

    grdfail_->setRowCount(static_cast<int>(tests.size()));
    QStringList categories;
    BarSetData losses{QStringLiteral("Series1"), QStringLiteral("淘汰期数"), QColor(255, 50, 50), {}, true};
    for (int row = 0; row < static_cast<int>(tests.size()); ++row) {
        const RangeTest t = tests[static_cast<std::size_t>(row)];
        const QString caption = QString::fromUtf8(backtestConditionCaption(t));
        const int lost = replay.failures[static_cast<std::size_t>(t)];
        grdfail_->setItem(row, 0, new QTableWidgetItem(caption));
        grdfail_->setItem(row, 1, new QTableWidgetItem(rangeText(ranges, t)));
        grdfail_->setItem(row, 2, new QTableWidgetItem(QString::number(lost)));
        categories << caption;
        losses.values << lost;
    }
    chtfail_->setBars(categories, {losses}, true);
}

} // namespace zelvor
