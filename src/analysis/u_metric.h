#pragma once
// The single-metric analysis windows Tfrmdaxiao ... Tfrmcongma: one window
// class configured by the member's descriptor (caption, titles, metric,
// summary strings, sources). Each member is a tiny subclass so that it carries
// its own class name.
#include <QTableView>
#include <QWidget>
#include <functional>

#include "analysis/metric_analysis.h"
#include "ui/app_context.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zelvor {

class BarChart;

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

// Reads comzuijingqishu: "全部期" gives the number of draws, any other text
// must be a whole number above 0. Shows the conversion message, or
// "最近期数必须大于0！", and returns false when it is not; R is then kept.
bool readRecentCount(QWidget* parent, const QString& text, int drawCount, int& R);

// Fills comzuijingqishu ("全部期", "1" ... D) showing the default "3".
void fillRecentCountBox(QComboBox* box, int drawCount);
// The "历史走势：" label above the history grid, as one column.
QWidget* historyColumn(QLabel* label, HistoryGrid* grid, QWidget* parent);
// The editable recent-count box comzuijingqishu, empty until filled.
QComboBox* makeRecentCountBox(QWidget* parent);

// Wires comzuijingqishu: a chosen item or a finished edit calls apply; Enter
// in the box (the window's default button) also presses recount.
void connectRecentCountBox(QComboBox* box, QObject* owner, const std::function<bool()>& apply,
                           const std::function<void()>& recount);

class MetricWindow : public QWidget, public TrendFollower {
    Q_OBJECT
public:
    MetricWindow(const MetricWindowDescriptor& descriptor, AppContext& context, QWidget* parent = nullptr);

    const MetricWindowDescriptor& descriptor() const { return d_; }
    // Compute(source): result table, grid and summary memo from that view.
    void Compute(TrendMode source);
    // DrawChart: bars of the last R result rows.
    void DrawChart();

    // Handlers.
    bool comzuijingqishuChange(); // false when the text was refused
    void btntongjiClick();
    void chkhistorybiaoClick();
    void trendChanged(TrendMode mode) override;

    int recentCount() const { return R_; }
    const MetricAnalysis& analysis() const { return analysis_; }
    HistoryGrid* grid() const { return tabhistory_; }
    BarChart* chart() const { return chthistory_; }
    QPlainTextEdit* memo() const { return mem_; }
    QComboBox* recentCountBox() const { return comzuijingqishu_; }
    QCheckBox* marksBox() const { return chkhistorybiao_; }
    QPushButton* recountButton() const { return btntongji_; }

private:
    const DrawHistory& sourceHistory(TrendMode source) const;

    const MetricWindowDescriptor& d_;
    AppContext& context_;
    int R_ = kDefaultRecentCount;
    MetricAnalysis analysis_;

    QLabel* Label1_ = nullptr;
    HistoryGrid* tabhistory_ = nullptr;
    BarChart* chthistory_ = nullptr;
    QGroupBox* GroupBox1_ = nullptr;
    QCheckBox* chkhistorybiao_ = nullptr;
    QLabel* Label5_ = nullptr;
    QPlainTextEdit* mem_ = nullptr;
    QLabel* Label6_ = nullptr;
    QComboBox* comzuijingqishu_ = nullptr;
    QPushButton* btntongji_ = nullptr;
};

// The eight members (moc needs each Q_OBJECT written out).
class Tfrmdaxiao : public MetricWindow {
    Q_OBJECT
public:
    explicit Tfrmdaxiao(AppContext& context, QWidget* parent = nullptr)
        : MetricWindow(*findMetricWindow("Tfrmdaxiao"), context, parent) {}
};

class Tfrmjiou : public MetricWindow {
    Q_OBJECT
public:
    explicit Tfrmjiou(AppContext& context, QWidget* parent = nullptr)
        : MetricWindow(*findMetricWindow("Tfrmjiou"), context, parent) {}
};

class Tfrmhei : public MetricWindow {
    Q_OBJECT
public:
    explicit Tfrmhei(AppContext& context, QWidget* parent = nullptr)
        : MetricWindow(*findMetricWindow("Tfrmhei"), context, parent) {}
};

class Tfrmkuadu : public MetricWindow {
    Q_OBJECT
public:
    explicit Tfrmkuadu(AppContext& context, QWidget* parent = nullptr)
        : MetricWindow(*findMetricWindow("Tfrmkuadu"), context, parent) {}
};

class Tfrmsandu : public MetricWindow {
    Q_OBJECT
public:
    explicit Tfrmsandu(AppContext& context, QWidget* parent = nullptr)
        : MetricWindow(*findMetricWindow("Tfrmsandu"), context, parent) {}
};

class Tfrmpiandu : public MetricWindow {
    Q_OBJECT
public:
    explicit Tfrmpiandu(AppContext& context, QWidget* parent = nullptr)
        : MetricWindow(*findMetricWindow("Tfrmpiandu"), context, parent) {}
};

class Tfrmac : public MetricWindow {
    Q_OBJECT
public:
    explicit Tfrmac(AppContext& context, QWidget* parent = nullptr)
        : MetricWindow(*findMetricWindow("Tfrmac"), context, parent) {}
};

class Tfrmcongma : public MetricWindow {
    Q_OBJECT
public:
    explicit Tfrmcongma(AppContext& context, QWidget* parent = nullptr)
        : MetricWindow(*findMetricWindow("Tfrmcongma"), context, parent) {}
};

} // namespace zelvor
