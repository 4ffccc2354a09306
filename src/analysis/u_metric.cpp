#include "analysis/u_metric.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "common/error.h"
#include "data/lottery_state.h"
#include "ui/bar_chart.h"
#include "ui/dialogs.h"
#include "ui/history_grid.h"
#include "ui/recent_count.h"

namespace zelvor {

// --------------------------------------------------------------- MetricWindow

MetricWindow::MetricWindow(const MetricWindowDescriptor& descriptor, AppContext& context, QWidget* parent)
    : QWidget(parent), d_(descriptor), context_(context)
{
    setObjectName(QString::fromUtf8(d_.className).mid(1)); // "frmdaxiao"
    setWindowTitle(QString::fromUtf8(d_.caption));

    Label1_ = new QLabel(QStringLiteral("历史走势："), this);
    Label1_->setObjectName("Label1");
    tabhistory_ = new HistoryGrid(this);
    tabhistory_->setObjectName("tabhistory");

    chthistory_ = new BarChart(this);
    chthistory_->setObjectName("chthistory");
    chthistory_->setTitle(QString::fromUtf8(d_.chartTitle));

    GroupBox1_ = new QGroupBox(this);
    GroupBox1_->setObjectName("GroupBox1");
    chkhistorybiao_ = new QCheckBox(QStringLiteral("显示标注"), GroupBox1_);
    chkhistorybiao_->setObjectName("chkhistorybiao");
    auto* groupLayout = new QHBoxLayout(GroupBox1_);
    groupLayout->setContentsMargins(8, 4, 8, 4);
    groupLayout->addWidget(chkhistorybiao_);

    Label5_ = new QLabel(QStringLiteral("总结："), this);
    Label5_->setObjectName("Label5");
    mem_ = new QPlainTextEdit(this);
    mem_->setObjectName("mem");
    mem_->setReadOnly(true);
    mem_->setMinimumHeight(mem_->fontMetrics().lineSpacing() * 7 + 12);

    Label6_ = new QLabel(QStringLiteral("最近统计期数："), this);
    Label6_->setObjectName("Label6");
    comzuijingqishu_ = makeRecentCountBox(this);
    btntongji_ = new QPushButton(QStringLiteral("重新统计"), this);
    btntongji_->setObjectName("btntongji");
    btntongji_->setDefault(true);

    // Grid on the left; chart on the right above the summary and the controls.
    QWidget* left = historyColumn(Label1_, tabhistory_, this);

    auto* controls = new QVBoxLayout();
    controls->addWidget(GroupBox1_);
    auto* recentRow = new QHBoxLayout();
    recentRow->addWidget(Label6_);
    recentRow->addWidget(comzuijingqishu_, 1);
    controls->addLayout(recentRow);
    controls->addWidget(btntongji_);
    controls->addStretch(1);

    auto* summary = new QVBoxLayout();
    summary->addWidget(Label5_);
    summary->addWidget(mem_, 1);

    auto* bottom = new QHBoxLayout();
    bottom->addLayout(summary, 1);
    bottom->addLayout(controls);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(chthistory_, 1);
    rightLayout->addLayout(bottom);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({420, 900});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter);

    // Opening: R = 3, the box lists every draw count, then the first view.
    const int D = context_.state.DrawCount();
    R_ = kDefaultRecentCount;
    fillRecentCountBox(comzuijingqishu_, D);
    connectRecentCountBox(comzuijingqishu_, this, [this] { return comzuijingqishuChange(); },
                          [this] { btntongjiClick(); });
    connect(btntongji_, &QPushButton::clicked, this, [this] { btntongjiClick(); });
    connect(chkhistorybiao_, &QCheckBox::clicked, this, [this] { chkhistorybiaoClick(); });

    Compute(sourceAtOpening(d_, context_.state.TrendMode()));
    DrawChart();
}

void MetricWindow::Compute(TrendMode source)
{
    analysis_ = zelvor::Compute(d_, context_.state.historyFor(source), context_.state.CurrentLottery(), R_);

    QStringList header;
    for (const std::string& h : analysis_.header)
        header << QString::fromStdString(h);
    tabhistory_->setTable(header, static_cast<int>(analysis_.rows.size()), [this](int row, int column) {
        return QString::fromStdString(analysis_.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
    });

    QStringList lines;
    for (const std::string& line : analysis_.summary)
        lines << QString::fromStdString(line);
    mem_->setPlainText(lines.join('\n'));
}

void MetricWindow::DrawChart()
{
    const std::vector<ChartBar> bars = metricChartBars(analysis_.rows, R_);
    QStringList categories;
    BarSetData series{"Series1", QString::fromUtf8(d_.valueTitle), QColor(Qt::red), {}, true};
    for (const ChartBar& bar : bars) {
        categories << QString::fromStdString(bar.label);
        series.values << bar.value;
    }
    chthistory_->setBars(categories, {series}, chkhistorybiao_->isChecked());
}

bool MetricWindow::comzuijingqishuChange()
{
    return readRecentCount(this, comzuijingqishu_->currentText(), context_.state.DrawCount(), R_);
}

void MetricWindow::btntongjiClick()
{
    Compute(sourceAtRecount(d_, context_.state.TrendMode()));
    DrawChart();
}

void MetricWindow::chkhistorybiaoClick() { DrawChart(); }

void MetricWindow::trendChanged(TrendMode mode)
{
    Compute(mode);
    DrawChart();
}

} // namespace zelvor
