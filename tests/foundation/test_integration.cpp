#include "SiteFixture.h"
#include "TestMain.h"
#include "app/MDIFrm.h"
#include "app/WindowTable.h"
#include "content/insDataFrm.h"
#include "structure/designFrm.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>

#include <memory>

// The frame with the program's real window table: every command opens its window,
// start-up order, the designer telling the content window about changes, and
// shutdown unloading everything (restore is walked with a plain table in test_frame).

// The window each command shows: what the user is promised, kept apart from the table under test.
static const QMap<Command, QString> kWindowOf = {
    {Command::ShowGuide, "guidFrm"},    {Command::ShowInfo, "infoFrm"},       {Command::ShowTemplates, "sltTmplFrm"},
    {Command::ShowDesign, "designFrm"}, {Command::ShowInsData, "insDataFrm"}, {Command::ShowUpData, "updataFrm"},
    {Command::Chat, "dlgFrm"},          {Command::About, "aboutFrm"},
};

static QStringList treeTexts(QTreeWidget* tree)
{
    QStringList out;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        out << (*it)->text(0);
    return out;
}

class TestIntegration : public QObject {
    Q_OBJECT
    std::unique_ptr<TestAppDir> m_app;
    std::unique_ptr<RecordingDialogService> m_dlg;
    ProgramParts m_parts;
    std::unique_ptr<MDIFrm> m_frame;

    QStringList loadedNames() const
    {
        QStringList out;
        for (const WindowEntry& w : m_frame->windows()) {
            if (m_frame->loadedWindow(w.name))
                out << w.name;
        }
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_app = std::make_unique<TestAppDir>();
        m_dlg = std::make_unique<RecordingDialogService>();
        m_frame = std::make_unique<MDIFrm>(m_app->path(), *m_dlg, programWindows(m_parts));
        m_frame->show();
    }
    void cleanupTestCase() { m_frame.reset(); }

    void everyCommandOpensItsWindow_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        for (const MenuItemDef& m : CommandTable::menuItems()) {
            if (m.command == Command::None || kWindowOf.contains(m.command))
                QTest::newRow(qPrintable(m.name)) << m.name << kWindowOf.value(m.command);
        }
        for (const ToolButtonDef& b : CommandTable::toolButtons()) {
            if (b.command == Command::None || kWindowOf.contains(b.command))
                QTest::addRow("tool %d", b.index) << QStringLiteral("#%1").arg(b.index) << kWindowOf.value(b.command);
        }
        QTest::newRow("case matters") << "mnuview_design" << QString();
        QTest::newRow("no tool 0") << "#0" << QString();
    }
    void everyCommandOpensItsWindow()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        for (const WindowEntry& w : m_frame->windows())
            m_frame->unloadWindow(w.name);
        QTest::failOnWarning(QRegularExpression(QStringLiteral("no window")));
        if (item.startsWith('#'))
            m_frame->xToolbar1_ButtonClick(item.mid(1).toInt());
        else
            m_frame->xMenu1_Click(item);
        if (window.isEmpty()) {
            QCOMPARE(loadedNames(), QStringList());
            return;
        }
        QCOMPARE(loadedNames(), QStringList{window});
        QWidget* w = m_frame->loadedWindow(window);
        QCOMPARE(w->metaObject()->className(), qPrintable(window));
        QCOMPARE(w->objectName(), window);
        QVERIFY(w->isVisible());
        const bool floating = w->isWindow();
        QVERIFY(floating || m_frame->mdiArea()->activeSubWindow()->widget() == w);
        QVERIFY(m_dlg->shown.isEmpty());
    }

    void startupDesignerChangesAndShutdown()
    {
        TestAppDir app;
        RecordingDialogService dlg;
        ProgramParts parts;
        MDIFrm frame(app.path(), dlg, programWindows(parts));
        frame.load(nullptr);
        const QStringList expected{"guidFrm", "infoFrm", "sltTmplFrm", "designFrm", "insDataFrm", "updataFrm"};
        QStringList order;
        for (QMdiSubWindow* sub : frame.mdiArea()->subWindowList(QMdiArea::CreationOrder))
            order << sub->widget()->objectName();
        QCOMPARE(order, expected);
        QMdiSubWindow* active = frame.mdiArea()->activeSubWindow();
        QVERIFY(active && qobject_cast<designFrm*>(active->widget()));

        auto* design = qobject_cast<designFrm*>(frame.loadedWindow("designFrm"));
        auto* content = qobject_cast<insDataFrm*>(frame.loadedWindow("insDataFrm"));
        QVERIFY(design && content);
        QVERIFY(!treeTexts(content->findChild<QTreeWidget*>("tvw_nav")).contains(QStringLiteral("机构设置")));

        // A page added behind the windows' backs shows in both trees when the designer passes on a change.
        QVERIFY(insertCatalogRow(frame.conn(), 1, {"机构设置"}, false, 1, "txt").ok);
        design->editor().announceChange();
        QVERIFY(treeTexts(content->findChild<QTreeWidget*>("tvw_nav")).contains(QStringLiteral("机构设置")));

        frame.close();
        for (const WindowEntry& w : frame.windows())
            QVERIFY2(!frame.loadedWindow(w.name), qPrintable(w.name));
    }
};

WEBLARK_TEST_MAIN(TestIntegration)
#include "test_integration.moc"
