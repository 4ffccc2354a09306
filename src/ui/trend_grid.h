#pragma once
// A painted text grid for the trend table: the first row and the first column
// stay fixed while the rest scrolls. Nothing is stored per cell; every visible
// cell is painted from the trend rows, so 20,000 draws scroll smoothly.
#include <QAbstractScrollArea>
#include <QColor>
#include <QVector>

#include "analysis/trend.h"

namespace zelvor {

class TrendGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TrendGrid(QWidget* parent = nullptr);

    // The rows (oldest first) and layout to show; row 1 is the newest draw.
    void setTrend(const TrendRows* rows, const TrendLayout& layout, int pickCount, int specialCount);
    int rowCount() const { return rows_ ? static_cast<int>(rows_->size()) + 1 : 1; }
    int columnCount() const { return layout_.columns; }
    int columnWidth(int c) const { return widths_.value(c); }
    int rowHeight() const { return rowHeight_; }
    // Header and cell texts as painted (for tests and printing).
    QString cellText(int column, int row) const;
    QColor cellColour(int column, int row) const;
    // Applies the column widths of the current client width.
    void layoutColumns();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateScrollBars();
    int columnLeft(int c) const;

    const TrendRows* rows_ = nullptr;
    TrendLayout layout_;
    int k_ = 0;
    int m_ = 0;
    QVector<int> widths_;
    int rowHeight_ = 20;
};

} // namespace zelvor
