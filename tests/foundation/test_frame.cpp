#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "app/MDIFrm.h"
#include "app/frmSplash.h"
#include "core/FramedWindow.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <unistd.h>

// A task window that writes down what the frame tells it ("guide+", "design-").
struct TellingWindow : QWidget, FramedWindow {
    TellingWindow(QStringList& told, QWidget* parent) : QWidget(parent), told(told) {}
    Placement placement() const override
    {
        return objectName() == QLatin1String("guide") ? Placement::TopLeft : Placement::AsItComes;
    }
    void activated() override { told << objectName() + '+'; }
    void deactivated() override { told << objectName() + '-'; }
    QStringList& told;
};

// The frame's own mechanics against a table of plain widgets that count their
// creation and destruction; the real table is walked in test_integration.
struct FrameFixture {
    TestAppDir app;
    RecordingDialogService dlg;
    QMap<QString, int> created;
    QStringList destroyed;
    QStringList told;
    MDIFrm frame{app.path(), dlg, table()};

    WindowEntry::Factory counting(const QString& name)
    {
        return [this, name](AppContext&, QWidget* parent) -> QWidget* {
            created[name]++;
            auto* w = new TellingWindow(told, parent);
            w->setObjectName(name);
            QObject::connect(w, &QObject::destroyed, [this, name] { destroyed << name; });
            return w;
        };
    }
    // Rows out of start-up order on purpose: the order field decides.
    WindowTable table()
    {
        return {
            {"design", Command::ShowDesign, false, 2, true, {}, counting("design")},
            {"chat", Command::Chat, true, 0, false, {}, counting("chat")},
            {"guide", Command::ShowGuide, false, 1, false, {}, counting("guide")},
            {"content", Command::ShowInsData, false, 3, false, {}, counting("content")},
        };
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
    // The frame's context menu names the tool bar in Chinese.
    void toolBarMenuIsChinese()
    {
        FrameFixture f;
        QScopedPointer<QMenu> popup(f.frame.createPopupMenu());
        QStringList entries;
        for (QAction* a : popup->actions())
            entries << a->text();
        QCOMPARE(entries, QStringList{QStringLiteral("工具栏")});
    }

    // The start-up windows open in their order, the one so marked active. Turns from one task window
    // to another are told to both; the frame losing the activation and getting it back is no turn.
    void startupOrderAndTurns()
    {
        FrameFixture f;
        f.frame.show();
        f.frame.openStartupWindows();
        QStringList order;
        for (QMdiSubWindow* sub : f.frame.mdiArea()->subWindowList(QMdiArea::CreationOrder))
            order << sub->widget()->objectName();
        QCOMPARE(order, (QStringList{"guide", "design", "content"}));
        QCOMPARE(f.active(), QStringLiteral("design"));
        QVERIFY(!f.created.contains("chat"));
        QCOMPARE(f.frame.mdiArea()->subWindowList().first()->pos(), QPoint(0, 0));
        f.told.clear();
        f.frame.showWindow(QStringLiteral("guide"));
        QCOMPARE(f.told, (QStringList{"design-", "guide+"}));
        f.frame.mdiArea()->setActiveSubWindow(nullptr);
        f.frame.showWindow(QStringLiteral("guide"));
        QCOMPARE(f.told.size(), 2);
        // A window brings itself back through the frame.
        auto* content = dynamic_cast<FramedWindow*>(f.frame.loadedWindow(QStringLiteral("content")));
        content->bringBack();
        QCOMPARE(f.active(), QStringLiteral("content"));
        QCOMPARE(f.told, (QStringList{"design-", "guide+", "guide-", "content+"}));
    }

    void openWindowIsNotReloaded()
    {
        FrameFixture f;
        f.frame.show();
        // Through the bars' own actions, as a user clicks them.
        const auto action = [&f](const QString& text) {
            QList<QAction*> all = f.frame.toolBar()->actions();
            for (QAction* top : f.frame.menuBar()->actions())
                all += top->menu()->actions();
            for (QAction* a : all) {
                if (a->text() == text)
                    return a;
            }
            qFatal("no action %s", qPrintable(text));
        };
        action(QStringLiteral("用法指南(&G) ..."))->trigger();
        QWidget* guide = f.frame.loadedWindow(QStringLiteral("guide"));
        QVERIFY(guide);
        action(QStringLiteral("设计栏目"))->trigger();
        QCOMPARE(f.active(), QStringLiteral("design"));
        f.frame.xMenu1_Click(QStringLiteral("mnuHelp_hlep"));
        QCOMPARE(f.created.value("guide"), 1);
        QCOMPARE(f.frame.loadedWindow(QStringLiteral("guide")), guide);
        QCOMPARE(f.active(), QStringLiteral("guide"));

        // Closed by the user, it loads afresh next time.
        guide->close();
        QTRY_VERIFY(!f.frame.loadedWindow(QStringLiteral("guide")));
        f.frame.xToolbar1_ButtonClick(1);
        QCOMPARE(f.created.value("guide"), 2);
    }

    void windowWithoutSpecIsReported()
    {
        FrameFixture f;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no window named \"aboutFrm\""));
        QCOMPARE(f.frame.showWindow(QStringLiteral("aboutFrm")), nullptr);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no window is given for command"));
        f.frame.xMenu1_Click(QStringLiteral("mnuView_upData"));
        QVERIFY(f.created.isEmpty());
    }

    void restoreUnloadsStartupWindowsAndCommandsReload()
    {
        FrameFixture f;
        f.frame.show();
        f.frame.openStartupWindows();
        f.frame.xMenu1_Click(QStringLiteral("MnuTool_consultation"));
        f.frame.mnufile_backup();
        QTRY_VERIFY(f.frame.isEnabled()); // the copy runs on a worker thread
        f.dlg.clear();
        f.frame.mnufile_revert();
        QTRY_VERIFY(f.frame.isEnabled());
        QCOMPARE(f.dlg.shown.size(), 1); // the question only
        QCOMPARE(f.destroyed, (QStringList{"guide", "design", "content"}));
        QVERIFY(f.frame.mdiArea()->subWindowList().isEmpty());
        f.frame.xToolbar1_ButtonClick(4);
        QCOMPARE(f.created.value("design"), 2);
        QCOMPARE(f.active(), QStringLiteral("design"));
    }

    // Quitting from the menu or from the tool bar unloads every window in order.
    void quitUnloadsEverythingInOrder()
    {
        for (const bool fromMenu : {true, false}) {
            FrameFixture f;
            f.frame.show();
            f.frame.openStartupWindows();
            f.frame.xMenu1_Click(QStringLiteral("MnuTool_consultation"));
            if (fromMenu)
                f.frame.xMenu1_Click(QStringLiteral("mnuFile_quit"));
            else
                f.frame.xToolbar1_ButtonClick(8);
            QVERIFY(!f.frame.isVisible());
            QCOMPARE(f.destroyed, (QStringList{"guide", "design", "content", "chat"}));
        }
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

    // Problems met on the way up are told over the shown frame once the splash is gone,
    // with the icon that belongs to the title.
    void startupProblemsAfterTheSplash_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("text");
        QTest::newRow("unreadable database") << "junk" << QStringList{"警告"} << "无法打开网站数据库";
        QTest::newRow("moved aside") << "stray" << QStringList{"提示"} << "原有文件已移到";
        QTest::newRow("both") << "stray+unreadable" << QStringList{"提示", "警告"} << "无法建立网站数据库";
        QTest::newRow("read-only application directory") << "readonly" << QStringList{"警告"} << "程序目录可能是只读的";
        QTest::newRow("none") << "" << QStringList{} << "";
    }
    void startupProblemsAfterTheSplash()
    {
        QFETCH(QString, problem);
        QFETCH(QStringList, titles);
        QFETCH(QString, text);
        TestAppDir app(problem != "readonly");
        if (problem == "readonly" && geteuid() == 0)
            QSKIP("root ignores read-only folders");
        const auto writable = qScopeGuard(
            [&] { QFile::setPermissions(app.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
        if (problem == "readonly")
            QFile::setPermissions(app.path(), QFile::ReadOwner | QFile::ExeOwner);
        if (problem == "junk")
            writeFile(app.workPath() + QStringLiteral("govbuilder.sbd"), "not a database");
        if (problem.startsWith("stray")) {
            QFile::remove(app.workPath() + QStringLiteral("govbuilder.sbd"));
            writeFile(app.workPath() + QStringLiteral("old.jpg"), "x");
        }
        if (problem.endsWith("unreadable"))
            QFile::remove(app.file(QStringLiteral("initData/govbuilder.sbd")));
        RecordingDialogService dlg;
        QWidget splash;
        splash.show();
        MDIFrm frame(app.path(), dlg);
        QList<bool> overFrame;
        dlg.whileShown = [&](const RecordingDialogService::Shown&) {
            overFrame << (frame.isVisible() && !splash.isVisible());
        };
        frame.load(&splash);
        QVERIFY(dlg.shown.isEmpty()); // not from inside the splash's tick
        QTRY_COMPARE(dlg.shown.size(), titles.size());
        if (titles.isEmpty())
            return;
        QStringList shownTitles;
        for (const auto& s : dlg.shown) {
            shownTitles << s.title;
            QCOMPARE(s.icon, s.title == QStringLiteral("警告") ? MsgIcon::Warning : MsgIcon::Information);
        }
        QCOMPARE(shownTitles, titles);
        QVERIFY2(dlg.texts().join('|').contains(text), qPrintable(dlg.texts().join('|')));
        QCOMPARE(overFrame, QList<bool>(titles.size(), true));
    }
};

WEBLARK_TEST_MAIN(TestFrame)
#include "test_frame.moc"
