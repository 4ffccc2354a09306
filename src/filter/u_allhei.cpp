#include "filter/u_allhei.h"

namespace zelvor {

Tfrmallhei::Tfrmallhei(AppContext& context, QWidget* parent) : ExclusionWindow(context, ExclusionKind::Sum, parent)
{
    setObjectName("frmallhei");
}

} // namespace zelvor
