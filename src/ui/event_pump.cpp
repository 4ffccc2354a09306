#include "ui/event_pump.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProgressBar>

namespace zelvor {

EventPump::EventPump(int intervalMs) : intervalMs_(intervalMs) { timer_.start(); }

void EventPump::pump()
{
    if (timer_.elapsed() >= intervalMs_)
        pumpNow();
}

void EventPump::pumpNow()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    timer_.restart();
}

ProgressFn progressFor(EventPump& pump, QProgressBar* bar, std::function<bool()> keepGoing)
{
    return [&pump, guard = QPointer<QProgressBar>(bar), keepGoing = std::move(keepGoing)](std::int64_t done,
                                                                                         std::int64_t total) {
        if (guard) {
            const int max = static_cast<int>(total > 0 ? (total - 1) / 100 : 0);
            if (guard->maximum() != max)
                guard->setRange(0, max);
            guard->setValue(static_cast<int>(done / 100));
        }
        pump.pump();
        return !keepGoing || keepGoing();
    };
}

} // namespace zelvor
