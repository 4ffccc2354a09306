#include "analysis/u_metric.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "common/error.h"
#include "data/lottery_state.h"
#include "ui/bar_chart.h"
#include "ui/dialogs.h"

namespace zelvor {

// ---------------------------------------------------------------- HistoryGrid

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

// ------------------------------------------------------- recent-count box

bool readRecentCount(QWidget* parent, const QString& text, int drawCount, int& R)
{
    if (text == QString::fromUtf8(kAllDrawsItem)) {
        R = drawCount;
        return true;
    }
    int value = 0;
    if (!tryParseInteger(text.toStdString(), value)) {
        showError(parent, QString::fromStdString(integerConversionMessage(text.toStdString())));
        return false;
    }
    // A count of 0 or less would chart nothing and name "最近-5期" in the summary.
    if (value <= 0) {
        showError(parent, QStringLiteral("最近期数必须大于0！"));
        return false;
    }
    R = value;
    return true;
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

QComboBox* makeRecentCountBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName("comzuijingqishu");
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(6);
    box->setMaxVisibleItems(20);
    return box;
}

void fillRecentCountBox(QComboBox* box, int drawCount)
{
    box->clear();
    QStringList items;
    for (const std::string& item : recentCountItems(drawCount))
        items << QString::fromStdString(item);
    box->addItems(items);
    const QString shown = QString::number(kDefaultRecentCount);
    const int at = box->findText(shown);
    if (at >= 0)
        box->setCurrentIndex(at);
    else
        box->setEditText(shown);
}

void connectRecentCountBox(QComboBox* box, QObject* owner, const std::function<bool()>& apply,
                           const std::function<void()>& recount)
{
    // A chosen item, a finished edit and Enter may all report the same text;
    // it is read once, so a refused text shows its message once.
    struct Last {
        QString text;
        bool ok = true;
    };
    auto last = std::make_shared<Last>();
    last->text = box->currentText();
    auto applyOnce = [box, apply, last] {
        if (box->currentText() != last->text) {
            last->text = box->currentText();
            last->ok = apply();
        }
        return last->ok;
    };
    QObject::connect(box, &QComboBox::textActivated, owner, [applyOnce] { applyOnce(); });
    if (QLineEdit* edit = box->lineEdit()) {
        QObject::connect(edit, &QLineEdit::editingFinished, owner, [applyOnce] { applyOnce(); });
        QObject::connect(edit, &QLineEdit::returnPressed, owner, [applyOnce, recount] {
            if (applyOnce())
                recount();
        });
    }
}

// --------------------------------------------------------------- MetricWindow

MetricWindow::MetricWindow(const MetricWindowDescriptor& descriptor, AppContext& context, QWidget* parent)
    : QWidget(parent), d_(descriptor), context_(context)
{
    setObjectName(QString::fromUtf8(d_.className).mid(1)); // "frmdaxiao"
    setWindowTitle(QString::fromUtf8(d_.caption));

    Label1_ = new QLabel(QStringLiteral("历史走势："), this);
    Label1_->setObjectName("Label1");
    tabhistory_ = new HistoryGrid(this);
    tabhistory_->setObjectName("tabhistory");

    chthistory_ = new BarChart(this);
    chthistory_->setObjectName("chthistory");
    chthistory_->setTitle(QString::fromUtf8(d_.chartTitle));

    GroupBox1_ = new QGroupBox(this);
    GroupBox1_->setObjectName("GroupBox1");
    chkhistorybiao_ = new QCheckBox(QStringLiteral("显示标注"), GroupBox1_);
    chkhistorybiao_->setObjectName("chkhistorybiao");
    auto* groupLayout = new QHBoxLayout(GroupBox1_);
    groupLayout->setContentsMargins(8, 4, 8, 4);
    groupLayout->addWidget(chkhistorybiao_);

    Label5_ = new QLabel(QStringLiteral("总结："), this);
    Label5_->setObjectName("Label5");
    mem_ = new QPlainTextEdit(this);
    mem_->setObjectName("mem");
    mem_->setReadOnly(true);
    mem_->setMinimumHeight(mem_->fontMetrics().lineSpacing() * 7 + 12);

    Label6_ = new QLabel(QStringLiteral("最近统计期数："), this);
    Label6_->setObjectName("Label6");
    comzuijingqishu_ = makeRecentCountBox(this);
    btntongji_ = new QPushButton(QStringLiteral("重新统计"), this);
    btntongji_->setObjectName("btntongji");
    btntongji_->setDefault(true);

    // Grid on the left; chart on the right above the summary and the controls.
    QWidget* left = historyColumn(Label1_, tabhistory_, this);

    auto* controls = new QVBoxLayout();
    controls->addWidget(GroupBox1_);
    auto* recentRow = new QHBoxLayout();
    recentRow->addWidget(Label6_);
    recentRow->addWidget(comzuijingqishu_, 1);
    controls->addLayout(recentRow);
    controls->addWidget(btntongji_);
    controls->addStretch(1);

    auto* summary = new QVBoxLayout();
    summary->addWidget(Label5_);
    summary->addWidget(mem_, 1);

    auto* bottom = new QHBoxLayout();
    bottom->addLayout(summary, 1);
    bottom->addLayout(controls);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(chthistory_, 1);
    rightLayout->addLayout(bottom);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({420, 900});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter);

