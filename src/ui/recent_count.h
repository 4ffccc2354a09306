#pragma once
// The recent-count box comzuijingqishu of the analysis windows: "全部期",
// "1" ... D, editable.
#include <QString>
#include <functional>

class QComboBox;
class QObject;
class QWidget;

namespace zelvor {

// Reads comzuijingqishu: "全部期" gives the number of draws, any other text
// must be a whole number above 0. Shows the conversion message, or
// "最近期数必须大于0！", and returns false when it is not; R is then kept.
bool readRecentCount(QWidget* parent, const QString& text, int drawCount, int& R);

// Fills comzuijingqishu ("全部期", "1" ... D) showing the default "3".
void fillRecentCountBox(QComboBox* box, int drawCount);
// The editable recent-count box comzuijingqishu, empty until filled.
QComboBox* makeRecentCountBox(QWidget* parent);

// Wires comzuijingqishu: a chosen item or a finished edit calls apply; Enter
// in the box (the window's default button) also presses recount.
void connectRecentCountBox(QComboBox* box, QObject* owner, const std::function<bool()>& apply,
                           const std::function<void()>& recount);

} // namespace zelvor
