#pragma once
// Tfrmallcongma: the endless repeat exclusion ("无穷重码排除选号") window, the shared
// exclusion frame with its kind's test, controls and statistics.
#include "filter/exclusion_window.h"

namespace zelvor {

class Tfrmallcongma : public ExclusionWindow {
    Q_OBJECT
public:
    explicit Tfrmallcongma(AppContext& context, QWidget* parent = nullptr);
};

} // namespace zelvor
