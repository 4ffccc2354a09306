#include "app/app_setup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zelvor {

bool setupApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("Zelvor"));
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
