#pragma once
// Keeps windows alive during long loops: processes pending events at most
// every ~15 ms, so repaints, progress bars and stop buttons work without
// slowing the loop down.
#include <QElapsedTimer>
#include <cstdint>
#include <functional>

#include "common/progress.h"

class QProgressBar;

namespace zelvor {

class EventPump {
public:
    explicit EventPump(int intervalMs = 15);
    // Cheap to call often; only every intervalMs does it process events.
    void pump();
    void pumpNow();

private:
    QElapsedTimer timer_;
    int intervalMs_;
};

// A ProgressFn for core loops: pumps events, moves the bar (range
// 0..(total - 1) div 100, position done div 100, as the windows show it; the
// bar may go away meanwhile) and returns false once keepGoing says so.
ProgressFn progressFor(EventPump& pump, QProgressBar* bar = nullptr, std::function<bool()> keepGoing = {});

} // namespace zelvor
