#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "TestMain.h"
#include "app/CommandTable.h"
#include "app/MDIFrm.h"
#include "app/frmSplash.h"

#include <QProcess>
#include <QTimer>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolBar>

// A frame whose task windows are plain labelled widgets, counting how often each is created.
struct FrameFixture {
    TestAppDir app;
    RecordingDialogService dlg;
    MDIFrm frame{app.path(), dlg, false};
    QMap<QString, int> created;

    FrameFixture()
    {
        frame.setWindowFactory([this](const QString& name, AppContext&, QWidget* parent) -> QWidget* {
            created[name]++;
            auto* w = new QWidget(parent);
            w->setObjectName(name);
            return w;
        });
    }
    QString active() const
    {
        QMdiSubWindow* sub = frame.mdiArea()->activeSubWindow();
        return sub && sub->widget() ? sub->widget()->objectName() : QString();
    }
};

class TestFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuMatchesTable()
    {
        FrameFixture f;
        QStringList captions;
        for (QAction* top : f.frame.menuBar()->actions()) {
            captions << top->text();
            for (QAction* a : top->menu()->actions())
                captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        }
        const QStringList expectedCaptions = {
            "文件(F) ", "备份数据(&B)... ", "还原数据(&R)...", "-", "退出(&Q)", "视图(V)", "用法指南(&G) ...",
            "基本信息(B)...", "选择模板(&T) ...", "设计栏目(&D) ...", "录入数据(&I) ...", "上传数据(&U) ...",
            "工具(O)", "更新模板(U)...", "-", "咨询台...", "帮助(H)", "帮助(&H)...", "-", "关于(&A)..."};
        QCOMPARE(captions, expectedCaptions);
    }

    void toolBarMatchesTable()
    {
        FrameFixture f;
        QStringList captions;
        for (QAction* a : f.frame.toolBar()->actions()) {
            captions << (a->isSeparator() ? QStringLiteral("|") : a->text());
            if (!a->isSeparator())
                QCOMPARE(a->toolTip(), a->text());
        }
        QCOMPARE(captions, (QStringList{"用法指南", "基本信息", "选择模板", "设计栏目", "录入数据", "上传数据", "|", "退出系统"}));
    }

    void menuDispatch_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::newRow("guide") << "mnuView_guid" << "guidFrm";
        QTest::newRow("help is the guide") << "mnuHelp_hlep" << "guidFrm";
        QTest::newRow("info") << "mnuView_info" << "infoFrm";
        QTest::newRow("templates") << "mnuView_sltTmpl" << "sltTmplFrm";
        QTest::newRow("design") << "mnuView_design" << "designFrm";
        QTest::newRow("content") << "mnuView_insData" << "insDataFrm";
        QTest::newRow("upload") << "mnuView_upData" << "updataFrm";
        QTest::newRow("chat") << "MnuTool_consultation" << "dlgFrm";
        QTest::newRow("about") << "mnuHelp_about" << "aboutFrm";
        QTest::newRow("heading") << "mnuView" << "";
        QTest::newRow("update templates does nothing") << "MnuTool_update" << "";
        QTest::newRow("case matters") << "mnuview_design" << "";
        QTest::newRow("unknown") << "nothing" << "";
        // "#n": the tool bar's button n.
        const char* tools[] = {"guidFrm", "infoFrm", "sltTmplFrm", "designFrm", "insDataFrm", "updataFrm"};
        for (int i = 1; i <= 6; ++i)
            QTest::addRow("tool %d", i) << QString("#%1").arg(i) << tools[i - 1];
        QTest::newRow("tool 7 does nothing") << "#7" << "";
        QTest::newRow("tool 0 does nothing") << "#0" << "";
    }
    void menuDispatch()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        FrameFixture f;
        if (item.startsWith('#'))
            f.frame.xToolbar1_ButtonClick(item.mid(1).toInt());
        else
            f.frame.xMenu1_Click(item);
        if (window.isEmpty()) {
            QVERIFY(f.created.isEmpty());
        } else {
            QCOMPARE(f.created.keys(), QStringList{window});
            QVERIFY(f.frame.loadedWindow(window));
        }
        QVERIFY(f.dlg.shown.isEmpty());
    }

    void startupOrderLeavesDesignerActive()
    {
        FrameFixture f;
        f.frame.show();
        f.frame.openStartupWindows();
        QCOMPARE(f.created.keys().size(), 6);
        QStringList order;
        for (QMdiSubWindow* sub : f.frame.mdiArea()->subWindowList(QMdiArea::CreationOrder))
            order << sub->widget()->objectName();
        QCOMPARE(order, MDIFrm::startupWindows());
        QCOMPARE(f.active(), QStringLiteral("designFrm"));
    }

    void openWindowIsNotReloaded()
    {
        FrameFixture f;
        f.frame.show();
        f.frame.xMenu1_Click(QStringLiteral("mnuView_guid"));
        f.frame.xMenu1_Click(QStringLiteral("mnuView_info"));
        QObject* guide = f.frame.loadedWindow(QStringLiteral("guidFrm"));
        f.frame.xMenu1_Click(QStringLiteral("mnuHelp_hlep"));
        QCOMPARE(f.created.value(QStringLiteral("guidFrm")), 1);
        QCOMPARE(f.frame.loadedWindow(QStringLiteral("guidFrm")), guide);
        QCOMPARE(f.active(), QStringLiteral("guidFrm"));

        // Closed by the user, it loads afresh next time.
        qobject_cast<QWidget*>(guide)->close();
        QTRY_VERIFY(!f.frame.loadedWindow(QStringLiteral("guidFrm")));
        f.frame.xToolbar1_ButtonClick(1);
        QCOMPARE(f.created.value(QStringLiteral("guidFrm")), 2);
    }

    void restoreClosesWindowsAndCommandsReload()
    {
        FrameFixture f;
        f.frame.show();
        f.frame.openStartupWindows();
        f.frame.mnufile_backup();
        QTRY_VERIFY(f.frame.isEnabled()); // the copy runs on a worker thread
        f.dlg.clear();
        f.frame.mnufile_revert();
        QTRY_VERIFY(f.frame.isEnabled());
        QCOMPARE(f.dlg.shown.size(), 1); // the question only
        for (const QString& name : MDIFrm::startupWindows())
            QVERIFY(!f.frame.loadedWindow(name));
        QVERIFY(f.frame.mdiArea()->subWindowList().isEmpty());
        f.frame.xToolbar1_ButtonClick(4);
        QCOMPARE(f.created.value(QStringLiteral("designFrm")), 2);
    }

    void splashOpensMainOnThirdTick()
    {
        int loads = 0;
        frmSplash splash(QStringLiteral("/nonexistent.png"), [&] { ++loads; });
        QVERIFY(splash.timer()->isActive());
        splash.timer()->stop(); // ticks are driven by hand below
        splash.Timer1_Timer();
        splash.Timer1_Timer();
        QCOMPARE(loads, 0);
        splash.Timer1_Timer();
        QCOMPARE(loads, 1);
        QCOMPARE(splash.elapsed(), 150);
        QVERIFY(!splash.timer()->isActive());
    }

    void commandLineVersion()
    {
        QProcess p;
        p.start(TestAppDir::stagedAppDir() + QStringLiteral("/weblark"), {QStringLiteral("--version")});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardOutput().trimmed().endsWith("3.05"));
    }

    void quitClosesTheFrame_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("menu") << true;
        QTest::newRow("tool bar") << false;
    }
    void quitClosesTheFrame()
    {
        QFETCH(bool, fromMenu);
        FrameFixture f;
        f.frame.show();
        f.frame.openStartupWindows();
        QVERIFY(f.frame.isVisible());
        if (fromMenu)
            f.frame.xMenu1_Click(QStringLiteral("mnuFile_quit"));
        else
            f.frame.xToolbar1_ButtonClick(8);
        QVERIFY(!f.frame.isVisible());
        QVERIFY(!f.frame.loadedWindow(QStringLiteral("designFrm")));
    }
};

WEBLARK_TEST_MAIN(TestFrame)
#include "test_frame.moc"