    // Opening: R = 3, the box lists every draw count, then the first view.
    const int D = context_.state.DrawCount();
    R_ = kDefaultRecentCount;
    fillRecentCountBox(comzuijingqishu_, D);
    connectRecentCountBox(comzuijingqishu_, this, [this] { return comzuijingqishuChange(); },
                          [this] { btntongjiClick(); });
    connect(btntongji_, &QPushButton::clicked, this, [this] { btntongjiClick(); });
    connect(chkhistorybiao_, &QCheckBox::clicked, this, [this] { chkhistorybiaoClick(); });

    Compute(sourceAtOpening(d_, context_.state.Mode));
    DrawChart();
}

const DrawHistory& MetricWindow::sourceHistory(TrendMode source) const
{
    return source == TrendMode::Variable ? context_.state.Variable.history : context_.state.history();
}

void MetricWindow::Compute(TrendMode source)
{
    analysis_ = zelvor::Compute(d_, sourceHistory(source), context_.state.CurrentLottery, R_);

    QStringList header;
    for (const std::string& h : analysis_.header)
        header << QString::fromStdString(h);
    tabhistory_->setTable(header, static_cast<int>(analysis_.rows.size()), [this](int row, int column) {
        return QString::fromStdString(analysis_.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
    });

    QStringList lines;
    for (const std::string& line : analysis_.summary)
        lines << QString::fromStdString(line);
    mem_->setPlainText(lines.join('\n'));
}

void MetricWindow::DrawChart()
{
    const std::vector<ChartBar> bars = metricChartBars(analysis_.rows, R_);
    QStringList categories;
    BarSetData series{"Series1", QString::fromUtf8(d_.valueTitle), QColor(Qt::red), {}, true};
    for (const ChartBar& bar : bars) {
        categories << QString::fromStdString(bar.label);
        series.values << bar.value;
    }
    chthistory_->setBars(categories, {series}, chkhistorybiao_->isChecked());
}

bool MetricWindow::comzuijingqishuChange()
{
    return readRecentCount(this, comzuijingqishu_->currentText(), context_.state.DrawCount(), R_);
}

void MetricWindow::btntongjiClick()
{
    Compute(sourceAtRecount(d_, context_.state.Mode));
    DrawChart();
}

void MetricWindow::chkhistorybiaoClick() { DrawChart(); }

void MetricWindow::trendChanged(TrendMode mode)
{
    Compute(mode);
    DrawChart();
}

} // namespace zelvor
