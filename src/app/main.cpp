// Program entry: the main window, then the data module, then the event loop.
#include <QFont>
#include <QFontDatabase>
#include <QScreen>
#include <QTimer>

#include "app/app_setup.h"
#include "app/u_main.h"
#include "common/random.h"
#include "data/db_lottery.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "data/u_datamod.h"
#include "ui/errors.h"

int main(int argc, char** argv)
{
    zelvor::ZelvorApplication app(argc, argv);
    zelvor::setupApplication(app);
    QStringList args = app.arguments();
    zelvor::initProgramDir(args);
    zelvor::programRandom().seedFromClock();

    zelvor::Tdatamod datamod;
    zelvor::LotteryState state(datamod);
    zelvor::AppContext context{state, zelvor::programRandom(), nullptr};
    zelvor::Tfrmmain frmmain(context);
    // Without a window manager (e.g. a bare X server) maximising does nothing,
    // so the window is first given the whole available screen.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        frmmain.setGeometry(screen->availableGeometry());
    frmmain.showMaximized();

    // zelvor --open NAME [--tab T] [--window CLASS] opens a lottery (and a tool window) straight away.
    const int at = args.indexOf("--open");
    if (at >= 0 && at + 1 < args.size()) {
        const QString name = args[at + 1];
        const int tabAt = args.indexOf("--tab");
        const int tab = tabAt >= 0 && tabAt + 1 < args.size() ? args[tabAt + 1].toInt() : 0;
        const int windowAt = args.indexOf("--window");
        const QString window = windowAt >= 0 && windowAt + 1 < args.size() ? args[windowAt + 1] : QString();
        QTimer::singleShot(0, &frmmain, [&frmmain, &state, name, tab, window] {
            zelvor::guarded([&] {
                const auto options = zelvor::readLotteryOptions(zelvor::DatabaseFile(), name);
                frmmain.CloseLottery();
                state.OpenLottery(name, options.kind, zelvor::DatabaseFile());
                frmmain.enterOpenedState();
                if (tab > 0)
                    frmmain.selectAnalysisTab(tab);
                if (!window.isEmpty())
                    frmmain.openToolWindow(window);
            });
        });
    }
    return app.exec();
}
