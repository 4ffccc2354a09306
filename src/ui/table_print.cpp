#include "ui/table_print.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>

namespace zelvor {

QString printDate(const QDate& date)
{
    return QString::fromStdString(printDateText(date.year(), date.month(), date.day()));
}

namespace {

QFont titleFont()
{
    QFont f(QStringLiteral("录书"), 18);
    f.setBold(true);
    f.setItalic(true);
    return f;
}

QFont lineFont() { return QFont(QStringLiteral("宋体"), 10); }

void drawTitle(QPainter& p, const PageLayout& l, const QString& title, const QString& headLine)
{
    const int W = p.device()->width();
    p.setFont(titleFont());
    p.drawText(QRect(0, l.titleTop, W, l.titleHeight), Qt::AlignHCenter | Qt::AlignTop, title);
    p.setFont(lineFont());
    p.drawText(l.headLineX, l.headLineY, headLine);
}

void drawRules(QPainter& p, const PageLayout& l)
{
    for (int y : l.rowY)
        p.drawLine(l.left, y, l.right, y);
    for (int x : l.columnX)
        p.drawLine(x, l.columnTop, x, l.columnBottom);
}

void drawFooter(QPainter& p, const PageLayout& l, int pages, int page)
{
    p.drawText(l.footerX, l.footerY, QString::fromStdString(pageFooter(pages, page)));
}

} // namespace

int printBetBlocks(QPrinter& printer, const QString& title, const QString& headLine, const QStringList& bets)
{
    QPainter p;
    if (!p.begin(&printer))
        return 0;
    const PageLayout l = betBlockPageLayout(p.device()->width(), p.device()->height());
    const int N = static_cast<int>(bets.size());
    const int pages = betBlockPageCount(N);
    const int blockWidth = (l.right - l.left) / 3;
    for (int page = 1; page <= pages; ++page) {
        if (page == 1)
            drawTitle(p, l, title, headLine);
        p.setFont(lineFont());
        drawRules(p, l);
        for (int block = 0; block < 3; ++block) {
            const int bx = l.left + block * blockWidth;
            p.drawText(bx + l.headerOffset, l.headerY, QStringLiteral("序号"));
            p.drawText(bx + blockWidth / 2 + l.headerOffset, l.headerY, QStringLiteral("投注号码"));
            for (int r = 1; r <= kRowsPerPage; ++r) {
                const int index = 3 * kRowsPerPage * (page - 1) + kRowsPerPage * block + r - 1;
                if (index >= N)
                    break;
                p.drawText(bx + l.cellOffset, l.rowBaseline(r), QString::number(index + 1));
                p.drawText(bx + blockWidth / 2 + l.cellOffset, l.rowBaseline(r), bets[index]);
            }
        }
        drawFooter(p, l, pages, page);
        if (page < pages && !printer.newPage())
            return 0;
    }
    return p.end() ? pages : 0;
}

bool printTwoColumns(QPrinter& printer, const QString& title, const QString& headLine,
                     const std::vector<std::pair<QString, QString>>& lines)
{
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const int W = p.device()->width(), H = p.device()->height();
    drawTitle(p, betBlockPageLayout(W, H), title, headLine);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int y = (static_cast<int>(i) + 4) * H / 29;
        p.drawText(W / 10, y, lines[i].first);
        p.drawText(W / 2 + W / 10, y, lines[i].second);
    }
    return p.end();
}

int printTable(QPrinter& printer, const PrintedTable& t)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const int W = painter.device()->width();
    const PageLayout l = tablePageLayout(t.layout, W, painter.device()->height());
    const int columns = static_cast<int>(l.columnX.size()) - 1;
    const int pages = tablePageCount(static_cast<int>(t.rows.size()));
    for (int page = 1; page <= pages; ++page) {
        if (page == 1) {
            painter.setFont(titleFont());
            const int titleWidth = painter.fontMetrics().horizontalAdvance(t.title);
            painter.drawText((W - titleWidth) / 2, l.titleTop + painter.fontMetrics().ascent(), t.title);
            painter.setFont(lineFont());
            painter.drawText(l.headLineX, l.headLineY, t.parameterLine);
        }
        painter.setFont(lineFont());
        drawRules(painter, l);
        for (int c = 0; c < t.headers.size() && c < columns; ++c)
            painter.drawText(l.columnX[static_cast<std::size_t>(c)] + l.headerOffset, l.headerY, t.headers[c]);
        for (int r = 1; r <= kRowsPerPage; ++r) {
            const int index = kRowsPerPage * (page - 1) + r - 1;
            if (index >= static_cast<int>(t.rows.size()))
                break;
            const QStringList& cells = t.rows[static_cast<std::size_t>(index)];
            for (int c = 0; c < cells.size() && c < columns; ++c)
                painter.drawText(l.columnX[static_cast<std::size_t>(c)] + l.cellOffset, l.rowBaseline(r), cells[c]);
        }
        drawFooter(painter, l, pages, page);
        if (page < pages && !printer.newPage()) {
            painter.end();
            return 0;
        }
    }
    return painter.end() ? pages : 0;
}

} // namespace zelvor
