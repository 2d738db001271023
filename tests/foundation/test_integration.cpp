#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "TestMain.h"
#include "app/MDIFrm.h"
#include "content/insDataFrm.h"
#include "structure/designFrm.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>

// The frame with the real task windows: start-up order, the designer telling the
// content window about changes, and restore unloading everything.
static QStringList treeTexts(QTreeWidget* tree)
{
    QStringList out;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        out << (*it)->text(0);
    return out;
}

class TestIntegration : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void designerChangesReachTheContentWindow()
    {
        TestAppDir app;
        RecordingDialogService dlg;
        {
            SiteDb db(QStringLiteral("seed"));
            QVERIFY(db.open(app.workPath()));
            QVERIFY(db.updateUserInfo(QStringLiteral("webName"), QStringLiteral("县政府网站")).ok);
        }
        MDIFrm frame(app.path(), dlg);
        frame.show();
        QCOMPARE(frame.windowTitle(), QStringLiteral("县政府网站--Weblark自动建站系列软件"));
        for (const char* name : {"designFrm", "insDataFrm", "updataFrm"})
            QVERIFY2(frame.loadedWindow(name), qPrintable(name));
        QMdiSubWindow* active = frame.mdiArea()->activeSubWindow();
        QVERIFY(active && qobject_cast<designFrm*>(active->widget()));
        QVERIFY2(dlg.shown.isEmpty(), qPrintable(dlg.texts().join('|')));

        auto* design = qobject_cast<designFrm*>(frame.loadedWindow("designFrm"));
        auto* content = qobject_cast<insDataFrm*>(frame.loadedWindow("insDataFrm"));
        QVERIFY(design && content);
        QVERIFY(!treeTexts(content->findChild<QTreeWidget*>("tvw_nav")).contains(QStringLiteral("机构设置")));

        // A page added behind the windows' backs shows in both trees when the designer passes on a change.
        QVERIFY(frame.conn().run(QStringLiteral("INSERT INTO firstCatalog (firstCatalog, [catalog], orderID, aspFileName) "
                                                "VALUES (?, 0, 1, 'txt')"),
                                 {QStringLiteral("机构设置")}).ok);
        design->editor().announceChange();
        QVERIFY(treeTexts(content->findChild<QTreeWidget*>("tvw_nav")).contains(QStringLiteral("机构设置")));
        QCOMPARE(treeTexts(content->findChild<QTreeWidget*>("tvw_nav")).first(), QStringLiteral("县政府网站"));

        // Restore closes every task window, the publishing one included; commands load them afresh.
        frame.mnufile_backup();
        dlg.clear();
        frame.mnufile_revert();
        QCOMPARE(dlg.shown.size(), 1);
        for (const QString& name : MDIFrm::startupWindows())
            QVERIFY2(!frame.loadedWindow(name), qPrintable(name));
        frame.xToolbar1_ButtonClick(5);
        auto* reloaded = qobject_cast<insDataFrm*>(frame.loadedWindow("insDataFrm"));
        QVERIFY(reloaded);
        QVERIFY(treeTexts(reloaded->findChild<QTreeWidget*>("tvw_nav")).contains(QStringLiteral("机构设置")));

        frame.xMenu1_Click(QStringLiteral("MnuTool_consultation"));
        QVERIFY(frame.loadedWindow("dlgFrm"));
        frame.close();
        QVERIFY(!frame.loadedWindow("insDataFrm"));
        QVERIFY(!frame.loadedWindow("dlgFrm"));
    }
};

WEBLARK_TEST_MAIN(TestIntegration)
#include "test_integration.moc"
