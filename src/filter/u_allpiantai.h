#pragma once
// Tfrmallpiantai: the endless skew exclusion ("无穷偏态排除选号") window, the shared
// exclusion frame with its kind's test, controls and statistics.
#include "filter/exclusion_window.h"

namespace zelvor {

class Tfrmallpiantai : public ExclusionWindow {
    Q_OBJECT
public:
    explicit Tfrmallpiantai(AppContext& context, QWidget* parent = nullptr);
};

} // namespace zelvor
