#include "analysis/u_piantai.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <algorithm>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "data/lottery_state.h"
#include "ui/bar_chart.h"
#include "ui/dialogs.h"

namespace zelvor {

const OmissionWindowKind& skewStateWindow()
{
    static const OmissionWindowKind k{"Tfrmpiantai", "中奖偏态分析选号", "目前遗漏", OmissionKind::SkewState};
    return k;
}

const OmissionWindowKind& backfillWindow()
{
    static const OmissionWindowKind k{"Tfrmyilou", "中奖回补分析选号", "前次遗漏", OmissionKind::Backfill};
    return k;
}

Tfrmpiantai::Tfrmpiantai(AppContext& context, QWidget* parent) : Tfrmpiantai(context, skewStateWindow(), parent) {}

Tfrmpiantai::Tfrmpiantai(AppContext& context, const OmissionWindowKind& kind, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), context_(context), kind_(kind)
{
    setObjectName(QString::fromUtf8(kind.className).mid(1));
    setWindowTitle(QString::fromUtf8(kind.caption));
    const QString column5 = QString::fromUtf8(kind.column5);

    auto* root = new QVBoxLayout(this);
    grid_ = new QTableWidget(this);
    grid_->setObjectName("tabhistory");
    grid_->setColumnCount(8);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    QStringList header;
    for (const std::string& h : omissionHeader(kind.kind))
        header << QString::fromStdString(h);
    grid_->setHorizontalHeaderLabels(header);
    // Eight equal columns across the view, none narrower than its heading.
    int widest = 0;
    for (const QString& h : header)
        widest = std::max(widest, grid_->horizontalHeader()->fontMetrics().horizontalAdvance(h));
    grid_->horizontalHeader()->setMinimumSectionSize(widest + 16);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    root->addWidget(grid_, 3);

    chart_ = new BarChart(this);
    chart_->setObjectName("chthistory");
    chart_->setTitle(QStringLiteral("总体中奖分析图表"));
    root->addWidget(chart_, 3);

    auto* controls = new QHBoxLayout;
    root->addLayout(controls);
    marks_ = new QCheckBox(QStringLiteral("显示标注"), this);
    marks_->setObjectName("chkhistorybiao");
    controls->addWidget(marks_);
    const QString chkTexts[4] = {QStringLiteral("追号价值"), column5, QStringLiteral("中奖总次数"),
                                 QStringLiteral("历史最大遗漏")};
    for (int i = 0; i < 4; ++i) {
        chk_[i] = new QCheckBox(chkTexts[i], this);
        chk_[i]->setObjectName(QStringLiteral("chk%1").arg(i));
        chk_[i]->setChecked(true);
        controls->addWidget(chk_[i]);
        connect(chk_[i], &QCheckBox::clicked, this, [this] { DrawChart(); });
    }
    connect(marks_, &QCheckBox::clicked, this, [this] { DrawChart(); });

    auto* opt = new QGroupBox(this);
    opt->setObjectName("optqianhou");
    auto* optLayout = new QHBoxLayout(opt);
    red_ = new QRadioButton(QStringLiteral("红球"), opt);
    blue_ = new QRadioButton(QStringLiteral("蓝球"), opt);
    red_->setChecked(true);
    optLayout->addWidget(red_);
    optLayout->addWidget(blue_);
    auto* group = new QButtonGroup(opt);
    group->addButton(red_, 0);
    group->addButton(blue_, 1);
    connect(group, &QButtonGroup::idClicked, this, [this](int) { optqianhouClick(); });
    controls->addWidget(opt);

    auto addButton = [&](const QString& text, const char* name, void (Tfrmpiantai::*handler)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, handler);
        controls->addWidget(b);
        return b;
    };
    QPushButton* ala = addButton(QStringLiteral("分析"), "btnala", &Tfrmpiantai::btnalaClick);
    ala->setDefault(true);
    addButton(QStringLiteral("追号价值排序"), "Button1", &Tfrmpiantai::Button1Click);
    addButton(column5 + QStringLiteral("排序"), "Button2", &Tfrmpiantai::Button2Click);
    addButton(QStringLiteral("总次数排序"), "Button3", &Tfrmpiantai::Button3Click);
    addButton(QStringLiteral("关闭"), "Button4", &Tfrmpiantai::Button4Click);

    resize(900, 640);
    compute(OmissionSort::Number);
}

void Tfrmpiantai::optqianhouClick()
{
    // Takes effect at the next button.
    balls_ = blue_->isChecked() ? OmissionBalls::Blue : OmissionBalls::Red;
}

void Tfrmpiantai::compute(OmissionSort mode)
{
    const LotteryParams& lottery = context_.state.CurrentLottery();
    const std::string refusal = omissionRefusal(lottery, balls_);
    if (!refusal.empty()) {
        rows_.clear();
        fillGrid();
        DrawChart();
        showError(this, QString::fromStdString(refusal));
        return;
    }
    rows_ = omissionTable(kind_.kind, omissionDraws(lottery, context_.state.DrawHistory(), balls_));
    sortOmissionRows(rows_, mode);
    fillGrid();
    DrawChart();
}

void Tfrmpiantai::fillGrid()
{
    grid_->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r)
        for (int c = 0; c < 8; ++c)
            grid_->setItem(r, c, new QTableWidgetItem(QString::fromStdString(rows_[static_cast<std::size_t>(r)].cells[c])));
}

void Tfrmpiantai::DrawChart()
{
    QStringList categories;
    QList<BarSetData> sets = {
        {"Series1", QStringLiteral("追号价值"), QColor(Qt::red), {}, chk_[0]->isChecked()},
        {"Series2", QString::fromUtf8(kind_.column5), QColor(Qt::green), {}, chk_[1]->isChecked()},
        {"Series3", QStringLiteral("中奖次数"), QColor(Qt::yellow), {}, chk_[2]->isChecked()},
        {"Series4", QStringLiteral("历史最大遗漏"), QColor(Qt::blue), {}, chk_[3]->isChecked()},
    };
    for (const OmissionRow& row : rows_) {
        categories << QString::fromStdString(row.cells[0]);
        sets[0].values << static_cast<int>(std::min<std::int64_t>(row.chase, INT32_MAX));
        sets[1].values << row.reported;
        sets[2].values << row.wins;
        sets[3].values << row.longestGap;
    }
    chart_->setBars(categories, sets, marks_->isChecked());
}

} // namespace zelvor
