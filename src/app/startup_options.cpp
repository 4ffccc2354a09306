#include "app/startup_options.h"

#include <QCommandLineParser>

#include "app/window_registry.h"
#include "common/error.h"

namespace zelvor {

std::optional<StartupOptions> parseStartupOptions(const QStringList& arguments, QString& error)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption home("home", "program folder", "DIR");
    const QCommandLineOption open("open", "lottery to open", "NAME");
    const QCommandLineOption tab("tab", "analysis tab 0..9", "T");
    const QCommandLineOption window("window", "tool window to open", "CLASS");
    const QCommandLineOption noSplash("no-splash", "start without the splash window");
    parser.addOptions({home, open, tab, window, noSplash});
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return std::nullopt;
    }
    StartupOptions options;
    options.home = parser.value(home);
    options.openLottery = parser.value(open);
    options.window = parser.value(window);
    options.splash = !parser.isSet(noSplash);
    if (parser.isSet(tab)) {
        int t = 0;
        if (!tryParseInteger(parser.value(tab).toStdString(), t) || t < 0 || t > 9) {
            error = QStringLiteral("--tab takes a whole number from 0 to 9, not '%1'.").arg(parser.value(tab));
            return std::nullopt;
        }
        options.tab = t;
    }
    if ((parser.isSet(tab) || parser.isSet(window)) && options.openLottery.isEmpty()) {
        error = QStringLiteral("--tab and --window need --open NAME.");
        return std::nullopt;
    }
    if (!options.window.isEmpty() && !toolWindowFactory(options.window)) {
        error = QStringLiteral("--window: no tool window '%1'.").arg(options.window);
        return std::nullopt;
    }
    return options;
}

} // namespace zelvor
