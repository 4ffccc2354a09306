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
#include "ui/history_grid.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zelvor {

class BarChart;

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
