#pragma once
// The history grid of the analysis and adviser windows.
#include <QTableView>
#include <functional>

class QLabel;

namespace zelvor {

// The history grid of the analysis windows (tabhistory): a fixed header row
// and one row per draw, painted on demand from the window's result table.
// Columns 0 and 1 are 60 and 120 pixels wide (wider if the font needs it);
// the other columns share the rest equally.
class HistoryGrid : public QTableView {
    Q_OBJECT
public:
    using CellFn = std::function<QString(int row, int column)>;
    explicit HistoryGrid(QWidget* parent = nullptr);

    // header: the column titles; cell(row, column) for row 0 .. rows - 1.
    void setTable(const QStringList& header, int rows, CellFn cell);
    // Rows as the grid counts them: the header row plus one per draw.
    int rowCount() const;
    int columnCount() const;
    // Row 0 is the header row.
    QString cellText(int column, int row) const;
    // The first draw row in view (1 = the oldest draw).
    int topRow() const;
    // Whether grid row r (1 = oldest draw) is fully inside the viewport.
    bool rowInView(int row) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void layoutColumns();
    int leastColumnWidth(int column) const;
    void scrollToNewest();

    class Model;
    Model* model_ = nullptr;
    bool userScrolled_ = false;
};

// The "历史走势：" label above a history grid, as one column.
QWidget* historyColumn(QLabel* label, HistoryGrid* grid, QWidget* parent);

} // namespace zelvor
