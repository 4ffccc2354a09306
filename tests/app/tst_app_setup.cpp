// Start-up settings of the application: captions exactly as the program sets
// them, and the toolkit's standard dialogs, buttons and menus in Chinese.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "app/app_setup.h"
#include "app/u_main.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "support/fake_dialogs.h"
#include "support/temp_home.h"
#include "support/window_context.h"

using namespace zelvor;
using namespace zelvor::testing;

class AppSetupTest : public QObject {
    Q_OBJECT

    // The caption a desktop shows for a window title: the toolkit appends
    // " — " and the application display name to every title that does not
    // already end with that name.
    static QString shownCaption(const QString& title)
    {
        const QString name = QGuiApplication::applicationDisplayName();
        return title.endsWith(name) ? title : title + QStringLiteral(" — ") + name;
    }

    static bool translationsInstalled()
    {
        return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_CN.qm"));
    }

    bool translated_ = false;

private slots:
    void initTestCase() { translated_ = setupApplication(*qApp); }

    void captionsAreShownExactlyAsSet()
    {
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Zelvor"));
        TempHome home;
        DialogScript dialogs;
        WindowContext env(3);
        Tfrmmain main(env.context);
        QCOMPARE(shownCaption(main.windowTitle()), QStringLiteral("Zelvor"));
        env.state.OpenLottery(QStringLiteral("中国福彩双色球"), 0, DatabaseFile());
        main.enterOpenedState();
        QCOMPARE(main.windowTitle(), QStringLiteral("Zelvor《中国福彩双色球》"));
        // The main window, a message box and a tool window.
        for (const QString& caption : {main.windowTitle(), QStringLiteral("错误"), QStringLiteral("总体过滤")})
            QCOMPARE(shownCaption(caption), caption);
        QWidget* filter = main.openToolWindow(QStringLiteral("Tfrmtotalfilt"));
        QVERIFY(filter);
        QCOMPARE(shownCaption(filter->windowTitle()), QStringLiteral("总体过滤"));
        QVERIFY(dialogs->messages.isEmpty());
    }

    void standardDialogsAndMenusAreChinese()
    {
        QCOMPARE(QLocale().name(), QStringLiteral("zh_CN"));
        if (!translationsInstalled())
            QSKIP("qtbase_zh_CN.qm is not installed (Debian package qt6-translations-l10n)");
        QVERIFY(translated_);

        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));

        // The save dialog of the bet files, as the dialog service builds it.
        QFileDialog save(nullptr, QString(), QDir::tempPath(), QStringLiteral("文本文件(*.txt)"));
        save.setOption(QFileDialog::DontUseNativeDialog);
        save.setAcceptMode(QFileDialog::AcceptSave);
        QCOMPARE(save.windowTitle(), QStringLiteral("另存为"));
        QStringList texts;
        for (QPushButton* b : save.findChildren<QPushButton*>())
            texts << b->text();
        QVERIFY2(texts.contains(QStringLiteral("保存(&S)")), qPrintable(texts.join(',')));
        QVERIFY2(texts.contains(QStringLiteral("取消")), qPrintable(texts.join(',')));

        // The context menu of every edit.
        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList items;
        for (QAction* a : menu->actions())
            items << a->text().section('\t', 0, 0);
        QVERIFY2(items.contains(QStringLiteral("撤消(&U)")), qPrintable(items.join(',')));
        QVERIFY2(items.contains(QStringLiteral("复制(&C)")), qPrintable(items.join(',')));
    }
};

QTEST_MAIN(AppSetupTest)
#include "tst_app_setup.moc"
