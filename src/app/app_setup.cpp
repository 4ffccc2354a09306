#include "app/app_setup.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zelvor {

bool setupApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("Zelvor"));
    // The desktop entry zelvor.desktop and its themed icon, when installed.
    QGuiApplication::setDesktopFileName(QStringLiteral("zelvor"));
    if (QIcon::hasThemeIcon(QStringLiteral("zelvor")))
        QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("zelvor")));
    // An empty display name is a suffix of every caption, so nothing is appended.
    QGuiApplication::setApplicationDisplayName(QString());

    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    auto* translator = new QTranslator(&app);
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace zelvor
