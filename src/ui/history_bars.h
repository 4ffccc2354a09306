#pragma once
// A bar chart for one bar per draw over long histories (20,000 bars): the
// bars are painted directly, only those in view, on a horizontally
// scrollable strip, with a title, a legend at the top and optional value
// marks. A chart-item-per-bar chart cannot keep up with that many.
#include <QAbstractScrollArea>
#include <QColor>
#include <QString>
#include <functional>

namespace zelvor {

class HistoryBars : public QAbstractScrollArea {
    Q_OBJECT
public:
    using LabelFn = std::function<QString(int bar)>;
    using ValueFn = std::function<int(int bar)>;

    explicit HistoryBars(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const { return title_; }
    // Replaces the bars (oldest first) and scrolls to the newest.
    void setBars(const QString& seriesTitle, int count, LabelFn label, ValueFn value, QColor colour = Qt::red);
    void clear();
    void setMarks(bool marks);
    bool marksVisible() const { return marks_; }

    int barCount() const { return count_; }
    QString seriesTitle() const { return seriesTitle_; }
    QString label(int bar) const { return label_ ? label_(bar) : QString(); }
    int value(int bar) const { return value_ ? value_(bar) : 0; }
    // The first bar in view.
    int firstVisibleBar() const;

    static constexpr int kBarPitch = 16; // pixels per bar

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollRange();

    QString title_;
    QString seriesTitle_;
    int count_ = 0;
    int top_ = 1;
    LabelFn label_;
    ValueFn value_;
    QColor colour_ = Qt::red;
    bool marks_ = false;
};

} // namespace zelvor
