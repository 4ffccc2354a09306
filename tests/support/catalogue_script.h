#pragma once
// Drives the modal catalogue dialog of the main window from a test.
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/u_main.h"
#include "data/u_index.h"

namespace zelvor::testing {

// Once the dialog is up: select a lottery (none when empty), then press a button.
inline void scriptCatalogue(Tfrmmain& main, const QString& lottery, const QString& button)
{
    QTimer::singleShot(0, &main, [&main, lottery, button] {
        Tfrmindex* dlg = main.catalogueDialog();
        QVERIFY(dlg);
        auto* list = dlg->findChild<QListWidget*>("lstcaipiao");
        if (!lottery.isEmpty()) {
            const auto items = list->findItems(lottery, Qt::MatchExactly);
            QVERIFY(!items.isEmpty());
            list->setCurrentItem(items.first());
        }
        dlg->findChild<QPushButton*>(button)->click();
        if (dlg->isVisible())
            dlg->reject();
    });
}

// "打开彩票(&O)" through the catalogue dialog.
inline void openThroughMenu(Tfrmmain& main, const QString& lottery)
{
    scriptCatalogue(main, lottery, "btnopen");
    main.mnuopenClick();
}

} // namespace zelvor::testing
