// Program entry: the main window, then the data module, then the event loop.
#include <QFont>
#include <QFontDatabase>

#include "app/u_main.h"
#include "common/random.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "data/u_datamod.h"
#include "ui/errors.h"

int main(int argc, char** argv)
{
    zelvor::ZelvorApplication app(argc, argv);
    QApplication::setApplicationName("Zelvor");
    QApplication::setApplicationDisplayName("Zelvor");
    QStringList args = app.arguments();
    zelvor::initProgramDir(args);
    zelvor::programRandom().seedFromClock();

    zelvor::Tdatamod datamod;
    zelvor::LotteryState state(datamod);
    zelvor::AppContext context{state, zelvor::programRandom(), nullptr};
    zelvor::Tfrmmain frmmain(context);
    frmmain.showMaximized();
    return app.exec();
}
