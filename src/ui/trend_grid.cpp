#include "ui/trend_grid.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

namespace zelvor {

namespace {
const QColor kSeparator(100, 100, 100);
const QColor kMain(150, 150, 100);
const QColor kSpecial(100, 150, 150);
} // namespace

TrendGrid::TrendGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName("grdcode");
    rowHeight_ = fontMetrics().height() + 6;
    // The area below the last row and right of the last column shows the
    // grid's own colour; a scroll area's viewport fills with Base otherwise.
    viewport()->setAutoFillBackground(true);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::ToolTipBase));
    pal.setColor(QPalette::Base, palette().color(QPalette::ToolTipBase));
    viewport()->setPalette(pal);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(1);
}

void TrendGrid::setTrend(const TrendRows* rows, const TrendLayout& layout, int pickCount, int specialCount)
{
    rows_ = rows;
    layout_ = layout;
    k_ = pickCount;
    m_ = specialCount;
    layoutColumns();
    viewport()->update();
}

void TrendGrid::layoutColumns()
{
    const int n = layout_.columns;
    widths_ = QVector<int>(n, 0);
    if (n <= 0) {
        updateScrollBars();
        return;
    }
    const QFontMetrics fm = fontMetrics();
    // The issue and numbers columns must hold their text; the fixed 70/130 are minimums.
    QString numbersTemplate;
    for (int j = 0; j < k_; ++j)
        numbersTemplate += j ? " 00" : "00";
    if (m_ > 0) {
        numbersTemplate += "   ";
        for (int j = 0; j < m_; ++j)
            numbersTemplate += j ? " 00" : "00";
    }
    const int w0 = std::max(70, fm.horizontalAdvance("2001001") + 12);
    const int w1 = std::max(130, fm.horizontalAdvance(numbersTemplate) + 12);
    // The number columns share what the issue, numbers and separator columns
    // leave (those are wider than 70 and 130 when the font needs it).
    const int numberColumns = std::max(1, n - 4);
    const int room = viewport()->width() - w0 - w1 - 16;
    const int least = fm.horizontalAdvance("00") + 6;
    const int each = std::max(least, room / numberColumns);
    // What the even share leaves over goes one pixel each to the first number
    // columns, so the last column ends at the grid's right edge.
    int spare = std::max(0, room - each * numberColumns);
    for (int c = 0; c < n; ++c) {
        widths_[c] = each;
        if (c >= 3 && c != layout_.specialSeparator && spare > 0) {
            ++widths_[c];
            --spare;
        }
    }
    widths_[0] = w0;
    if (n > 1)
        widths_[1] = w1;
    if (n > 2)
        widths_[2] = 8;
    if (layout_.specialSeparator >= 0 && layout_.specialSeparator < n)
        widths_[layout_.specialSeparator] = 8;
    updateScrollBars();
}

int TrendGrid::columnLeft(int c) const
{
    int x = 0;
    for (int i = 0; i < c; ++i)
        x += widths_[i];
    return x;
}

void TrendGrid::updateScrollBars()
{
    const int total = columnLeft(widths_.size());
    const int fixedW = widths_.isEmpty() ? 0 : widths_[0];
    horizontalScrollBar()->setRange(0, std::max(0, total - viewport()->width()));
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width() - fixedW));
    const int visibleRows = std::max(1, viewport()->height() / rowHeight_ - 1);
    verticalScrollBar()->setRange(0, std::max(0, rowCount() - 1 - visibleRows));
    verticalScrollBar()->setPageStep(visibleRows);
}

void TrendGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    layoutColumns();
}

QString TrendGrid::cellText(int c, int r) const
{
    if (c < 0 || c >= layout_.columns)
        return {};
    if (r == 0) {
        if (c == 0)
            return QStringLiteral("记录期号");
        if (c == 1)
            return QStringLiteral("开奖号码");
        if (c >= layout_.firstMain && c < layout_.firstMain + layout_.mainCount)
            return QString::number(c - layout_.firstMain + layout_.mainBase);
        if (layout_.firstSpecial >= 0 && c >= layout_.firstSpecial)
            return QString::number(c - layout_.firstSpecial + 1);
        return {};
    }
    if (!rows_ || r > static_cast<int>(rows_->size()))
        return {};
    const TrendRow& row = (*rows_)[rows_->size() - static_cast<std::size_t>(r)];
    if (c == 0)
        return QString::number(row.issue);
    if (c == 1)
        return QString::fromStdString(row.numbers);
    if (c < static_cast<int>(row.cells.size()) && row.cells[c])
        return QStringLiteral("●");
    return {};
}

QColor TrendGrid::cellColour(int c, int r) const
{
    if (c <= 1)
        return palette().color(QPalette::ToolTipBase);
    if (c == 2 || c == layout_.specialSeparator)
        return kSeparator;
    if (layout_.firstSpecial >= 0 && c >= layout_.firstSpecial)
        return kSpecial;
    return kMain;
}

void TrendGrid::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    const int n = layout_.columns;
    if (n <= 0)
        return;
    const int vw = viewport()->width();
    const int vh = viewport()->height();
    const int dx = horizontalScrollBar()->value();
    const int firstRow = verticalScrollBar()->value() + 1;
    const QColor lines(120, 120, 120);

    auto paintCell = [&](int c, int r, const QRect& rect) {
        const QColor bg = cellColour(c, r);
        p.fillRect(rect, bg);
        p.setPen(lines);
        p.drawRect(rect.adjusted(0, 0, -1, -1));
        if (c == 2 || c == layout_.specialSeparator)
            return;
        const QString text = cellText(c, r);
        if (text.isEmpty())
            return;
        p.setPen(Qt::black);
        p.drawText(rect, Qt::AlignCenter, text);
    };

    auto paintRow = [&](int r, int y) {
        // Scrolling columns first, then the fixed first column over them.
        int x = widths_[0] - dx;
        for (int c = 1; c < n && x < vw; ++c) {
            const int w = widths_[c];
            if (x + w > widths_[0])
                paintCell(c, r, QRect(x, y, w, rowHeight_));
            x += w;
        }
        paintCell(0, r, QRect(0, y, widths_[0], rowHeight_));
    };

    p.setClipRect(event->rect());
    int y = rowHeight_;
    for (int r = firstRow; r < rowCount() && y < vh; ++r, y += rowHeight_)
        paintRow(r, y);
    paintRow(0, 0);
    QFont bold = p.font();
    Q_UNUSED(bold);
}

} // namespace zelvor
