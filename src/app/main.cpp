// Program entry: the main window, then the data module, then the event loop.
#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "app/app_setup.h"
#include "app/startup_options.h"
#include "app/u_flash.h"
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
    QString error;
    const std::optional<zelvor::StartupOptions> options = zelvor::parseStartupOptions(app.arguments(), error);
    if (!options) {
        std::fprintf(stderr, "zelvor: %s\nusage: zelvor [--home DIR] [--no-splash] [--open NAME [--tab T] [--window CLASS]]\n",
                     qPrintable(error));
        return 2;
    }
    const QString setupFailure = zelvor::chooseProgramDir(options->home);
    zelvor::programRandom().seedFromClock();
    if (!setupFailure.isEmpty())
        zelvor::showGeneralError(setupFailure);

    if (options->splash) {
        zelvor::Tfrmflash flash;
        QTimer::singleShot(0, &flash, [&flash] {
            if (!flash.missingFiles().isEmpty())
                zelvor::showGeneralError(QStringLiteral("无法读取文件：%1").arg(flash.missingFiles().join(QStringLiteral("、"))));
        });
        flash.exec();
    }

    zelvor::Tdatamod datamod;
    zelvor::LotteryState state(datamod);
    zelvor::AppContext context{state, zelvor::programRandom(), nullptr};
    zelvor::Tfrmmain frmmain(context);
    // Without a window manager (e.g. a bare X server) maximising does nothing,
    // so the window is first given the whole available screen.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        frmmain.setGeometry(screen->availableGeometry());
    frmmain.showMaximized();

    // --open NAME [--tab T] [--window CLASS] opens a lottery (and a tool window) straight away.
    if (!options->openLottery.isEmpty()) {
        QTimer::singleShot(0, &frmmain, [&frmmain, &state, o = *options] {
            zelvor::guarded([&] {
                const auto lottery = zelvor::readLotteryOptions(zelvor::DatabaseFile(), o.openLottery);
                frmmain.CloseLottery();
                state.OpenLottery(o.openLottery, lottery.kind, zelvor::DatabaseFile());
                frmmain.enterOpenedState();
                if (o.tab > 0)
                    frmmain.selectAnalysisTab(o.tab);
                if (!o.window.isEmpty())
                    frmmain.openToolWindow(o.window);
            });
        });
    }
    return app.exec();
}
