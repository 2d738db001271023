#include "DesignerFixture.h"
#include "TestMain.h"
#include "structure/DisplayFormats.h"
#include "structure/dgnFrm_modFile.h"
#include "structure/disModel.h"
#include "widgets/WebPane.h"

#include <QAction>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

// root
//  目录一 (catalog)      目录二 (catalog) > 目录三 (catalog), 页三 (page)
//                        页二 (page, with two content rows)
//  页一 (page)
struct BuiltSite : DesignerFixture {
    explicit BuiltSite(bool openNow = true)
    {
        insertRow(1, {"目录一"}, true, 1);
        insertRow(1, {"页一"}, false, 2, "txt");
        insertRow(2, {"目录一", "目录二"}, true, 1);
        insertRow(2, {"目录一", "页二"}, false, 2, "news");
        insertRow(3, {"目录一", "目录二", "目录三"}, true, 1);
        insertRow(3, {"目录一", "目录二", "页三"}, false, 2, "imgs");
        for (const char* title : {"第一条", "第二条"})
            QVERIFY(db.run("INSERT INTO content02(secondCatalog, value01) VALUES('页二', ?)", {QString(title)}).ok);
        if (openNow)
            open();
    }
};

static QString urlOf(DesignerFixture& f)
{
    return f.child<WebPane>("wb_format")->url().toLocalFile();
}

static QList<dgnFrm_modFile*> openFormatDialogs(DesignerFixture& f)
{
    QList<dgnFrm_modFile*> open;
    for (dgnFrm_modFile* d : f.frm->findChildren<dgnFrm_modFile*>())
        if (d->isVisible())
            open << d;
    return open;
}

// Starts the rename command and types newText into the label editor.
static void renameTo(DesignerFixture& f, const QString& newText, bool confirm = true)
{
    f.press("cmd_ren");
    QLineEdit* editor = nullptr;
    QVERIFY(QTest::qWaitFor([&] { return (editor = f.tree()->viewport()->findChild<QLineEdit*>()) != nullptr; }));
    editor->setText(newText);
    if (confirm)
        QTest::keyClick(editor, Qt::Key_Return);
}

