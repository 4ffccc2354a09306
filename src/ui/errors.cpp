#include "ui/errors.h"

#include <QGuiApplication>
#include <exception>

#include "common/error.h"
#include "ui/dialogs.h"

namespace zelvor {

void showGeneralError(const QString& text)
{
    QGuiApplication::restoreOverrideCursor();
    dialogs().error(nullptr, text, QStringLiteral("Zelvor"));
}

bool guarded(const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const std::bad_alloc&) {
        showGeneralError(QStringLiteral("内存不足，操作已停止。"));
    } catch (const std::exception& e) {
        showGeneralError(QString::fromUtf8(e.what()));
    }
    return false;
}

ZelvorApplication::ZelvorApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ZelvorApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

} // namespace zelvor
