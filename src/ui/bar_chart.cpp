#include "ui/bar_chart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFontMetrics>
#include <QLegend>
#include <QSet>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace zelvor {

BarChart::BarChart(QWidget* parent) : QChartView(parent)
{
    auto* c = new QChart();
    c->legend()->setVisible(true);
    c->legend()->setAlignment(Qt::AlignTop);
    c->setBackgroundRoundness(0);
    c->setMargins(QMargins(4, 4, 4, 4));
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    c->setTitleFont(titleFont);

    series_ = new QBarSeries();
    series_->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    c->addSeries(series_);
    axisX_ = new QBarCategoryAxis();
    axisX_->setGridLineVisible(false);
    axisY_ = new QValueAxis();
    axisY_->setLabelFormat("%d");
    c->addAxis(axisX_, Qt::AlignBottom);
    c->addAxis(axisY_, Qt::AlignLeft);
    series_->attachAxis(axisX_);
    series_->attachAxis(axisY_);
    setChart(c);
    // The plot area settles after the view's resize; label room is judged on it.
    connect(c, &QChart::plotAreaChanged, this, [this] { layoutCategoryLabels(); });
    setRenderHint(QPainter::Antialiasing, false);
    setMinimumSize(240, 200);
}

void BarChart::setTitle(const QString& title) { chart()->setTitle(title); }
QString BarChart::title() const { return chart()->title(); }

void BarChart::setBars(const QStringList& categories, const QList<BarSetData>& sets, bool marks)
{
    marks_ = marks;
    // Marks off while filling: thousands of bars would each get a label
    // item that the layout below may not want.
    series_->setLabelsVisible(false);
    series_->clear();
    axisX_->clear();

    // The category axis keeps one entry per distinct text; a repeated issue
    // gets invisible trailing blanks so every bar keeps its own slot.
    categories_ = categories;
    QStringList unique;
    QSet<QString> seen;
    for (QString c : categories) {
        while (seen.contains(c))
            c += QLatin1Char(' ');
        seen.insert(c);
        unique << c;
    }
    if (!unique.isEmpty())
        axisX_->append(unique);

    int top = 0;
    for (const BarSetData& data : sets) {
        if (!data.visible)
            continue;
        auto* set = new QBarSet(data.title);
        set->setObjectName(data.name);
        set->setColor(data.colour);
        // A white bar needs an edge to be seen on the white plot.
        set->setBorderColor(data.colour.lightness() > 230 ? QColor(Qt::darkGray) : data.colour.darker(140));
        set->setLabelColor(Qt::black);
        for (int v : data.values) {
            set->append(v);
            top = std::max(top, v);
        }
        series_->append(set);
    }
    // Groups of several sets get wider bars, so each stays visible.
    series_->setBarWidth(series_->count() > 1 ? 0.8 : 0.5);
    series_->setLabelsFormat("@value");
    series_->setLabelsPrecision(6);

    // Nothing to plot: no category labels or value scale of an earlier chart
    // stay behind.
    if (series_->count() == 0 || unique.isEmpty()) {
        categories_.clear();
        axisX_->clear();
        top = 0;
    }
    setValueRange(top, marks);
    layoutCategoryLabels();
}

void BarChart::setValueRange(int top, bool marks)
{
    // Whole-number steps for small counts; round steps above that, with at
    // least four ticks either way. Marks need some room above the tallest bar.
    if (top <= 10) {
        const int upper = std::max(top + 1, kLeastTicks - 1);
        axisY_->setRange(0, upper);
        axisY_->setTickCount(upper + 1);
        return;
    }
    const double upper = std::ceil(top * (marks ? 1.12 : 1.05));
    // applyNiceNumbers starts from the tick count in force and leaves its own
    // result behind, so each chart starts afresh; a coarse result (0 and 200
    // alone) is refined with more ticks.
    for (int ticks = 6; ticks <= 12; ticks += 2) {
        axisY_->setRange(0, upper);
        axisY_->setTickCount(ticks);
        axisY_->applyNiceNumbers();
        if (axisY_->tickCount() >= kLeastTicks)
            break;
    }
}

QBarSet* BarChart::barSet(const QString& name) const
{
    for (QBarSet* set : series_->barSets())
        if (set->objectName() == name)
            return set;
    return nullptr;
}

QStringList BarChart::visibleSetNames() const
{
    QStringList names;
    for (QBarSet* set : series_->barSets())
        names << set->objectName();
    return names;
}

bool BarChart::marksShown() const { return series_->isLabelsVisible(); }
bool BarChart::categoryLabelsShown() const { return axisX_->labelsVisible(); }
int BarChart::categoryLabelAngle() const { return axisX_->labelsAngle(); }

void BarChart::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    layoutCategoryLabels();
}

void BarChart::layoutCategoryLabels()
{
    const int n = static_cast<int>(categories_.size());
    const QFontMetrics fm(axisX_->labelsFont());
    int widest = 0;
    for (const QString& c : categories_)
        widest = std::max(widest, fm.horizontalAdvance(c));
    // Before the first layout the plot area is unknown; the view's width less
    // the value axis is close enough until the plot area is known.
    qreal plotWidth = chart()->plotArea().width();
    if (plotWidth < 10)
        plotWidth = std::max(10, width() - 80);
    const qreal slot = n > 0 ? plotWidth / n : plotWidth;
    const int tall = fm.tightBoundingRect(QStringLiteral("0123456789")).height() + 2; // digits only

    // Issue labels: flat when they fit, upright when only their height fits,
    // none when even that would overlap (the grid names every issue).
    axisX_->setLabelsVisible(slot >= tall);
    // The axis keeps a margin inside each slot and elides a label that
    // does not fit; lay a label flat only with room to spare.
    axisX_->setLabelsAngle(slot >= widest + 20 ? 0 : -90);

    // Value marks follow the same rule; within a group of sets the marks
    // stand one bar width apart, a single set's one slot apart.
    const int sets = std::max<int>(1, static_cast<int>(series_->count()));
    const qreal bar = sets == 1 ? slot : slot * series_->barWidth() / sets;
    const int markWidth = fm.horizontalAdvance(QString::number(static_cast<int>(axisY_->max()))) + 2;
    series_->setLabelsVisible(marks_ && bar >= tall);
    series_->setLabelsAngle(bar >= markWidth ? 0 : -90);
}

} // namespace zelvor
