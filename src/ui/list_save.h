#pragma once
// "保存" of the windows that show a bet list.
#include <QString>
#include <initializer_list>

class QWidget;

namespace zelvor {

class BetListView;

// The save dialog on the desktop with the proposed name, then the list saved
// as a bet file while the window is busy (running set, `disabled` off, the
// focus to focusAfter afterwards), then "成功保存！" or the error.
void saveShownList(QWidget* window, const BetListView* view, const QString& proposedName, bool& running,
                   std::initializer_list<QWidget*> disabled, QWidget* focusAfter = nullptr);

} // namespace zelvor
