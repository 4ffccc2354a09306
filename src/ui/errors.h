#pragma once
// The general error display: errors no window handles end the current action
// only, and their text is shown here.
#include <QApplication>
#include <functional>

class QWidget;

namespace zelvor {

void showGeneralError(const QString& text);

// Runs an action; an Error (or any exception) is shown by the general error
// display and the action ends there. Returns false when it failed.
bool guarded(const std::function<void()>& action);

// The application object: also routes exceptions that escape an event handler
// to the general error display instead of ending the program.
class ZelvorApplication : public QApplication {
public:
    ZelvorApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace zelvor
