#pragma once
// The program's command line:
//   zelvor [--home DIR] [--no-splash] [--open NAME [--tab T] [--window CLASS]]
#include <QString>
#include <QStringList>
#include <optional>

namespace zelvor {

struct StartupOptions {
    QString home;        // --home: the program folder (empty: ZELVOR_HOME or the executable's folder)
    QString openLottery; // --open: a lottery to open at start-up
    int tab = 0;         // --tab: analysis tab 0..9 to show after opening
    QString window;      // --window: a tool window class to open after opening
    bool splash = true;  // false with --no-splash
};

// Reads the arguments (the program name first). A bad option or value gives
// nullopt and a message naming it in error.
std::optional<StartupOptions> parseStartupOptions(const QStringList& arguments, QString& error);

} // namespace zelvor
