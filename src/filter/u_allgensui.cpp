#include "filter/u_allgensui.h"

namespace zelvor {

Tfrmallgensui::Tfrmallgensui(AppContext& context, QWidget* parent) : ExclusionWindow(context, ExclusionKind::Follow, parent)
{
    setObjectName("frmallgensui");
}

} // namespace zelvor
