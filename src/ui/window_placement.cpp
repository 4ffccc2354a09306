#include "ui/window_placement.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace zelvor {

void placeToolWindow(QWidget* window, QSize wanted)
{
    // The screen of the main window, which the window belongs to.
    QWidget* parent = window->parentWidget();
    QScreen* screen = parent ? parent->screen() : window->screen();
    if (!screen)
        return;
    // The room: the screen, less the main window's menus and toolbar when the
    // main window is showing. A window opened from a tool window has the
    // main window further up.
    QRect room = screen->availableGeometry();
    QMainWindow* frame = nullptr;
    for (QWidget* up = parent; up && !frame; up = up->parentWidget())
        frame = qobject_cast<QMainWindow*>(up);
    if (frame && frame->isVisible()) {
        // The toolbar may have just grown (its tabs appear with a lottery).
        if (frame->layout())
            frame->layout()->activate();
        if (const QWidget* client = frame->centralWidget()) {
            const QRect below = room.intersected(QRect(client->mapToGlobal(QPoint(0, 0)), client->size()));
            if (below.height() >= window->minimumSizeHint().height())
                room = below;
        }
    }
    // Title bar and borders as the window manager drew them, or a usual
    // allowance before it has drawn any.
    const QRect frameRect = window->frameGeometry();
    const QRect inner = window->geometry();
    QMargins decor(frameRect.left() < inner.left() ? inner.left() - frameRect.left() : 0,
                   frameRect.top() < inner.top() ? inner.top() - frameRect.top() : 0, 0, 0);
    if (decor.top() == 0)
        decor = QMargins(4, 30, 4, 4);
    decor.setRight(decor.left());
    decor.setBottom(decor.left());
    const QRect client = room.marginsRemoved(decor);
    const QSize least = window->minimumSizeHint();
    QRect placed(0, 0, std::max(least.width(), std::min(wanted.width(), client.width())),
                 std::max(least.height(), std::min(wanted.height(), client.height())));
    placed.moveCenter(client.center());
    placed.moveTop(std::max(client.top(), placed.top()));
    // The window's own area; the window manager puts its frame around it.
    window->setGeometry(placed);
}

namespace {

class FirstShowPlacer : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            window->removeEventFilter(this);
            deleteLater();
            placeToolWindow(window, window->size().expandedTo(window->sizeHint()));
        }
        return false;
    }
};

} // namespace

void placeOnFirstShow(QWidget* window)
{
    window->installEventFilter(new FirstShowPlacer(window));
}

} // namespace zelvor
