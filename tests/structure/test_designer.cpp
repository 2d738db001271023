#include "DesignerFixture.h"
#include "TestMain.h"
#include "structure/dgnFrm_modFile.h"
#include "widgets/WebPane.h"

#include <QAction>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

// root
//  目录一 (catalog)      目录二 (catalog) > 目录三 (catalog), 页三 (page)
//                        页二 (page, with two content rows)
//  页一 (page)
static void buildSite(DesignerFixture& f)
{
    f.insertRow(1, {"目录一"}, true, 1);
    f.insertRow(1, {"页一"}, false, 2, "txt");
    f.insertRow(2, {"目录一", "目录二"}, true, 1);
    f.insertRow(2, {"目录一", "页二"}, false, 2, "news");
    f.insertRow(3, {"目录一", "目录二", "目录三"}, true, 1);
    f.insertRow(3, {"目录一", "目录二", "页三"}, false, 2, "imgs");
    for (const char* title : {"第一条", "第二条"})
        QVERIFY(f.db.run("INSERT INTO content02(secondCatalog, value01) VALUES('页二', ?)", {QString(title)}).ok);
    QVERIFY(f.db.run("INSERT INTO content03(thirdCatalog, value01) VALUES('页三', 'x')").ok);
}

static int count(DesignerFixture& f, const QString& sql)
{
    const SqlResult r = f.db.run(sql);
    return r.ok && !r.isEmpty() ? r.first().value(0).toInt() : -1;
}

static QString urlOf(DesignerFixture& f)
{
    return f.child<WebPane>("wb_format")->url().toLocalFile();
}

// Starts the rename command; the label editor it opens, nullptr when none did.
static QLineEdit* startRename(DesignerFixture& f)
{
    QTest::mouseClick(f.child<QPushButton>("cmd_ren"), Qt::LeftButton);
    QLineEdit* editor = nullptr;
    (void)QTest::qWaitFor([&] { return (editor = f.tree()->viewport()->findChild<QLineEdit*>()) != nullptr; }, 5000);
    return editor;
}

// Starts the rename command and types newText into the label editor.
static void renameTo(DesignerFixture& f, const QString& newText)
{
    QLineEdit* editor = startRename(f);
    QVERIFY(editor);
    editor->selectAll();
    editor->setText(newText);
    QTest::keyClick(editor, Qt::Key_Return);
}

