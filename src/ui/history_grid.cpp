#include "ui/history_grid.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/metric_analysis.h"

namespace zelvor {

class HistoryGrid::Model : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void reset(const QStringList& header, int rows, CellFn cell)
    {
        beginResetModel();
        header_ = header;
        rows_ = rows;
        cell_ = std::move(cell);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(header_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || !cell_)
            return {};
        return cell_(index.row(), index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < header_.size())
            return header_[section];
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const QStringList& header() const { return header_; }

private:
    QStringList header_;
    int rows_ = 0;
    CellFn cell_;
};

HistoryGrid::HistoryGrid(QWidget* parent) : QTableView(parent)
{
    model_ = new Model(this);
    setModel(model_);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { userScrolled_ = true; });
}

void HistoryGrid::setTable(const QStringList& header, int rows, CellFn cell)
{
    model_->reset(header, rows, std::move(cell));
    userScrolled_ = false;
    layoutColumns();
    scrollToNewest();
}

int HistoryGrid::rowCount() const { return model_->rowCount() + 1; }
int HistoryGrid::columnCount() const { return model_->columnCount(); }

QString HistoryGrid::cellText(int column, int row) const
{
    if (column < 0 || column >= columnCount() || row < 0 || row >= rowCount())
        return {};
    if (row == 0)
        return model_->header()[column];
    return model_->data(model_->index(row - 1, column), Qt::DisplayRole).toString();
}

int HistoryGrid::topRow() const
{
    const int r = rowAt(0);
    return r < 0 ? 1 : r + 1;
}

bool HistoryGrid::rowInView(int row) const
{
    if (row < 1 || row >= rowCount())
        return false;
    const int y = rowViewportPosition(row - 1);
    return y >= 0 && y + rowHeight(row - 1) <= viewport()->height();
}

void HistoryGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    layoutColumns();
    if (!userScrolled_)
        scrollToNewest();
}

void HistoryGrid::showEvent(QShowEvent* event)
{
    QTableView::showEvent(event);
    layoutColumns();
    if (!userScrolled_)
        scrollToNewest();
}

int HistoryGrid::leastColumnWidth(int column) const
{
    const int pad = 12;
    int w = horizontalHeader()->fontMetrics().horizontalAdvance(model_->header()[column]) + pad;
    if (model_->rowCount() > 0)
        w = std::max(w, fontMetrics().horizontalAdvance(cellText(column, rowCount() - 1)) + pad);
    // The issue and numbers columns keep their classic widths of 60 and 120
    // unless the font needs more.
    if (column == 0)
        w = std::max(w, 60);
    else if (column == 1)
        w = std::max(w, 120);
    return w;
}

void HistoryGrid::layoutColumns()
{
    const int columns = columnCount();
    if (columns == 0)
        return;
    // The metric or zone columns share what the first two leave.
    const int w0 = leastColumnWidth(0);
    const int w1 = columns > 1 ? leastColumnWidth(1) : 0;
    setColumnWidth(0, w0);
    if (columns > 1)
        setColumnWidth(1, w1);
    if (columns > 2) {
        const int share = (viewport()->width() - w0 - w1) / (columns - 2);
        for (int c = 2; c < columns; ++c)
            setColumnWidth(c, std::max(share, leastColumnWidth(c)));
    }
}

void HistoryGrid::scrollToNewest()
{
    // More than 24 rows: the newest draws are brought into view (the top row
    // is row count - 24, or lower when the view holds more rows); otherwise
    // row 1 stays at the top.
    if (historyGridTopRow(rowCount()) > 1)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    else
        verticalScrollBar()->setValue(0);
}

QWidget* historyColumn(QLabel* label, HistoryGrid* grid, QWidget* parent)
{
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(grid, 1);
    return column;
}

} // namespace zelvor
