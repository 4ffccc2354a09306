#include "filter/u_allpiantai.h"

namespace zelvor {

Tfrmallpiantai::Tfrmallpiantai(AppContext& context, QWidget* parent) : ExclusionWindow(context, ExclusionKind::Skew, parent)
{
    setObjectName("frmallpiantai");
}

} // namespace zelvor
