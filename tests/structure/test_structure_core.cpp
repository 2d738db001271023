#include "SiteFixture.h"
#include "TestMain.h"
#include "structure/CatalogOps.h"
#include "structure/CatalogTree.h"
#include "structure/DisplayFormats.h"
#include "structure/StructureEditor.h"

#include <QRandomGenerator>
#include <QSignalSpy>

using namespace CatalogOps;

// The notices of an outcome as "text|title|icon" lines.
static QStringList notices(const Outcome& out)
{
    QStringList lines;
    for (const Notice& n : out.notices)
        lines << QStringLiteral("%1|%2|%3").arg(n.text, n.title).arg(int(n.icon));
    return lines;
}

// The catalog tables as a tree, the single-node statements and the designer's rules,
// against a real workspace database.
class TestStructureCore : public QObject {
    Q_OBJECT
    std::unique_ptr<SiteFixture> site;
    SiteDb* db = nullptr;

    void row(int level, const QStringList& names, bool catalog, const QVariant& order, const QString& fmt = {})
    {
        const SqlResult r = site->insertRow(level, names, catalog, order, fmt);
        QVERIFY2(r.ok, qPrintable(r.error));
    }
    // An editor over the site as stored, with sel (or the root) current.
    std::unique_ptr<StructureEditor> editorAt(const QString& sel = QString())
    {
        auto e = std::make_unique<StructureEditor>(*db, site->ctx.events);
        e->reload();
        e->setSelNode(nodeNamed(*e, sel));
        return e;
    }
    static CatalogNode* nodeNamed(const StructureEditor& e, const QString& text)
    {
        for (const auto& n : e.tree().nodes())
            if (n->text == text)
                return n.get();
        return nullptr;
    }
    // Key, text, image, tag, parent key of every node in node order.
    static QStringList describe(const CatalogTree& tree)
    {
        QStringList out;
        for (const auto& n : tree.nodes()) {
            const QString tag = n->tag.isValid() ? (n->tag.toBool() ? "T" : "F") : "-";
            out << QStringLiteral("%1|%2|%3|%4|%5|%6")
                       .arg(n->index)
                       .arg(n->key, n->text, n->image, tag, n->parent ? n->parent->key : QStringLiteral("-"));
        }
        return out;
    }

private Q_SLOTS:
    void init()
    {
        site = std::make_unique<SiteFixture>(QStringLiteral("我的网站"));
        db = &site->db;
    }
    void cleanup() { site.reset(); }

    void loadBuildsKeysInOrderOfAddition()
    {
        // Stored out of order; siblings come back by orderID, ties in stored order.
        row(1, {"产品"}, true, 2);
        row(1, {"简介"}, false, 1, "txt");
        row(1, {"联系"}, false, 2, "txt");
        row(2, {"产品", "家电"}, true, 5);
        row(2, {"产品", "新品"}, false, 1, "news");
        row(2, {"简介", "历史"}, false, 1, "txt"); // under a page: still shown there
        // Found by its level-2 parent alone, whatever its level-1 field says.
        row(3, {"别处", "家电", "冰箱"}, false, 1, "prod01");
        row(3, {"产品", "家电", "空调"}, false, 1, "prod02");
        row(3, {"产品", "无此目录", "孤儿"}, false, 1, "txt");
        row(2, {"无此目录", "孤儿二"}, false, 1, "txt");

        CatalogTree tree;
        QString error;
        QVERIFY2(loadCatalogTree(*db, tree, &error), qPrintable(error));
        const QStringList expected = {
            "1|root|我的网站|fclose|-|-",    "2|fst_1|简介|file|F|root",      "3|snd_2_1|历史|file|F|fst_1",
            "4|fst_2|产品|fclose|T|root",    "5|snd_4_1|新品|file|F|fst_2",   "6|snd_4_2|家电|fclose|T|fst_2",
            "7|thd_6_1|冰箱|file|F|snd_4_2", "8|thd_6_2|空调|file|F|snd_4_2", "9|fst_3|联系|file|F|root",
        };
        QCOMPARE(describe(tree), expected);
        QVERIFY(tree.root()->expanded);
        QCOMPARE(tree.nodeByKey("thd_6_2")->level(), 3);
        QVERIFY(nameExists(tree, "我的网站"));
        QVERIFY(!nameExists(tree, "孤儿"));
    }

