#pragma once
// Which window class each menu item and tab creates. Windows are built here
// by name, so the main window only keeps references and never a list of types.
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace zelvor {

struct AppContext;

using WindowFactory = std::function<QWidget*(AppContext& context, QWidget* parent)>;

// Tool windows by class name ("Tfrmtotalfilt", ...); empty when not available.
WindowFactory toolWindowFactory(const QString& className);
// Every tool window class the main window keeps a reference for, in the order
// CloseLottery closes them.
const QStringList& toolWindowClasses();
// The child window of analysis tab 0..9 ("Tfrmcode", "Tfrmdaxiao", ...).
QString childWindowClass(int tab);
WindowFactory childWindowFactory(int tab);
// Tool windows the trend switches create hidden and notify.
const QStringList& trendFollowingTools();

} // namespace zelvor
