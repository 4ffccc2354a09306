#pragma once
// A window's busy section: the running flag set, the buttons that start or
// change a run disabled, the progress bar shown and the wait cursor on.
// Everything is put back when the scope ends, however it ends (an exception
// included), so a failed action never leaves a window stuck.
//
// A window closed for good while busy (retireWindow) is deleted when its
// outermost busy section ends, never from under a handler still running.
#include <QList>
#include <QPointer>
#include <initializer_list>

class QProgressBar;
class QWidget;

namespace zelvor {

class BusyScope {
public:
    // focusAfter, when given, takes the keyboard focus when the section ends.
    BusyScope(QWidget* window, bool& running, std::initializer_list<QWidget*> disabled, QProgressBar* bar = nullptr,
              QWidget* focusAfter = nullptr);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    QPointer<QWidget> window_;
    bool& running_;
    bool wasRunning_;
    // Only the widgets this scope disabled are enabled again.
    QList<QPointer<QWidget>> disabled_;
    QPointer<QProgressBar> bar_;
    QPointer<QWidget> focusAfter_;
    bool barWasVisible_ = false;
};

// A window that may be closed for good while its own run pumps events: the
// main window asks it to stop before removing it.
class StoppableWindow {
public:
    virtual ~StoppableWindow() = default;
    virtual void requestStop() = 0;
    virtual bool isRunning() const = 0;
};

// Closes a window for good: asks it to stop, hides it, and deletes it now if
// it is idle or, if a busy section is running, as soon as that ends. Deleting
// it from inside its own pumped loop would pull the window from under its
// handler.
void retireWindow(QWidget* window);

} // namespace zelvor
