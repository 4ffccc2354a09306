#include "ui/list_save.h"

#include "data/program_dir.h"
#include "ui/bet_list_view.h"
#include "ui/busy_scope.h"
#include "ui/dialogs.h"
#include "ui/errors.h"
#include "ui/event_pump.h"

namespace zelvor {

void saveShownList(QWidget* window, const BetListView* view, const QString& proposedName, bool& running,
                   std::initializer_list<QWidget*> disabled, QWidget* focusAfter)
{
    const QString file =
        dialogs().saveFileName(window, ShellFolderPath("Desktop"), proposedName, textFileFilter(), QStringLiteral("txt"));
    if (file.isEmpty())
        return;
    EventPump pump;
    FileWriteResult saved;
    {
        BusyScope busy(window, running, disabled, nullptr, focusAfter);
        saved = view->saveAsBetFile(file, progressFor(pump));
    }
    if (!saved.ok()) {
        showGeneralError(QString::fromStdString(saved.error));
        return;
    }
    showInformation(window, QStringLiteral("成功保存！"));
}

} // namespace zelvor
