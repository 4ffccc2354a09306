#pragma once
// Tfrmcode: the trend table ("号码走势"), newest draw on top.
#include <QWidget>

#include "ui/app_context.h"

namespace zelvor {

class TrendGrid;

class Tfrmcode : public QWidget, public TrendFollower {
    Q_OBJECT
public:
    Tfrmcode(AppContext& context, QWidget* parent = nullptr);
    TrendGrid* grid() const { return grdcode_; }
    // Re-reads the program-wide trend rows and repaints.
    void refresh();
    void trendChanged(TrendMode) override { refresh(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& context_;
    TrendGrid* grdcode_ = nullptr;
};

} // namespace zelvor
