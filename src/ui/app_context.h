#pragma once
// What every window is given: the open-lottery state, the shared generator and
// the main window's trend switches (some tools press them).
#include <QString>

#include "data/trend_tables.h"

class QWidget;

namespace zelvor {

class LotteryState;
class Random;

class MainWindowApi {
public:
    virtual ~MainWindowApi() = default;
    virtual void switchToStandardTrend() = 0; // as the toolbar's "标准走势"
    virtual void switchToVariableTrend() = 0; // as the toolbar's "变幻走势"
    // Shows a tool window, creating it on first use; nullptr when unavailable.
    virtual QWidget* openToolWindow(const QString& className) = 0;
    // As "变幻走势", with the window and permutation given rather than drawn.
    virtual void switchToVariableView(const VariableSettings& view) = 0;
};

struct AppContext {
    LotteryState& state;
    Random& random;
    MainWindowApi* main = nullptr;
};

// Windows that follow the main window's trend switches (the trend and analysis
// children, the total filter) implement this.
class TrendFollower {
public:
    virtual ~TrendFollower() = default;
    virtual void trendChanged(TrendMode mode) = 0;
};

} // namespace zelvor
