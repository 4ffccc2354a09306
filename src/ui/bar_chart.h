#pragma once
// The history bar chart of the analysis windows (chthistory): one category per
// recent draw, one or more bar sets side by side, legend at the top, optional
// value marks. Category labels turn upright or give way to a range caption
// when they would overlap, so the chart stays readable for any number of bars.
#include <QChartView>
#include <QColor>
#include <QList>
#include <QStringList>
#include <QVector>

QT_BEGIN_NAMESPACE
class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QValueAxis;
QT_END_NAMESPACE

namespace zelvor {

struct BarSetData {
    QString name;  // objectName of the set ("Series1")
    QString title; // legend text ("大数个数")
    QColor colour;
    QVector<int> values; // one per category
    bool visible = true;
};

class BarChart : public QChartView {
    Q_OBJECT
public:
    explicit BarChart(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const;
    // Replaces the bars: categories label the positions, oldest first; hidden
    // sets are kept out of the plot and the legend.
    void setBars(const QStringList& categories, const QList<BarSetData>& sets, bool marks);

    QStringList categories() const { return categories_; }
    int barCount() const { return static_cast<int>(categories_.size()); }
    // The set of that name as plotted; nullptr when it is hidden or absent.
    QBarSet* barSet(const QString& name) const;
    QStringList visibleSetNames() const;
    // Marks as asked for; marksShown: as drawn (bars too thin for a mark
    // even upright show none).
    bool marksVisible() const { return marks_; }
    bool marksShown() const;
    // How the category labels are shown: 0 flat, -90 upright; hidden when
    // there is no room even upright.
    bool categoryLabelsShown() const;
    int categoryLabelAngle() const;
    // The axes as drawn: categories along the bottom, values at the left.
    QBarCategoryAxis* categoryAxis() const { return axisX_; }
    QValueAxis* valueAxis() const { return axisY_; }
    // The value axis always shows at least this many ticks.
    static constexpr int kLeastTicks = 4;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutCategoryLabels();
    void setValueRange(int top, bool marks);

    QBarSeries* series_ = nullptr;
    QBarCategoryAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QStringList categories_;
    bool marks_ = false;
};

} // namespace zelvor
