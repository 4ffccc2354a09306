#include "ui/history_bars.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace zelvor {

namespace {
constexpr int kTitleHeight = 22;
constexpr int kLegendHeight = 18;
constexpr int kAxisWidth = 30;
constexpr int kLabelHeight = 58;
} // namespace

HistoryBars::HistoryBars(QWidget* parent) : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setMinimumHeight(180);
}

void HistoryBars::setTitle(const QString& title)
{
    title_ = title;
    viewport()->update();
}

void HistoryBars::setBars(const QString& seriesTitle, int count, LabelFn label, ValueFn value, QColor colour)
{
    seriesTitle_ = seriesTitle;
    count_ = std::max(0, count);
    label_ = std::move(label);
    value_ = std::move(value);
    colour_ = colour;
    top_ = 1;
    for (int i = 0; i < count_; ++i)
        top_ = std::max(top_, value_(i));
    updateScrollRange();
    horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
    viewport()->update();
}

void HistoryBars::clear()
{
    setBars(seriesTitle_, 0, {}, {});
}

void HistoryBars::setMarks(bool marks)
{
    marks_ = marks;
    viewport()->update();
}

int HistoryBars::firstVisibleBar() const
{
    return count_ ? std::min(count_ - 1, horizontalScrollBar()->value() / kBarPitch) : 0;
}

void HistoryBars::updateScrollRange()
{
    const int plotWidth = std::max(0, viewport()->width() - kAxisWidth);
    const int total = count_ * kBarPitch;
    horizontalScrollBar()->setRange(0, std::max(0, total - plotWidth));
    horizontalScrollBar()->setPageStep(std::max(1, plotWidth));
    horizontalScrollBar()->setSingleStep(kBarPitch);
}

void HistoryBars::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const bool atEnd = horizontalScrollBar()->value() == horizontalScrollBar()->maximum();
    updateScrollRange();
    if (atEnd)
        horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
}

void HistoryBars::scrollContentsBy(int, int)
{
    viewport()->update();
}

void HistoryBars::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    const QRect area = viewport()->rect();
    p.setPen(palette().color(QPalette::Text));
    QFont titleFont = font();
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.drawText(QRect(0, 0, area.width(), kTitleHeight), Qt::AlignCenter, title_);
    p.setFont(font());
    // Legend: a coloured box and the series title.
    const int legendWidth = fontMetrics().horizontalAdvance(seriesTitle_) + 20;
    const int lx = (area.width() - legendWidth) / 2;
    p.fillRect(QRect(lx, kTitleHeight + 4, 10, 10), colour_);
    p.drawText(QRect(lx + 14, kTitleHeight, legendWidth, kLegendHeight), Qt::AlignVCenter | Qt::AlignLeft,
               seriesTitle_);

    const int plotTop = kTitleHeight + kLegendHeight + 14;
    const int plotBottom = area.height() - kLabelHeight;
    const int plotHeight = std::max(1, plotBottom - plotTop);
    // Value axis.
    p.drawLine(kAxisWidth - 1, plotTop, kAxisWidth - 1, plotBottom);
    p.drawLine(kAxisWidth - 1, plotBottom, area.width(), plotBottom);
    const int step = std::max(1, top_ / 4);
    for (int v = 0; v <= top_; v += step) {
        const int y = plotBottom - v * plotHeight / top_;
        p.drawText(QRect(0, y - 8, kAxisWidth - 4, 16), Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }
    if (count_ == 0)
        return;
    p.setClipRect(QRect(kAxisWidth, 0, area.width() - kAxisWidth, area.height()));
    const int offset = horizontalScrollBar()->value();
    const int first = std::max(0, offset / kBarPitch);
    const int last = std::min(count_ - 1, (offset + area.width() - kAxisWidth) / kBarPitch + 1);
    for (int i = first; i <= last; ++i) {
        const int x = kAxisWidth + i * kBarPitch - offset;
        const int v = value_(i);
        const int h = v * plotHeight / top_;
        p.fillRect(QRect(x + 2, plotBottom - h, kBarPitch - 4, h), colour_);
        if (marks_)
            p.drawText(QRect(x - 4, plotBottom - h - 14, kBarPitch + 8, 14), Qt::AlignCenter, QString::number(v));
        p.save();
        p.translate(x + kBarPitch / 2 + 4, plotBottom + 4);
        p.rotate(90);
        p.drawText(QRect(0, 0, kLabelHeight - 6, kBarPitch), Qt::AlignLeft | Qt::AlignVCenter, label_(i));
        p.restore();
    }
}

} // namespace zelvor
