#pragma once
// Where a tool window opens: centred in the room below the main window's
// menus and toolbar (so the toolbar stays in reach), as large as wanted where
// the screen has the room, never below what its layout needs.
#include <QSize>

class QWidget;

namespace zelvor {

// Places the window now, at `wanted` where the room allows.
void placeToolWindow(QWidget* window, QSize wanted);

// Places the window as above when it is first shown, at the size it has then
// (a window wanting more room than its layout needs resizes itself in its
// constructor).
void placeOnFirstShow(QWidget* window);

} // namespace zelvor
