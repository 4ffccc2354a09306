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
    setRenderHint(QPainter::Antialiasing, false);
    setMinimumSize(240, 200);
}

void BarChart::setTitle(const QString& title) { chart()->setTitle(title); }
QString BarChart::title() const { return chart()->title(); }

void BarChart::setBars(const QStringList& categories, const QList<BarSetSpec>& sets, bool marks)
{
    marks_ = marks;
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
    for (const BarSetSpec& spec : sets) {
        if (!spec.visible)
            continue;
        auto* set = new QBarSet(spec.title);
        set->setObjectName(spec.name);
        set->setColor(spec.colour);
        // A white bar needs an edge to be seen on the white plot.
        set->setBorderColor(spec.colour.lightness() > 230 ? QColor(Qt::darkGray) : spec.colour.darker(140));
        set->setLabelColor(Qt::black);
        for (int v : spec.values) {
            set->append(v);
            top = std::max(top, v);
        }
        series_->append(set);
    }
    series_->setLabelsVisible(marks);
    series_->setLabelsFormat("@value");
    series_->setLabelsPrecision(6);

    // Whole-number steps for small counts; round steps above that. Marks need
    // some room above the tallest bar.
    if (top <= 10) {
        const int upper = top + 1;
        axisY_->setRange(0, upper);
        axisY_->setTickCount(upper + 1);
    } else {
        axisY_->setRange(0, std::ceil(top * (marks ? 1.12 : 1.05)));
        axisY_->applyNiceNumbers();
    }
    layoutCategoryLabels();
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
    axisX_->setTitleVisible(false);
    if (n == 0) {
        axisX_->setLabelsVisible(true);
        axisX_->setLabelsAngle(0);
        return;
    }
    const QFontMetrics fm(axisX_->labelsFont());
    int widest = 0;
    for (const QString& c : categories_)
        widest = std::max(widest, fm.horizontalAdvance(c));
    // Before the first layout the plot area is unknown; the view's width less
    // the value axis is close enough and is corrected at the next resize.
    qreal plotWidth = chart()->plotArea().width();
    if (plotWidth < 10)
        plotWidth = std::max(10, width() - 80);
    const qreal slot = plotWidth / n;
    if (slot >= widest + 8) {
        axisX_->setLabelsVisible(true);
        axisX_->setLabelsAngle(0);
    } else if (slot >= fm.height() + 2) {
        axisX_->setLabelsVisible(true);
        axisX_->setLabelsAngle(-90);
    } else {
        // Too many bars for any label: name the range instead.
        axisX_->setLabelsVisible(false);
        axisX_->setTitleText(categories_.first() + QStringLiteral(" … ") + categories_.last());
        axisX_->setTitleVisible(true);
    }
}

} // namespace zelvor
