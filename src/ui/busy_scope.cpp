#include "ui/busy_scope.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QVariant>
#include <QWidget>

namespace zelvor {

namespace {
constexpr const char* kRetired = "zelvorRetired";
}

BusyScope::BusyScope(QWidget* window, bool& running, std::initializer_list<QWidget*> disabled, QProgressBar* bar,
                     QWidget* focusAfter)
    : window_(window), running_(running), wasRunning_(running), bar_(bar), focusAfter_(focusAfter)
{
    running_ = true;
    for (QWidget* w : disabled)
        if (w && w->isEnabled()) {
            w->setEnabled(false);
            disabled_.append(w);
        }
    if (bar_) {
        barWasVisible_ = !bar_->isHidden();
        bar_->setValue(bar_->minimum());
        bar_->show();
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyScope::~BusyScope()
{
    QGuiApplication::restoreOverrideCursor();
    if (bar_ && !barWasVisible_)
        bar_->hide();
    for (const QPointer<QWidget>& w : disabled_)
        if (w)
            w->setEnabled(true);
    if (focusAfter_ && focusAfter_->isEnabled())
        focusAfter_->setFocus();
    running_ = wasRunning_;
    if (!running_ && window_ && window_->property(kRetired).toBool())
        window_->deleteLater();
}

void retireWindow(QWidget* window)
{
    if (!window)
        return;
    auto* stoppable = dynamic_cast<StoppableWindow*>(window);
    if (stoppable)
        stoppable->requestStop();
    window->close();
    if (stoppable && stoppable->isRunning())
        window->setProperty(kRetired, true);
    else
        window->deleteLater();
}

} // namespace zelvor