class TestDesigner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithTheTreeAndTheWelcomeSample()
    {
        DesignerFixture f;
        buildSite(f);
        designFrm& d = f.open();
        QCOMPARE(d.windowTitle(), QStringLiteral("设计栏目"));
        QCOMPARE(f.shown(), (QStringList{"测试网站", "-目录一", "--目录二", "---目录三", "---页三", "--页二", "-页一"}));
        QCOMPARE(d.selNode(), d.nodes().root());
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/welcome01.htm");
        QVERIFY(!f.child<QPushButton>("cmd_mod")->isEnabled());
        QVERIFY(!f.child<QPushButton>("cmd_addField")->isEnabled());
        QStringList captions;
        for (const char* name : {"cmd_addCat", "cmd_addFile", "cmd_delNode", "cmd_ren", "cmd_up", "cmd_down",
                                 "cmd_refresh", "cmd_mod", "cmd_addField", "cmd_help"})
            captions << f.child<QPushButton>(name)->text();
        QCOMPARE(captions, (QStringList{"添加目录", "添加文件", "删除", "重命名", "上移一位", "下移一位", "刷新",
                                        "修改样式", "编辑字段", "帮助"}));
        QStringList items;
        for (QAction* a : f.child<QMenu>("ppMnu")->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + "=" + a->text());
        QCOMPARE(items, (QStringList{"ppMnu_addCat=添加目录(&C)", "ppMnu_addFile=添加文件(&F)", "ppMnu_del=删除(&D)",
                                     "ppMnu_ren=重命名(&R)", "-", "ppMnu_refresh=刷新(&E)", "-",
                                     "ppMnu_moveUp=上移一位(&U)", "ppMnu_moveDown=下移一位(&D)"}));
        // Pictures: folders for the root and catalogs, files for pages; the key rides on the item.
        QTreeWidgetItem* page = d.tree().itemOf(f.node("页三"));
        QCOMPARE(page->data(0, CatalogTreeBinding::KeyRole).toString(), QStringLiteral("thd_3_2"));
        QCOMPARE(page->icon(0).cacheKey(), CatalogTreeBinding::icon("file").cacheKey());
        QCOMPARE(d.tree().itemOf(f.node("目录三"))->icon(0).cacheKey(), CatalogTreeBinding::icon("fclose").cacheKey());
        QCOMPARE(d.tree().itemOf(d.nodes().root())->icon(0).cacheKey(), CatalogTreeBinding::icon("fopen").cacheKey());
    }

    void welcomeComesBackOnTurningToTheWindow()
    {
        DesignerFixture f;
        buildSite(f);
        QMdiArea area;
        area.resize(1000, 700);
        area.show();
        f.frm = std::make_unique<designFrm>(f.ctx);
        QMdiSubWindow* mine = area.addSubWindow(f.frm.get());
        auto* other = new QWidget;
        QMdiSubWindow* theirs = area.addSubWindow(other);
        theirs->show();
        mine->show();
        area.setActiveSubWindow(mine);
        f.click("页一");
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/txt.htm");
        // Focus leaving the frame and coming back is not a turn to this window.
        area.setActiveSubWindow(nullptr);
        area.setActiveSubWindow(mine);
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/txt.htm");
        area.setActiveSubWindow(theirs);
        area.setActiveSubWindow(mine);
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/welcome01.htm");
        area.removeSubWindow(f.frm.get());
        f.frm->setParent(nullptr);
    }

    void popupMenuRules_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("enabled"); // addCat addFile del ren refresh up down, as 1/0
        QTest::newRow("root") << "测试网站" << "1111100";
        QTest::newRow("level-1 catalog, first") << "目录一" << "1111101";
        QTest::newRow("level-1 page, last") << "页一" << "0011110";
        QTest::newRow("level-2 catalog") << "目录二" << "0111101";
        QTest::newRow("level-2 page") << "页二" << "0011110";
        QTest::newRow("level-3 catalog") << "目录三" << "1111101";
        QTest::newRow("level-3 page") << "页三" << "0011110";
    }
    void popupMenuRules()
    {
        QFETCH(QString, node);
        QFETCH(QString, enabled);
        DesignerFixture f;
        buildSite(f);
        designFrm& d = f.open();
        f.click(node, Qt::RightButton);
        QMenu* menu = f.child<QMenu>("ppMnu");
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(d.selNode(), f.node(node));
        QString got;
        for (const char* name : {"ppMnu_addCat", "ppMnu_addFile", "ppMnu_del", "ppMnu_ren", "ppMnu_refresh",
                                 "ppMnu_moveUp", "ppMnu_moveDown"})
            got += menu->findChild<QAction*>(name)->isEnabled() ? '1' : '0';
        QCOMPARE(got, enabled);
        menu->hide();
        // Only the menu follows the table; the buttons follow the siblings alone.
        for (const char* name : {"cmd_addCat", "cmd_addFile", "cmd_delNode", "cmd_ren", "cmd_refresh"})
            QVERIFY(f.child<QPushButton>(name)->isEnabled());
        if (node != "测试网站") {
            QCOMPARE(f.child<QPushButton>("cmd_up")->isEnabled(), enabled[5] == '1');
            QCOMPARE(f.child<QPushButton>("cmd_down")->isEnabled(), enabled[6] == '1');
        }
        QVERIFY(f.dlg.shown.isEmpty());
    }

    void leftClicksShowSamples()
    {
        DesignerFixture f;
        buildSite(f);
        f.insertRow(1, {"无格式"}, false, 3);
        f.insertRow(1, {"怪格式"}, false, 4, "frames");
        designFrm& d = f.open();
        f.click("页二");
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/news.htm");
        QCOMPARE(d.statusText(), QStringLiteral("该显示格式能够以超连接的方式显示内容标题，点击超连接可浏览详细内容"));
        QVERIFY(f.child<QPushButton>("cmd_mod")->isEnabled());

        f.click("目录二"); // a catalog changes neither the sample nor the status
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/news.htm");
        QCOMPARE(d.statusText(), QStringLiteral("该显示格式能够以超连接的方式显示内容标题，点击超连接可浏览详细内容"));
        QVERIFY(!f.child<QPushButton>("cmd_mod")->isEnabled());
        QVERIFY(!d.modelessModFile());

        const QStringList codes = {"txt", "news", "imgTxt01", "imgTxt02", "imgTxt03", "bigImg", "imgs", "adv",
                                   "prod01", "prod02", "prod03"};
        for (const QString& code : codes) {
            QVERIFY(f.db.run("UPDATE firstCatalog SET aspFileName=? WHERE firstCatalog='页一'", {code}).ok);
            f.click("页一");
            QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/" + code + ".htm");
            QVERIFY(QFile::exists(urlOf(f)));
            QVERIFY(d.statusText().startsWith("该显示格式能够"));
        }
        QCOMPARE(d.statusText(), QStringLiteral("该显示格式能够将品产以图片的方式显示"));

        // The root, a page without a code, one with an unknown code, one whose row is gone:
        // the modify dialog opens without waiting.
        QVERIFY(f.db.run("DELETE FROM firstCatalog WHERE firstCatalog='页一'").ok);
        for (const char* node : {"测试网站", "无格式", "怪格式", "页一"}) {
            f.click(node);
            QVERIFY2(d.modelessModFile(), qPrintable(node));
            QVERIFY(d.modelessModFile()->isVisible());
            QVERIFY(!d.modelessModFile()->isModal());
            d.modelessModFile()->close();
            QTRY_VERIFY(!d.modelessModFile());
        }
        QVERIFY(f.dlg.shown.isEmpty());
    }

    void buttonHints_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("hint");
        QTest::newRow("add catalog") << "cmd_addCat" << "在当前目录下添加子目录";
        QTest::newRow("add page") << "cmd_addFile" << "在当前目录下添加子文件";
        QTest::newRow("delete") << "cmd_delNode" << "删除当前选中的节点";
        QTest::newRow("rename") << "cmd_ren" << "重命名当前选中节点的名称";
        QTest::newRow("up") << "cmd_up" << "将当前选中节点顺序的上移一位";
        QTest::newRow("down") << "cmd_down" << "将当前选中节点的顺序下移一位";
        QTest::newRow("modify") << "cmd_mod" << "修改当前选中节点的显示格式";
        QTest::newRow("refresh") << "cmd_refresh" << "刷新";
    }
    void buttonHints()
    {
        QFETCH(QString, button);
        QFETCH(QString, hint);
        DesignerFixture f;
        designFrm& d = f.open();
        QPushButton* b = f.child<QPushButton>(button);
        QEnterEvent enter(QPointF(3, 3), b->mapTo(&d, QPointF(3, 3)), b->mapToGlobal(QPointF(3, 3)));
        QApplication::sendEvent(b, &enter);
        QCOMPARE(d.statusText(), hint);
        QWidget* nav = f.child<QWidget>("Frame_nav");
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), nav->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(nav, &move);
        QCOMPARE(d.statusText(), QString());
    }

    void deleteCommand()
    {
        DesignerFixture f;
        buildSite(f);
        designFrm& d = f.open();
        QTest::mouseClick(f.child<QPushButton>("cmd_delNode"), Qt::LeftButton);
        QCOMPARE(f.dlg.shown.size(), 1);
        QVERIFY(f.dlg.lastIs("不能够删除根目录!", "警告", MsgIcon::Warning));
        QCOMPARE(f.content.refreshes, 0);

        f.click("目录一");
        f.dlg.clear();
        f.dlg.answers.enqueue(MsgAnswer::Cancel);
        QTest::mouseClick(f.child<QPushButton>("cmd_delNode"), Qt::LeftButton);
        QVERIFY(f.dlg.lastIs("确实要删除“目录一”项吗？", "警告", MsgIcon::Question));
        QCOMPARE(f.dlg.last().buttons, MsgButtons::OkCancel);
        QCOMPARE(f.content.refreshes, 1); // asked whatever the answer
        QCOMPARE(d.nodes().count(), 7);

        f.dlg.clear();
        f.dlg.answers.enqueue(MsgAnswer::Ok);
        QTest::mouseClick(f.child<QPushButton>("cmd_delNode"), Qt::LeftButton);
        QCOMPARE(f.shown(), (QStringList{"测试网站", "-页一"}));
        QCOMPARE(d.selNode(), d.nodes().root());
        QCOMPARE(f.content.refreshes, 2);
        for (const char* table : {"secondCatalog", "thirdCatalog", "content02", "content03"})
            QCOMPARE(count(f, QString("SELECT count(*) FROM ") + table), 0);

        // Through the pop-up menu: a page alone.
        f.click("页一", Qt::RightButton);
        f.child<QMenu>("ppMnu")->hide();
        f.child<QAction>("ppMnu_del")->trigger();
        QCOMPARE(f.shown(), QStringList{"测试网站"});
        QCOMPARE(count(f, "SELECT count(*) FROM firstCatalog"), 0);
    }

    void moveSequences()
    {
        DesignerFixture f;
        for (int i = 0; i < 3; ++i)
            f.insertRow(1, {QString(QChar(u'甲' + i))}, true, (i + 1) * 10); // gaps are fine
        designFrm& d = f.open();
        const auto order = [&] {
            QStringList out;
            for (CatalogNode* n : d.nodes().root()->children)
                out << n->text;
            return out.join("");
        };
        QCOMPARE(order(), QChar(u'甲') + QString(QChar(u'甲' + 1)) + QChar(u'甲' + 2));
        const QString a = QString(QChar(u'甲'));
        const QString b = QString(QChar(u'甲' + 1));
        const QString c = QString(QChar(u'甲' + 2));

        f.click(a);
        QVERIFY(!f.child<QPushButton>("cmd_up")->isEnabled());
        QTest::mouseClick(f.child<QPushButton>("cmd_down"), Qt::LeftButton);
        QCOMPARE(order(), b + a + c);
        QCOMPARE(d.selNode(), d.nodes().root());
        f.click(a);
        QTest::mouseClick(f.child<QPushButton>("cmd_down"), Qt::LeftButton);
        QCOMPARE(order(), b + c + a);
        f.click(a);
        QVERIFY(!f.child<QPushButton>("cmd_down")->isEnabled());
        QTest::mouseClick(f.child<QPushButton>("cmd_up"), Qt::LeftButton);
        QCOMPARE(order(), b + a + c);
        QCOMPARE(f.rows(1), (QStringList{a + "|1|20|NULL", b + "|1|10|NULL", c + "|1|30|NULL"}));
        QCOMPARE(f.content.refreshes, 3);
        QVERIFY(f.dlg.shown.isEmpty());

        // Level 2 through the menu: only siblings swap.
        f.insertRow(2, {a, "子一"}, false, 1, "txt");
        f.insertRow(2, {a, "子二"}, false, 2, "txt");
        f.insertRow(2, {b, "别的"}, false, 1, "txt");
        QTest::mouseClick(f.child<QPushButton>("cmd_refresh"), Qt::LeftButton);
        f.click("子二", Qt::RightButton);
        f.child<QMenu>("ppMnu")->hide();
        f.child<QAction>("ppMnu_moveUp")->trigger();
        QCOMPARE(f.rows(2), (QStringList{"子一|" + a + "|0|2|txt", "子二|" + a + "|0|1|txt", "别的|" + b + "|0|1|txt"}));
        QCOMPARE(f.node("子二")->parent->children.first(), f.node("子二"));
    }

    void moveMessages()
    {
        DesignerFixture f;
        f.insertRow(1, {"一"}, true, 1);
        f.insertRow(1, {"二"}, true, 2);
        designFrm& d = f.open();
        QTest::mouseClick(f.child<QPushButton>("cmd_up"), Qt::LeftButton); // the root is current
        QVERIFY(f.dlg.lastIs("不能够移动根目录！", "警告", MsgIcon::Warning));

        // The first child has nothing above it, even when the command runs anyway.
        f.click("一");
        f.dlg.clear();
        d.cmd_up_Click();
        QCOMPARE(f.dlg.shown.size(), 1);
        QCOMPARE(f.dlg.last().title, QStringLiteral("提示"));
        QCOMPARE(f.dlg.last().icon, MsgIcon::Critical);
        QCOMPARE(f.rows(1), (QStringList{"一|1|1|NULL", "二|1|2|NULL"}));

        // A row that disappeared behind the tree's back.
        QVERIFY(f.db.run("DELETE FROM firstCatalog WHERE firstCatalog='二'").ok);
        f.dlg.clear();
        d.cmd_down_Click();
        QVERIFY(f.dlg.lastIs("排序索引值出错，排序失败!", "提示", MsgIcon::Critical));

        // The exchange itself fails: reported, and the tree is read again.
        f.insertRow(1, {"二"}, true, 2);
        QTest::mouseClick(f.child<QPushButton>("cmd_refresh"), Qt::LeftButton);
        QVERIFY(f.db.run("CREATE TRIGGER frozen BEFORE UPDATE OF orderID ON firstCatalog "
                         "BEGIN SELECT RAISE(ABORT, 'locked'); END").ok);
        f.click("一");
        f.dlg.clear();
        QTest::mouseClick(f.child<QPushButton>("cmd_down"), Qt::LeftButton);
        QCOMPARE(f.dlg.shown.size(), 1);
        QCOMPARE(f.dlg.last().text, QStringLiteral("改变排序失败！"));
        QCOMPARE(f.dlg.last().icon, MsgIcon::Critical);
        QCOMPARE(d.selNode(), d.nodes().root());
        QCOMPARE(f.rows(1), (QStringList{"一|1|1|NULL", "二|1|2|NULL"}));
    }

    void renameOutcomes()
    {
        DesignerFixture f;
        buildSite(f);
        designFrm& d = f.open();

        // A catalog: children and their content follow the new name.
        f.click("目录二");
        const QString odd = QStringLiteral("It's \"新\" 50%\\");
        renameTo(f, odd);
        QTRY_COMPARE(f.content.refreshes, 1);
        QVERIFY(f.dlg.shown.isEmpty());
        QCOMPARE(d.tree().itemOf(f.node(odd))->text(0), odd);
        QCOMPARE(f.rows(2).first(), QString(odd + "|目录一|1|1|NULL"));
        QCOMPARE(f.rows(3), (QStringList{"目录三|" + odd + "|目录一|1|1|NULL", "页三|" + odd + "|目录一|0|2|imgs"}));
        QCOMPARE(count(f, "SELECT count(*) FROM content03 WHERE thirdCatalog='页三'"), 1);
        const QStringList keysBefore = {f.node(odd)->key, f.node("页三")->key};
        QCOMPARE(keysBefore.first(), QStringLiteral("snd_2_1"));

        // A page keeps its content rows.
        f.click("页二");
        renameTo(f, "新闻");
        QTRY_COMPARE(f.content.refreshes, 2);
        QCOMPARE(count(f, "SELECT count(*) FROM content02 WHERE secondCatalog='新闻'"), 2);
        f.click("新闻");
        QCOMPARE(urlOf(f), f.app.appPath() + "tmplImg/news.htm");

        // Its own name again is a duplicate: refused, tree read again, no refresh asked.
        f.click("页一");
        renameTo(f, "页一");
        QTRY_COMPARE(f.dlg.shown.size(), 1);
        QVERIFY(f.dlg.lastIs("已存在重名，更改名称!", "警告", MsgIcon::Warning));
        QCOMPARE(f.content.refreshes, 2);
        QCOMPARE(d.selNode(), d.nodes().root());

        // Empty: refused, tree read again, refresh asked.
        f.click("页一");
        f.dlg.clear();
        renameTo(f, "");
        QTRY_COMPARE(f.dlg.shown.size(), 1);
        QVERIFY(f.dlg.lastIs("重命名不能为空！", "提示", MsgIcon::Information));
        QCOMPARE(f.content.refreshes, 3);
        QCOMPARE(f.rows(1).last(), QStringLiteral("页一|0|2|txt"));

        // The root: the label only.
        renameTo(f, "别的名字");
        QTRY_COMPARE(f.content.refreshes, 4);
        QCOMPARE(d.nodes().root()->text, QStringLiteral("别的名字"));
        QCOMPARE(f.db.webName(), QStringLiteral("测试网站"));
        QTest::mouseClick(f.child<QPushButton>("cmd_refresh"), Qt::LeftButton);
        QCOMPARE(d.nodes().root()->text, QStringLiteral("测试网站"));
    }

    void renameOvertakenByARefresh()
    {
        DesignerFixture f;
        buildSite(f);
        designFrm& d = f.open();
        f.click("页一");
        QLineEdit* editor = startRename(f);
        QVERIFY(editor);
        editor->setText("半途");
        // The edit ends because the refresh button takes the focus; the refresh rebuilds the tree first.
        QTest::mouseClick(f.child<QPushButton>("cmd_refresh"), Qt::LeftButton);
        QTest::qWait(50);
        QCOMPARE(f.rows(1).last(), QStringLiteral("页一|0|2|txt"));
        QVERIFY(f.node("页一"));
        QCOMPARE(d.selNode(), d.nodes().root());
        QVERIFY(f.dlg.shown.isEmpty());
    }

    void loadFailureIsReported()
    {
        DesignerFixture f;
        buildSite(f);
        designFrm& d = f.open();
        QVERIFY(f.db.run("DROP TABLE thirdCatalog").ok);
        QTest::mouseClick(f.child<QPushButton>("cmd_refresh"), Qt::LeftButton);
        QCOMPARE(f.dlg.shown.size(), 1);
        QVERIFY(f.dlg.lastIs("不期望的错误！errNo:mdl_nov", "", MsgIcon::Critical));
        QCOMPARE(f.shown(), (QStringList{"测试网站", "-目录一", "--目录二", "--页二", "-页一"}));
        QCOMPARE(d.selNode(), d.nodes().root());
    }
};

WEBLARK_TEST_MAIN(TestDesigner)
#include "test_designer.moc"
