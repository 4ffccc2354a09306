#include "analysis/u_code.h"

#include <QVBoxLayout>

#include "data/lottery_state.h"
#include "ui/trend_grid.h"

namespace zelvor {

Tfrmcode::Tfrmcode(AppContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setObjectName("frmcode");
    setWindowTitle(QStringLiteral("号码走势"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    grdcode_ = new TrendGrid(this);
    layout->addWidget(grdcode_);
    refresh();
}

void Tfrmcode::refresh()
{
    const LotteryState& s = context_.state;
    grdcode_->setTrend(&s.TrendRows(), trendLayout(s.CurrentLottery()), s.CurrentLottery().pickCount,
                       s.CurrentLottery().specialCount);
}

void Tfrmcode::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    grdcode_->layoutColumns();
}

} // namespace zelvor
