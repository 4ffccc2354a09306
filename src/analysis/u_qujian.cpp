#include "analysis/u_qujian.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/history_grid.h"
#include "ui/recent_count.h"
#include "data/lottery_state.h"
#include "ui/bar_chart.h"

namespace zelvor {

namespace {

// Series1 ... Series7: red, green, yellow, blue, white, gray, fuchsia.
const QColor kZoneColours[kMaxZoneCount] = {QColor(255, 0, 0),     QColor(0, 128, 0),   QColor(255, 255, 0),
                                            QColor(0, 0, 255),     QColor(255, 255, 255), QColor(128, 128, 128),
                                            QColor(255, 0, 255)};

} // namespace

Tfrmqujian::Tfrmqujian(AppContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setObjectName("frmqujian");
    setWindowTitle(QString::fromUtf8(kZoneWindowCaption));

    Label1_ = new QLabel(QStringLiteral("历史走势："), this);
    Label1_->setObjectName("Label1");
    tabhistory_ = new HistoryGrid(this);
    tabhistory_->setObjectName("tabhistory");
    chthistory_ = new BarChart(this);
    chthistory_->setObjectName("chthistory");
    chthistory_->setTitle(QString::fromUtf8(kZoneChartTitle));

    chkhistorybiao_ = new QCheckBox(QStringLiteral("显示标注"), this);
    chkhistorybiao_->setObjectName("chkhistorybiao");
    for (int z = 0; z < kMaxZoneCount; ++z) {
        auto* box = new QCheckBox(QString::number(z + 1) + QStringLiteral("区间"), this);
        box->setObjectName(QStringLiteral("chkqu%1").arg(z + 1));
        box->setChecked(z == 0);
        chkqu_[static_cast<std::size_t>(z)] = box;
        connect(box, &QCheckBox::clicked, this, [this] { chkquClick(); });
    }

    Label6_ = new QLabel(QStringLiteral("最近统计期数："), this);
    Label6_->setObjectName("Label6");
    comzuijingqishu_ = makeRecentCountBox(this);
    Label7_ = new QLabel(QStringLiteral("区间数："), this);
    Label7_->setObjectName("Label7");
    comqujian_ = new QComboBox(this);
    comqujian_->setObjectName("comqujian");
    for (int z = 1; z <= kMaxZoneCount; ++z)
        comqujian_->addItem(QString::number(z));
    btntongji_ = new QPushButton(QStringLiteral("开始统计"), this);
    btntongji_->setObjectName("btntongji");
    btntongji_->setDefault(true);

    QWidget* left = historyColumn(Label1_, tabhistory_, this);

    auto* boxes = new QHBoxLayout();
    for (QCheckBox* box : chkqu_)
        boxes->addWidget(box);
    boxes->addSpacing(12);
    boxes->addWidget(chkhistorybiao_);
    boxes->addStretch(1);
    auto* settings = new QHBoxLayout();
    settings->addWidget(Label6_);
    settings->addWidget(comzuijingqishu_);
    settings->addSpacing(12);
    settings->addWidget(Label7_);
    settings->addWidget(comqujian_);
    settings->addSpacing(12);
    settings->addWidget(btntongji_);
    settings->addStretch(1);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(chthistory_, 1);
    rightLayout->addLayout(boxes);
    rightLayout->addLayout(settings);

    // Grid above the chart: both want the full width (up to nine grid
    // columns; up to seven bars per draw and seven legend entries).
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter);

    // Opening: R = 3, Z = k (within 1..7), then the standard view.
    const int D = context_.state.DrawCount();
    R_ = kDefaultRecentCount;
    fillRecentCountBox(comzuijingqishu_, D);
    connectRecentCountBox(comzuijingqishu_, this, [this] { return comzuijingqishuChange(); },
                          [this] { btntongjiClick(); });
    comqujian_->setCurrentIndex(defaultZoneCount(context_.state.CurrentLottery().pickCount) - 1);
    comqujianChange();
    connect(comqujian_, &QComboBox::currentIndexChanged, this, [this] { comqujianChange(); });
    connect(btntongji_, &QPushButton::clicked, this, [this] { btntongjiClick(); });
    connect(chkhistorybiao_, &QCheckBox::clicked, this, [this] { chkhistorybiaoClick(); });

    Compute(TrendMode::Standard);
    DrawChart();
}

void Tfrmqujian::Compute(TrendMode source)
{
    const LotteryState& s = context_.state;
    analysis_ = ComputeZones(s.historyFor(source), s.CurrentLottery(), Z_, R_);

    QStringList header;
    for (const std::string& text : analysis_.header)
        header << QString::fromStdString(text);
    tabhistory_->setTable(header, static_cast<int>(analysis_.rows.size()), [this](int row, int column) {
        return QString::fromStdString(analysis_.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
    });
}

void Tfrmqujian::DrawChart()
{
    // Only the zones of the latest result table are drawn, so a zone count
    // chosen but not yet applied by "开始统计" cannot outrun the table.
    const std::vector<std::vector<ChartBar>> series = zoneChartSeries(analysis_, R_);
    const int n = static_cast<int>(analysis_.rows.size());
    const int R = limitRecentCount(R_, n);
    QStringList categories;
    for (int i = n - R; i < n; ++i)
        categories << QString::fromStdString(analysis_.rows[static_cast<std::size_t>(i)][0]);

    QList<BarSetData> sets;
    for (int z = 0; z < static_cast<int>(series.size()); ++z) {
        BarSetData data{QStringLiteral("Series%1").arg(z + 1),
                        QString::fromStdString(analysis_.seriesTitles[static_cast<std::size_t>(z)]),
                        kZoneColours[z],
                        {},
                        chkqu_[static_cast<std::size_t>(z)]->isChecked()};
        for (const ChartBar& bar : series[static_cast<std::size_t>(z)])
            data.values << bar.value;
        sets << data;
    }
    chthistory_->setBars(categories, sets, chkhistorybiao_->isChecked());
}

void Tfrmqujian::comqujianChange() { Z_ = comqujian_->currentIndex() + 1; }

bool Tfrmqujian::comzuijingqishuChange()
{
    return readRecentCount(this, comzuijingqishu_->currentText(), context_.state.DrawCount(), R_);
}

void Tfrmqujian::btntongjiClick()
{
    Compute(TrendMode::Standard);
    DrawChart();
}

void Tfrmqujian::trendChanged(TrendMode mode)
{
    Compute(mode);
    DrawChart();
}

} // namespace zelvor
