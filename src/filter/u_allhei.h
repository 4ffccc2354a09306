#pragma once
// Tfrmallhei: the endless sum exclusion ("无穷和值排除选号") window, the shared
// exclusion frame with its kind's test, controls and statistics.
#include "filter/exclusion_window.h"

namespace zelvor {

class Tfrmallhei : public ExclusionWindow {
    Q_OBJECT
public:
    explicit Tfrmallhei(AppContext& context, QWidget* parent = nullptr);
};

} // namespace zelvor
