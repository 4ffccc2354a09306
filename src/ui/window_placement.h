#pragma once
// Where a tool window opens: centred in the room below the main window's
// menus and toolbar (so the toolbar stays in reach), as large as wanted where
// the screen has the room, never below what its layout needs.
#include <QSize>

class QWidget;

namespace zelvor {

// Call once, from the window's first showEvent.
void placeToolWindow(QWidget* window, QSize wanted);

// For windows that do not place themselves: placed as above, at their own
// size, when first shown.
void placeOnFirstShow(QWidget* window);

} // namespace zelvor