    void maxOrderID_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<int>("expected");
        const auto add = [](const char* name, const char* level, const char* parent, int expected) {
            QTest::newRow(name) << QString(level) << QString(parent) << expected;
        };
        add("root, whole level-1 table", "roo", "", 7);
        add("root ignores the name", "roo", "whatever", 7);
        add("level 1: only its children", "fst", "A", 3);
        add("level 1 without children", "fst", "B", 0);
        add("level 2: only its children", "snd", "A2", 9);
        add("level 2 other parent", "snd", "B2", 1);
        add("null orderIDs read as none", "fst", "N", 0);
        add("name with quote and percent", "fst", "O'Neil 100%\\", 4);
        add("level 3 has no children", "thd", "x", -1);
        add("unknown level", "xyz", "A", -1);
    }
    void maxOrderID()
    {
        QFETCH(QString, level);
        QFETCH(QString, parent);
        QFETCH(int, expected);
        row(1, {"A"}, true, 7);
        row(1, {"B"}, true, 2);
        row(2, {"A", "A1"}, true, 3);
        row(2, {"A", "A2"}, true, 1);
        row(2, {"Z", "Z1"}, true, 30); // another parent's child is not a sibling
        row(2, {"N", "N1"}, true, QVariant());
        row(2, {"O'Neil 100%\\", "Q1"}, true, 4);
        row(3, {"A", "A2", "p1"}, false, 9, "txt");
        row(3, {"B", "B2", "p2"}, false, 1, "txt");
        QCOMPARE(getMaxOrderID(*db, level, parent), expected);
    }

    // Moves read and swap the numbers; a missing one reads as 0 and sorts first.
    void nullOrderReadsAsZero()
    {
        row(1, {"a'1"}, true, 1);
        row(1, {"c"}, true, QVariant());
        CatalogTree tree;
        QVERIFY(loadCatalogTree(*db, tree));
        QCOMPARE(tree.node(2)->text, QStringLiteral("c"));
        QCOMPARE(getNodeOrderID(*db, *tree.node(2)), 0);
    }

    void singleRowStatementsKeepNamesExact()
    {
        const QString odd = QStringLiteral("It's \"50%\" \\ off_");
        row(1, {odd}, false, 1, "txt");
        row(1, {"It's \"50"}, false, 2, "news"); // LIKE-style wildcards must not match this
        CatalogTree tree;
        QVERIFY(loadCatalogTree(*db, tree));
        CatalogNode* n = tree.node(2);
        QCOMPARE(n->text, odd);
        QCOMPARE(getAspFileName(*db, *n), QStringLiteral("txt"));
        QVERIFY(setAspFileName(*db, n->level(), n->text, "imgs").ok);
        QCOMPARE(getAspFileName(*db, *n), QStringLiteral("imgs"));
        QCOMPARE(getAspFileName(*db, *tree.node(3)), QStringLiteral("news"));
        QCOMPARE(getAspFileName(*db, *tree.root()), QStringLiteral("none"));

        QVERIFY(renameNode(*db, *n, odd + "新").ok);
        QCOMPARE(getAspFileName(*db, *n), QStringLiteral("none")); // the node still has the old text
        tree.setText(n, odd + "新");
        QCOMPARE(getAspFileName(*db, *n), QStringLiteral("imgs"));
        QVERIFY(nameExists(tree, odd + "新"));
        QVERIFY(!nameExists(tree, odd));
    }

    void removeRenumbersAndForgetsNames()
    {
        CatalogTree tree;
        CatalogNode* root = tree.addNode(nullptr, "root", "站", "fclose");
        QVERIFY(!tree.addNode(nullptr, "root2", "x", "fclose"));
        CatalogNode* a = tree.addNode(root, "fst_1", "A", "fclose", true);
        tree.addNode(a, "snd_2_1", "A1", "file", false);
        CatalogNode* b = tree.addNode(root, "fst_2", "B", "file", false);
        QVERIFY(!tree.addNode(root, "fst_2", "dup key", "file", false));
        tree.addNode(b, "snd_x", "A1", "file", false); // same text twice
        tree.removeNode(a);
        QCOMPARE(describe(tree),
                 (QStringList{"1|root|站|fclose|-|-", "2|fst_2|B|file|F|root", "3|snd_x|A1|file|F|fst_2"}));
        QVERIFY(!tree.containsKey("snd_2_1"));
        QVERIFY(nameExists(tree, "A1")); // still held by the other node
        QVERIFY(!nameExists(tree, "A"));
        QVERIFY(!nameExists(tree, "a1"));
        QCOMPARE(root->children, QList<CatalogNode*>{b});
        QVERIFY(b->isFirstSibling() && b->isLastSibling());
    }

    void randomKeysAreDrawnAgainOnCollision()
    {
        CatalogTree tree;
        CatalogNode* root = tree.addNode(nullptr, "root", "站", "fclose");
        for (int r = 0; r <= 10000; ++r)
            if (r != 4321)
                QVERIFY(tree.addNode(root, "fst_" + QString::number(r), QString(), "file", false));
        QRandomGenerator rng(7);
        QCOMPARE(tree.randomKey("fst", rng), QStringLiteral("fst_4321"));
        tree.addNode(root, "fst_4321", QString(), "file", false);
        QCOMPARE(tree.randomKey("fst", rng), QStringLiteral("fst_10001"));
        const QString snd = tree.randomKey("snd", rng);
        QVERIFY(snd.startsWith("snd_"));
        const int r = snd.mid(4).toInt();
        QVERIFY(r >= 0 && r <= 10000);
    }
    // Adding below the current node: what is refused, what is stored, what the tree shows.
    void addRules_data()
    {
        QTest::addColumn<bool>("catalog");
        QTest::addColumn<QString>("parent"); // "" = the root
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("notice"); // "text|title|icon"
        QTest::addColumn<QString>("stored"); // the new row, "" for none
        const QString dup = QStringLiteral("已存在重名，更改名称!|警告|%1").arg(int(MsgIcon::Warning));
        const QString limit = QStringLiteral("“%1”下的排序号已达到上限32767，不能再添加目录或文件！|警告|%2");
        const QString refuse = "CREATE TRIGGER no_add BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, '磁盘已满'); END";
        const QString failed = QStringLiteral("数据不符合数据库的约束（磁盘已满）|提示|%1").arg(int(MsgIcon::Critical));
        const auto add = [](const char* row, bool catalog, const char* parent, const QString& name,
                            const QString& setup, const QString& notice, const QString& stored) {
            QTest::newRow(row) << catalog << QString(parent) << name << setup << notice << stored;
        };
        add("catalog named like the site", true, "", "我的网站", "", dup, "");
        add("catalog named like a level-2 page", true, "", "二级页", "", dup, "");
        add("page named like a catalog", false, "一级", "一级", "", dup, "");
        add("page without a name", false, "", "", "",
            QStringLiteral("请输入文件名称！|警告|%1").arg(int(MsgIcon::Critical)), "");
        add("catalog at the sort-number limit", true, "", "新", "UPDATE firstCatalog SET orderID=32767",
            limit.arg("我的网站").arg(int(MsgIcon::Warning)), "");
        add("page at the limit under level 2", false, "二级", "新", "UPDATE thirdCatalog SET orderID=32767",
            limit.arg("二级").arg(int(MsgIcon::Warning)), "");
        add("catalog insert fails", true, "一级", "新", refuse.arg("secondCatalog"), failed, "");
        add("page insert fails", false, "", "新", refuse.arg("firstCatalog"), failed, "");
        add("sort numbers unreadable", true, "", "新", "DROP TABLE firstCatalog",
            QStringLiteral("数据库语句出错（no such table: firstCatalog）|提示|%1").arg(int(MsgIcon::Critical)), "");
        add("catalog under level 2: nothing", true, "二级", "新", "", "", "");
        add("catalog under level 3: nothing", true, "三级页", "新", "", "", "");
        add("page under level 3: nothing", false, "三级页", "新", "", "", "");
        add("catalog under the root", true, "", "新", "", "", "新|1|2|NULL");
        add("empty catalog name is taken", true, "", "", "", "", "|1|2|NULL");
        add("catalog under a level-1 page", true, "页", "新",
            "INSERT INTO firstCatalog(firstCatalog,[catalog],orderID) VALUES('页',0,5)", "", "新|页|1|1|NULL");
        add("page under a level-2 page", false, "二级页", "It's \"新\" 50%", "", "",
            "It's \"新\" 50%|二级页|一级|0|1|txt");
        add("page under level 2 numbers after its siblings", false, "二级", "新", "", "", "新|二级|一级|0|2|txt");
    }
    void addRules()
    {
        QFETCH(bool, catalog);
        QFETCH(QString, parent);
        QFETCH(QString, name);
        QFETCH(QString, setup);
        QFETCH(QString, notice);
        QFETCH(QString, stored);
        // 一级 > 二级 > 三级页, and a level-2 page 二级页 beside 二级.
        row(1, {"一级"}, true, 1);
        row(2, {"一级", "二级"}, true, 1);
        row(2, {"一级", "二级页"}, false, 2, "txt");
        row(3, {"一级", "二级", "三级页"}, false, 1, "txt");
        if (!setup.isEmpty())
            QVERIFY(db->run(setup).ok);
        const auto e = editorAt(parent);
        CatalogNode* sel = e->selNode();
        const QStringList before = site->allRows();
        const int nodesBefore = e->tree().count();
        QSignalSpy changed(&site->ctx.events, &SiteEvents::structureChanged);
        QSignalSpy added(e.get(), &StructureEditor::nodeAdded);

        const Outcome out = catalog ? e->addCatalog(name) : e->addPage(name, QStringLiteral("txt"));
        QCOMPARE(notices(out), notice.isEmpty() ? QStringList() : QStringList{notice});
        QCOMPARE(out.done, notice.isEmpty());
        QStringList now = site->allRows();
        for (const QString& r : before)
            now.removeOne(r);
        QCOMPARE(now.join(""), stored);
        QCOMPARE(e->tree().count(), nodesBefore + (stored.isEmpty() ? 0 : 1));
        QCOMPARE(changed.count(), stored.isEmpty() ? 0 : 1);
        if (!stored.isEmpty()) {
            auto* node = added.first().first().value<CatalogNode*>();
            QCOMPARE(node->parent, sel);
            QCOMPARE(node->level(), sel->level() + 1);
            QCOMPARE(node->tag.toBool(), catalog);
            QVERIFY(sel->expanded);
        }
    }

    void moveSequencesAndRefusals()
    {
        for (int i = 0; i < 3; ++i)
            row(1, {QString(QChar(u'甲' + i))}, true, (i + 1) * 10); // gaps are fine
        row(2, {"甲", "子一"}, false, 1, "txt");
        row(2, {"甲", "子二"}, false, 2, "txt");
        const QString a = QString(QChar(u'甲')), b = QString(QChar(u'甲' + 1)), c = QString(QChar(u'甲' + 2));
        row(2, {b, "别的"}, false, 1, "txt");
        const auto e = editorAt();
        QSignalSpy changed(&site->ctx.events, &SiteEvents::structureChanged);
        const auto order = [&] {
            QString out;
            for (CatalogNode* n : e->tree().root()->children)
                out += n->text;
            return out;
        };
        const auto select = [&](const QString& text) { e->setSelNode(nodeNamed(*e, text)); };
        QCOMPARE(notices(e->move(true)),
                 QStringList{QStringLiteral("不能够移动根目录！|警告|%1").arg(int(MsgIcon::Warning))});
        // Down, down again and up once, clicking it before each move: it ends second.
        for (bool up : {false, false, true}) {
            select(a);
            const Outcome out = e->move(up);
            QVERIFY(out.done && out.notices.isEmpty());
            QCOMPARE(e->selNode(), e->tree().root());
        }
        QCOMPARE(order(), b + a + c);
        QCOMPARE(site->rows(1).mid(0, 3), (QStringList{a + "|1|20|NULL", b + "|1|10|NULL", c + "|1|30|NULL"}));
        QCOMPARE(changed.count(), 3);

        // Only siblings swap at level 2.
        select("子二");
        QVERIFY(e->move(true).done);
        QCOMPARE(site->rows(2),
                 (QStringList{"子一|" + a + "|0|2|txt", "子二|" + a + "|0|1|txt", "别的|" + b + "|0|1|txt"}));

        // The first child has nothing above it, even when the command runs anyway.
        select(b);
        Outcome out = e->move(true);
        QVERIFY(!out.done);
        QCOMPARE(notices(out),
                 QStringList{QStringLiteral("当前节点已是第一个，不能再上移。|提示|%1").arg(int(MsgIcon::Critical))});
        // A row that disappeared behind the tree's back.
        QVERIFY(db->run("DELETE FROM firstCatalog WHERE firstCatalog=?", {c}).ok);
        select(a);
        QCOMPARE(notices(e->move(false)),
                 QStringList{QStringLiteral("排序索引值出错，排序失败!|提示|%1").arg(int(MsgIcon::Critical))});
        // The exchange itself fails: reported, the tree read again, the numbers unchanged.
        e->reload();
        QVERIFY(db->run("CREATE TRIGGER frozen BEFORE UPDATE OF orderID ON firstCatalog "
                        "BEGIN SELECT RAISE(ABORT, 'locked'); END")
                    .ok);
        select(b);
        out = e->move(false);
        QCOMPARE(notices(out), QStringList{QStringLiteral("改变排序失败！||%1").arg(int(MsgIcon::Critical))});
        QCOMPARE(e->selNode(), e->tree().root());
        QCOMPARE(site->rows(1), (QStringList{a + "|1|20|NULL", b + "|1|10|NULL"}));
    }

    void renameOutcomes()
    {
        row(1, {"目录一"}, true, 1);
        row(2, {"目录一", "目录二"}, true, 1);
        row(3, {"目录一", "目录二", "页三"}, false, 1, "imgs");
        QVERIFY(db->run("INSERT INTO content03(thirdCatalog, value01) VALUES('页三', 'x')").ok);
        const auto e = editorAt("目录二");
        QSignalSpy changed(&site->ctx.events, &SiteEvents::structureChanged);
        QSignalSpy renamed(e.get(), &StructureEditor::nodeRenamed);
        const auto node = [&](const QString& text) { return nodeNamed(*e, text); };

        // A catalog: its children and their content follow the new name.
        const QString odd = QStringLiteral("It's \"新\" 50%\\");
        QVERIFY(e->rename(node("目录二"), odd).done);
        QCOMPARE(renamed.count(), 1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(site->rows(3), QStringList{"页三|" + odd + "|目录一|0|1|imgs"});
        QCOMPARE(site->contents(3, "页三").size(), 1);

        // Its own name again is a duplicate: refused, tree read again, nobody told.
        Outcome out = e->rename(node("页三"), "页三");
        QCOMPARE(notices(out), QStringList{QStringLiteral("已存在重名，更改名称!|警告|%1").arg(int(MsgIcon::Warning))});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(e->selNode(), e->tree().root());
        // Empty: refused, tree read again, the others told.
        out = e->rename(node("页三"), "");
        QCOMPARE(notices(out), QStringList{QStringLiteral("重命名不能为空！|提示|%1").arg(int(MsgIcon::Information))});
        QCOMPARE(changed.count(), 2);
        // The root: the label only, until the next reload.
        QVERIFY(e->rename(e->tree().root(), "别的名字").done);
        QCOMPARE(db->webName(), QStringLiteral("我的网站"));
        e->reload();
        QCOMPARE(e->tree().root()->text, QStringLiteral("我的网站"));
    }

    // The format change goes to the page it was asked for, whatever is current by then.
    void changeFormatClearsThePagesFields()
    {
        row(1, {"一级"}, true, 1);
        row(2, {"一级", "页二"}, false, 1, "txt");
        row(2, {"一级", "别页"}, false, 2, "txt");
        const QString sql =
            "INSERT INTO content02(secondCatalog, value01, value06, value15, field01, field09, field15) "
            "VALUES(?, 'v1', 'v6', 'v15', 'f1', 'f9', 'f15')";
        for (const char* page : {"页二", "页二", "别页"})
            QVERIFY(db->run(sql, {QString(page)}).ok);
        const auto e = editorAt("页二");
        const PageRef target = e->selectedPage();
        QCOMPARE(target.level, 2);
        e->setSelNode(e->tree().root());
        QSignalSpy shown(e.get(), &StructureEditor::formatChanged);
        QVERIFY(e->changeFormat(target, "prod02").done);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(e->currentFormat(), QStringLiteral("prod02"));
        QCOMPARE(site->rows(2), (QStringList{"页二|一级|0|1|prod02", "别页|一级|0|2|txt"}));
        const SqlResult r = db->run("SELECT printf('%s,%s,%s,%s,%s,%s', value01, value06, value15, field01, field09, "
                                    "field15) FROM content02 ORDER BY ID");
        QStringList values;
        for (const QSqlRecord& rec : r.rows)
            values << rec.value(0).toString();
        QCOMPARE(values, (QStringList{",,,,,", ",,,,,", "v1,v6,v15,f1,f9,f15"}));

        // The root, and a page renamed while the dialog was open: nothing changes.
        QCOMPARE(notices(e->changeFormat(e->selectedPage(), "txt")),
                 QStringList{QStringLiteral("没有在左边选择栏目！|警告|%1").arg(int(MsgIcon::Critical))});
        QVERIFY(db->run("UPDATE secondCatalog SET secondCatalog='改名' WHERE secondCatalog='别页'").ok);
        const Outcome gone = e->changeFormat({2, "别页"}, "txt");
        QVERIFY(!gone.done);
        QCOMPARE(gone.notices.size(), 1);
        QCOMPARE(site->contents(2, "改名").value(0).value("field15").toString(), QStringLiteral("f15"));
    }

    // The one table of formats: codes are unique, product codes are the product tiles, and
    // every sample page and tile picture is shipped.
    void formatTableMatchesTheApplicationDirectory()
    {
        QStringList codes;
        for (const DisplayFormats::Format& f : DisplayFormats::all()) {
            QVERIFY2(QFile::exists(site->app.file(f.samplePage())), qPrintable(f.samplePage()));
            QVERIFY2(QFile::exists(site->app.file(f.tilePicture)), qPrintable(f.tilePicture));
            QCOMPARE(f.product, DisplayFormats::isProductCode(f.code));
            codes << f.code;
        }
        QCOMPARE(codes.removeDuplicates(), 0);
        QVERIFY(!DisplayFormats::find("none"));
        QVERIFY(QFile::exists(site->app.file(DisplayFormats::welcomePage())));
    }

    void tileLayoutArithmetic_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("areaHeight");
        QTest::addColumn<QString>("spots"); // left,top of every tile
        QTest::addColumn<int>("scrollMax");
        // w = 2400, h = 2090, Line1 at 375: rows start 575, then +2190.
        QTest::newRow("eight general tiles")
            << 8 << 5000 << "300,575 2880,575 5460,575 300,2765 2880,2765 5460,2765 300,4955 2880,4955" << 2245;
        QTest::newRow("three product tiles fit") << 3 << 5000 << "300,575 2880,575 5460,575" << 0;
        QTest::newRow("exactly fitting") << 4 << 5055 << "300,575 2880,575 5460,575 300,2765" << 0;
        QTest::newRow("one twip short") << 4 << 5054 << "300,575 2880,575 5460,575 300,2765" << 1;
    }
    void tileLayoutArithmetic()
    {
        QFETCH(int, count);
        QFETCH(int, areaHeight);
        QFETCH(QString, spots);
        QFETCH(int, scrollMax);
        const auto l = DisplayFormats::layoutFormatTiles(count, 2400, 2090, 375, areaHeight);
        QStringList got;
        for (const auto& s : l.spots)
            got << QStringLiteral("%1,%2").arg(s.left).arg(s.top);
        QCOMPARE(got.join(' '), spots);
        QCOMPARE(l.scrollMax, scrollMax);
        QCOMPARE(l.height, l.spots.last().top + 2090 + 200);
    }
};

WEBLARK_TEST_MAIN(TestStructureCore)
#include "test_structure_core.moc"
