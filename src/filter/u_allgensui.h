#pragma once
// Tfrmallgensui: the endless follow exclusion ("无穷历史跟随排除选号") window, the shared
// exclusion frame with its kind's test, controls and statistics.
#include "filter/exclusion_window.h"

namespace zelvor {

class Tfrmallgensui : public ExclusionWindow {
    Q_OBJECT
public:
    explicit Tfrmallgensui(AppContext& context, QWidget* parent = nullptr);
};

} // namespace zelvor