class TestDesigner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithTheTreeAndTheWelcomeSample()
    {
        BuiltSite f;
        QCOMPARE(f.shown(),
                 (QStringList{"测试网站", "-目录一", "--目录二", "---目录三", "---页三", "--页二", "-页一"}));
        QCOMPARE(f.selNode(), f.root());
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/welcome01.htm");
        QVERIFY(!f.child<QPushButton>("cmd_mod")->isEnabled());
        QVERIFY(!f.child<QPushButton>("cmd_addField")->isEnabled());
        // Pictures: folders for the root and catalogs, files for pages; the key rides on the item.
        QTreeWidgetItem* page = f.item("页三");
        QCOMPARE(page->data(0, CatalogTreeBinding::KeyRole).toString(), QStringLiteral("thd_3_2"));
        QCOMPARE(page->icon(0).cacheKey(), CatalogTreeBinding::icon("file").cacheKey());
        QCOMPARE(f.item("目录三")->icon(0).cacheKey(), CatalogTreeBinding::icon("fclose").cacheKey());
        QCOMPARE(f.item("测试网站")->icon(0).cacheKey(), CatalogTreeBinding::icon("fopen").cacheKey());
    }

    // The menu follows the node's rules; of the buttons only up and down follow the node (its siblings).
    void rightClickOffersTheNodesMenu_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("enabled"); // addCat addFile del ren refresh up down, as 1/0
        for (const char* row :
             {"root|测试网站|1111100", "level-1 catalog, first|目录一|1111101", "level-1 page, last|页一|0011110",
              "level-2 catalog|目录二|0111101", "level-2 page|页二|0011110", "level-3 catalog|目录三|1111101",
              "level-3 page|页三|0011110"}) {
            const QStringList f = QString(row).split('|');
            QTest::newRow(qPrintable(f[0])) << f[1] << f[2];
        }
    }
    void rightClickOffersTheNodesMenu()
    {
        QFETCH(QString, node);
        QFETCH(QString, enabled);
        BuiltSite f;
        f.click(node, Qt::RightButton);
        auto* menu = f.child<QMenu>("ppMnu");
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(f.selNode()->text, node);
        QString items, buttons;
        for (const char* name : {"ppMnu_addCat", "ppMnu_addFile", "ppMnu_del", "ppMnu_ren", "ppMnu_refresh",
                                 "ppMnu_moveUp", "ppMnu_moveDown"})
            items += menu->findChild<QAction*>(name)->isEnabled() ? '1' : '0';
        QCOMPARE(items, enabled);
        menu->hide();
        for (const char* name :
             {"cmd_addCat", "cmd_addFile", "cmd_delNode", "cmd_ren", "cmd_refresh", "cmd_up", "cmd_down"})
            buttons += f.child<QPushButton>(name)->isEnabled() ? '1' : '0';
        QCOMPARE(buttons, "11111" + enabled.right(2));
        QVERIFY(f.dlg.shown.isEmpty());
    }

    void leftClicksShowSamples()
    {
        BuiltSite f;
        f.click("页二");
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/news.htm");
        QVERIFY(f.child<QPushButton>("cmd_mod")->isEnabled());
        const QString newsStatus = f.status();
        f.click("目录二"); // a catalog changes neither the sample nor the status
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/news.htm");
        QCOMPARE(f.status(), newsStatus);
        QVERIFY(!f.child<QPushButton>("cmd_mod")->isEnabled());
        f.click("页三");
        QCOMPARE(urlOf(f), f.app.appPath() + DisplayFormats::find("imgs")->samplePage());
        QCOMPARE(f.status(), DisplayFormats::find("imgs")->description);
        QCOMPARE(f.frm->editor().currentFormat(), QStringLiteral("imgs"));
        QVERIFY(openFormatDialogs(f).isEmpty());
        QVERIFY(f.dlg.shown.isEmpty());
        // Turning back to the window shows the welcome sample again.
        f.frm->activated();
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/welcome01.htm");
    }

    // The root, a page without a code, one with an unknown code and one whose row is gone
    // open the format dialog without waiting; one dialog at a time, for the page it was opened for.
    void formatDialogFromATreeClick()
    {
        BuiltSite f(false);
        f.insertRow(1, {"无格式"}, false, 3);
        f.insertRow(1, {"怪格式"}, false, 4, "frames");
        f.open();
        for (const char* node : {"测试网站", "无格式", "怪格式"}) {
            f.click(node);
            const auto open = openFormatDialogs(f);
            QCOMPARE(open.size(), 1);
            QVERIFY(!open.first()->isModal());
            open.first()->close();
            QTRY_VERIFY(f.frm->findChildren<dgnFrm_modFile*>().isEmpty());
        }

        f.click("无格式");
        dgnFrm_modFile* dlg = openFormatDialogs(f).value(0);
        QVERIFY(dlg);
        f.click("怪格式"); // brought forward, not stacked
        QCOMPARE(openFormatDialogs(f), QList<dgnFrm_modFile*>{dlg});
        f.click("页一"); // another node, current when the dialog is confirmed
        QTest::mouseClick(dlg->findChildren<disModel*>().at(1)->findChild<QWidget*>("img_model"), Qt::LeftButton);
        QTest::mouseClick(dlg->findChild<QPushButton*>("cmd_cfm"), Qt::LeftButton);
        QTRY_VERIFY(f.frm->findChildren<dgnFrm_modFile*>().isEmpty());
        QCOMPARE(f.rows(1), (QStringList{"目录一|1|1|NULL", "页一|0|2|txt", "无格式|0|3|news", "怪格式|0|4|frames"}));
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/news.htm");

        // Confirmed for the root: refused, and the dialog stays.
        f.click("测试网站");
        dlg = openFormatDialogs(f).value(0);
        QTest::mouseClick(dlg->findChild<QPushButton*>("cmd_cfm"), Qt::LeftButton);
        QVERIFY(f.dlg.lastIs("没有在左边选择栏目！", "警告", MsgIcon::Critical));
        QVERIFY(dlg->isVisible());
    }

    void buttonHintsAndTheTreeFrame()
    {
        DesignerFixture f;
        designFrm& d = f.open();
        int hinted = 0;
        for (QPushButton* b : d.findChildren<QPushButton*>()) {
            const QString hint = b->property("hint").toString();
            if (hint.isEmpty())
                continue;
            QEnterEvent enter(QPointF(3, 3), b->mapTo(&d, QPointF(3, 3)), b->mapToGlobal(QPointF(3, 3)));
            QApplication::sendEvent(b, &enter);
            QCOMPARE(f.status(), hint);
            ++hinted;
        }
        QCOMPARE(hinted, 8);
        QWidget* nav = f.child("Frame_nav");
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), nav->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(nav, &move);
        QCOMPARE(f.status(), QString());
    }

    void deleteCommand()
    {
        BuiltSite f;
        f.press("cmd_delNode");
        QCOMPARE(f.dlg.texts(), QStringList{"不能够删除根目录!"});
        QCOMPARE(f.refreshes, 0);

        f.click("目录一");
        f.dlg.clear();
        f.dlg.answers.enqueue(MsgAnswer::Cancel);
        f.press("cmd_delNode");
        QVERIFY(f.dlg.lastIs("确实要删除“目录一”项吗？", "警告", MsgIcon::Question));
        QCOMPARE(f.dlg.last().buttons, MsgButtons::OkCancel);
        QCOMPARE(f.refreshes, 1); // told whatever the answer
        QCOMPARE(f.shown().size(), 7);

        f.dlg.answers.enqueue(MsgAnswer::Ok);
        f.press("cmd_delNode");
        QCOMPARE(f.shown(), (QStringList{"测试网站", "-页一"}));
        QCOMPARE(f.selNode(), f.root());
        QCOMPARE(f.tree()->currentItem(), f.item("测试网站"));
        QCOMPARE(f.refreshes, 2);
        QCOMPARE(f.allRows(), QStringList{"页一|0|2|txt"});
        QVERIFY(f.contents(2, "页二").isEmpty());

        // Through the pop-up menu.
        f.click("页一", Qt::RightButton);
        f.child<QMenu>("ppMnu")->hide();
        f.child<QAction>("ppMnu_del")->trigger();
        QCOMPARE(f.shown(), QStringList{"测试网站"});
    }

    void moveThroughButtonsAndMenu()
    {
        BuiltSite f;
        f.click("目录一");
        QVERIFY(!f.child<QPushButton>("cmd_up")->isEnabled());
        f.press("cmd_down");
        QCOMPARE(f.shown().mid(0, 3), (QStringList{"测试网站", "-页一", "-目录一"}));
        QCOMPARE(f.selNode(), f.root());
        f.click("目录一", Qt::RightButton);
        f.child<QMenu>("ppMnu")->hide();
        f.child<QAction>("ppMnu_moveUp")->trigger();
        QCOMPARE(f.shown().mid(0, 2), (QStringList{"测试网站", "-目录一"}));
        QCOMPARE(f.refreshes, 2);
        QVERIFY(f.dlg.shown.isEmpty());
    }

    void renameThroughTheLabel()
    {
        BuiltSite f;
        f.click("页二");
        renameTo(f, "新闻");
        QTRY_COMPARE(f.refreshes, 1);
        QVERIFY(f.item("新闻"));
        QCOMPARE(f.rows(2).last(), QStringLiteral("新闻|目录一|0|2|news"));
        // A refused name: the tree is read again and shows the stored names.
        f.click("页一");
        renameTo(f, "新闻");
        QTRY_COMPARE(f.dlg.texts(), QStringList{"已存在重名，更改名称!"});
        QVERIFY(f.item("页一"));
        QCOMPARE(f.selNode(), f.root());
    }

    void renameOvertakenByARefresh()
    {
        BuiltSite f;
        f.click("页一");
        renameTo(f, "半途", false);
        // The edit ends because the refresh button takes the focus; the refresh rebuilds the tree first.
        f.press("cmd_refresh");
        QCoreApplication::processEvents(); // the end of the edit is handled once the editor has closed
        QCOMPARE(f.rows(1).last(), QStringLiteral("页一|0|2|txt"));
        QVERIFY(f.item("页一"));
        QCOMPARE(f.selNode(), f.root());
        QVERIFY(f.dlg.shown.isEmpty());
    }

    void loadFailureIsReported()
    {
        BuiltSite f;
        QVERIFY(f.db.run("DROP TABLE thirdCatalog").ok);
        f.press("cmd_refresh");
        QCOMPARE(f.dlg.shown.size(), 1);
        QVERIFY(f.dlg.lastIs("不期望的错误！errNo:mdl_nov", "", MsgIcon::Critical));
        QCOMPARE(f.shown(), (QStringList{"测试网站", "-目录一", "--目录二", "--页二", "-页一"}));
        QCOMPARE(f.selNode(), f.root());
    }
};

WEBLARK_TEST_MAIN(TestDesigner)
#include "test_designer.moc"
