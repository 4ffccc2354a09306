#include "filter/u_allcongma.h"

namespace zelvor {

Tfrmallcongma::Tfrmallcongma(AppContext& context, QWidget* parent) : ExclusionWindow(context, ExclusionKind::Repeat, parent)
{
    setObjectName("frmallcongma");
}

} // namespace zelvor
