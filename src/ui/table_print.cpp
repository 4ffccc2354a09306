#include "ui/table_print.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>

namespace zelvor {

int tablePageCount(int rows) { return (rows + 24) / 25; }

QString printDate(const QDate& date)
{
    return QStringLiteral("%1-%2-%3").arg(date.year()).arg(date.month()).arg(date.day());
}

namespace {

QFont titleFont()
{
    QFont f(QStringLiteral("录书"), 18);
    f.setBold(true);
    f.setItalic(true);
    return f;
}

void drawTitle(QPainter& p, const QString& title, const QString& headLine)
{
    const int W = p.device()->width(), H = p.device()->height();
    p.setFont(titleFont());
    p.drawText(QRect(0, H / 29 - 50, W, H / 29), Qt::AlignHCenter | Qt::AlignTop, title);
    p.setFont(QFont(QStringLiteral("宋体"), 10));
    p.drawText(W / 12, 2 * H / 29 - 20, headLine);
}

} // namespace

int printBetBlocks(QPrinter& printer, const QString& title, const QString& headLine, const QStringList& bets)
{
    QPainter p;
    if (!p.begin(&printer))
        return 0;
    const int W = p.device()->width(), H = p.device()->height();
    const int N = static_cast<int>(bets.size());
    const int pages = (N + 74) / 75;
    const int x0 = W / 13, x1 = x0 + 63 * W / 70;
    const int blockWidth = (x1 - x0) / 3;
    for (int page = 1; page <= pages; ++page) {
        if (page == 1)
            drawTitle(p, title, headLine);
        p.setFont(QFont(QStringLiteral("宋体"), 10));
        for (int i = 0; i <= 26; ++i)
            p.drawLine(x0, (i + 3) * H / 29 - 120, x1, (i + 3) * H / 29 - 120);
        for (int i = 0; i <= 8; ++i) {
            const int x = x0 + i * (x1 - x0) / 8;
            p.drawLine(x, 3 * H / 29 - 120, x, H - 120);
        }
        for (int block = 0; block < 3; ++block) {
            const int bx = x0 + block * blockWidth;
            p.drawText(bx + 100, 3 * H / 30, QStringLiteral("序号"));
            p.drawText(bx + blockWidth / 2 + 100, 3 * H / 30, QStringLiteral("投注号码"));
            for (int r = 1; r <= 25; ++r) {
                const int index = 75 * (page - 1) + 25 * block + r - 1;
                if (index >= N)
                    break;
                p.drawText(bx + 100, (r + 3) * H / 29, QString::number(index + 1));
                p.drawText(bx + blockWidth / 2 + 100, (r + 3) * H / 29, bets[index]);
            }
        }
        p.drawText(7 * W / 10 + 800, 28 * H / 29 + 130, QStringLiteral("共%1页\\第%2页").arg(pages).arg(page));
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
    drawTitle(p, title, headLine);
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
    const int H = painter.device()->height();
    const bool seven = t.layout == TableLayout::SevenColumns;
    const int columns = seven ? 7 : 8;
    const int x0 = W / 13;
    auto columnX = [&](int i) { return seven ? x0 + i * 9 * W / 70 : x0 + (i * 9 * W / 10) / 8; };
    const int right = seven ? x0 + 63 * W / 70 : x0 + (72 * W / 10) / 8;
    QFont titleFont(QStringLiteral("录书"), 18);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    const QFont lineFont(QStringLiteral("宋体"), 10);
    const int pages = tablePageCount(static_cast<int>(t.rows.size()));
    for (int page = 1; page <= pages; ++page) {
        if (page == 1) {
            painter.setFont(titleFont);
            const int titleWidth = painter.fontMetrics().horizontalAdvance(t.title);
            painter.drawText((W - titleWidth) / 2, H / 29 - 50 + painter.fontMetrics().ascent(), t.title);
            painter.setFont(lineFont);
            painter.drawText(W / 12, 2 * H / 29 - 20, t.parameterLine);
        }
        painter.setFont(lineFont);
        for (int i = 0; i <= 26; ++i) {
            const int y = (i + 3) * H / 29 - 120;
            painter.drawLine(x0, y, right, y);
        }
        for (int i = 0; i <= columns; ++i)
            painter.drawLine(columnX(i), 3 * H / 29 - 120, columnX(i), H - 120);
        const int headerOffset = seven ? 100 : 80;
        const int cellOffset = seven ? 220 : 180;
        for (int c = 0; c < t.headers.size() && c < columns; ++c)
            painter.drawText(columnX(c) + headerOffset, 3 * H / 30, t.headers[c]);
        for (int r = 1; r <= 25; ++r) {
            const int index = 25 * (page - 1) + r - 1;
            if (index >= static_cast<int>(t.rows.size()))
                break;
            const QStringList& cells = t.rows[static_cast<std::size_t>(index)];
            for (int c = 0; c < cells.size() && c < columns; ++c)
                painter.drawText(columnX(c) + cellOffset, (r + 3) * H / 29, cells[c]);
        }
        const QString footer = QStringLiteral("共%1页\\第%2页").arg(pages).arg(page);
        painter.drawText(seven ? 7 * W / 10 + 800 : 8 * W / 10 + 350, 28 * H / 29 + 130, footer);
        if (page < pages && !printer.newPage()) {
            painter.end();
            return 0;
        }
    }
    return painter.end() ? pages : 0;
}

} // namespace zelvor
