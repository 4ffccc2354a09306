#include "ui/event_pump.h"

#include <QCoreApplication>
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

ProgressFn progressFor(EventPump& pump, QProgressBar* bar, const bool* stop)
{
    return [&pump, bar, stop](std::int64_t done, std::int64_t total) {
        if (bar) {
            const int max = static_cast<int>(total > 0 ? (total - 1) / 100 : 0);
            if (bar->maximum() != max)
                bar->setRange(0, max);
            bar->setValue(static_cast<int>(done / 100));
        }
        pump.pump();
        return !(stop && *stop);
    };
}

} // namespace zelvor
