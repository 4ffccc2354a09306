// The draw editor: export, the two states, checked rows, confirmed deletion.
#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

#include "data/u_data.h"
#include "support/fake_dialogs.h"
#include "support/temp_home.h"

using namespace zelvor;
using namespace zelvor::testing;

class DataEditorTest : public QObject {
    Q_OBJECT

    static void select(Tfrmdata& w, const QString& lottery)
    {
        auto* list = w.findChild<QListWidget*>("lstcaipiao");
        const auto items = list->findItems(lottery, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        list->setCurrentItem(items.first());
        w.lstcaipiaoClick();
    }
    static QPushButton* button(Tfrmdata& w, const char* name) { return w.findChild<QPushButton*>(name); }
    static int ssqRows(const TempHome& home)
    {
        return home.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表"));
    }

private slots:
    void controlsCaptionsAndHints()
    {
        TempHome home;
        DialogScript dialogs;
        Tfrmdata w;
        QCOMPARE(w.windowTitle(), QStringLiteral("彩票数据"));
        QCOMPARE(w.findChild<QListWidget*>("lstcaipiao")->count(), 3);
        QCOMPARE(button(w, "btnadd")->text(), QStringLiteral("+"));
        QCOMPARE(button(w, "btnadd")->toolTip(), QStringLiteral("添加记录"));
        QCOMPARE(button(w, "btnedit")->text(), QStringLiteral("开始添加"));
        QCOMPARE(button(w, "btnsave")->text(), QStringLiteral("导出"));
        QCOMPARE(button(w, "btnext")->text(), QStringLiteral("关闭"));
        QVERIFY(!button(w, "btnedit")->isEnabled());
        QStringList hints;
        for (QAction* a : w.findChild<QToolBar*>("dbv_caipiao")->actions())
            hints << a->toolTip();
        QCOMPARE(hints, (QStringList{"首条记录", "前面一条", "下面一条", "最末记录", "添加记录", "删除记录", "修改记录",
                                     "保存修改", "取消修改", "刷新记录"}));
        QVERIFY(!w.findChild<QToolBar*>("dbv_caipiao")->isEnabled());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // "+" covers the navigator's insert button.
        QToolBar* nav = w.findChild<QToolBar*>("dbv_caipiao");
        QCOMPARE(button(w, "btnadd")->geometry(), nav->widgetForAction(nav->actions()[4])->geometry());
    }

    void exportWritesTwoDigitValuesAndATrailingBlank()
    {
        TempHome home;
        DialogScript dialogs;
        home.exec({QStringLiteral("insert into 中国福彩3D彩票号码表 values ('2026002',1,2,3,'2026-1-2')"),
                   QStringLiteral("insert into 中国福彩3D彩票号码表 values ('2026001',0,7,12,'2026-1-1')")});
        Tfrmdata w;
        w.btnsaveClick();
        QCOMPARE(dialogs->lastText(), QStringLiteral("请选择要导出的彩票！"));
        select(w, QStringLiteral("中国福彩3D"));
        dialogs->saveAnswers << home.file("out.txt");
        w.btnsaveClick();
        QCOMPARE(dialogs->lastText(), QStringLiteral("成功保存！"));
        const QString folder = home.path() + QStringLiteral("/附属/");
        QCOMPARE(dialogs->proposedNames.last(), folder + "|" + folder + QStringLiteral("中国福彩3D历史号码.txt"));
        QFile f(home.file("out.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("2026001 00 07 12 \r\n2026002 01 02 03 \r\n"));
    }

    void closeIsRefusedWhileAdding()
    {
        TempHome home;
        DialogScript dialogs;
        Tfrmdata w;
        w.show();
        select(w, QStringLiteral("中国福彩双色球"));
        button(w, "btnedit")->click();
        QCOMPARE(button(w, "btnedit")->text(), QStringLiteral("完成添加"));
        QVERIFY(!button(w, "btnext")->isEnabled());
        QVERIFY(w.findChild<QToolBar*>("dbv_caipiao")->isEnabled());
        QVERIFY(button(w, "btnadd")->isEnabled());
        w.close();
        QVERIFY(w.isVisible());
        QCOMPARE(dialogs->messages.last().kind, QStringLiteral("warning"));
        QCOMPARE(dialogs->lastText(), QStringLiteral("请单击《完成添加》按钮保存添加"));
        button(w, "btnedit")->click();
        QCOMPARE(button(w, "btnedit")->text(), QStringLiteral("开始添加"));
        QVERIFY(button(w, "btnext")->isEnabled());
        button(w, "btnext")->click();
        QVERIFY(!w.isVisible());
    }

    void aBadRowIsRefusedAndStaysInEditMode()
    {
        TempHome home;
        DialogScript dialogs;
        home.exec({QStringLiteral("insert into 中国福彩双色球彩票号码表 values ('2026100',1,2,3,4,5,6,7,'2026-12-6')")});
        Tfrmdata w;
        w.show();
        select(w, QStringLiteral("中国福彩双色球"));
        button(w, "btnedit")->click();
        button(w, "btnadd")->click();
        QSqlTableModel* m = w.model();
        QCOMPARE(m->rowCount(), 2);
        const QVariantList values = {"2026101", 1, 5, 12, 17, 22, 40, 9, "2026-12-8"};
        for (int c = 0; c < values.size(); ++c)
            m->setData(m->index(1, c), values[c]);
        button(w, "btnedit")->click();
        QVERIFY(dialogs->lastText().contains(QStringLiteral("号码列“6”：号码40超出范围1-33")));
        QVERIFY(w.adding());
        QCOMPARE(ssqRows(home), 1);
        // A stored issue is refused too.
        m->setData(m->index(1, 6), 33);
        m->setData(m->index(1, 0), "2026100");
        button(w, "btnedit")->click();
        QVERIFY(dialogs->lastText().contains(QStringLiteral("期号“2026100”已经存在")));
        QCOMPARE(ssqRows(home), 1);
        m->setData(m->index(1, 0), "2026101");
        button(w, "btnedit")->click();
        QVERIFY(!w.adding());
        QCOMPARE(home.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表 where 记录期号 = '2026101' "
                                           "and \"6\" = 33 and 开奖日期 = '2026-12-8'")),
                 1);
    }

    void twentyThousandRowsAllReachTheGrid()
    {
        TempHome home;
        DialogScript dialogs;
        {
            ScopedConnection con(home.database());
            con.db().transaction();
            QSqlQuery q(con.db());
            q.prepare(QStringLiteral("insert into 中国福彩双色球彩票号码表 values (?,1,2,3,4,5,6,7,'2026-1-1')"));
            for (int i = 0; i < 20000; ++i) {
                q.addBindValue(QString::number(2000001 + i));
                QVERIFY(q.exec());
            }
            con.db().commit();
        }
        Tfrmdata w;
        w.show();
        select(w, QStringLiteral("中国福彩双色球"));
        QCOMPARE(w.model()->rowCount(), 20000);
        auto* grid = w.findChild<QTableView*>("grdcaipiao");
        QCOMPARE(grid->currentIndex().row(), 19999);
        QCOMPARE(w.model()->data(w.model()->index(19999, 0)).toString(), QStringLiteral("2020000"));
    }

    void deletingAsksOnce()
    {
        TempHome home;
        DialogScript dialogs;
        home.exec({QStringLiteral("insert into 中国福彩双色球彩票号码表 values ('2026100',1,2,3,4,5,6,7,'2026-12-6')"),
                   QStringLiteral("insert into 中国福彩双色球彩票号码表 values ('2026101',1,2,3,4,5,6,8,'2026-12-8')")});
        Tfrmdata w;
        w.show();
        select(w, QStringLiteral("中国福彩双色球"));
        button(w, "btnedit")->click();
        QAction* del = w.findChild<QAction*>("navdelete");
        del->trigger();
        QCOMPARE(dialogs->lastText(), QStringLiteral("删除第 2026101 期？"));
        QCOMPARE(ssqRows(home), 2);
        dialogs->confirmAnswers << true;
        del->trigger();
        QCOMPARE(ssqRows(home), 1);
        QCOMPARE(home.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表 where 记录期号 = '2026100'")), 1);
    }
};

QTEST_MAIN(DataEditorTest)
#include "tst_data.moc"
