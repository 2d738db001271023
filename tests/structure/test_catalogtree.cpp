#include "SiteRows.h"
#include "TestAppDir.h"
#include "TestMain.h"
#include "data/SiteDb.h"
#include "structure/CatalogOps.h"
#include "structure/CatalogTree.h"

#include <QRandomGenerator>

using namespace CatalogOps;

// The catalog tables as a tree and the single-node statements, against a real workspace database.
class TestCatalogTree : public QObject {
    Q_OBJECT
    TestAppDir* app = nullptr;
    SiteDb* db = nullptr;

    void row(int level, const QStringList& names, bool catalog, const QVariant& order, const QString& fmt = {})
    {
        const SqlResult r = insertCatalogRow(*db, level, names, catalog, order, fmt);
        QVERIFY2(r.ok, qPrintable(r.error));
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
        app = new TestAppDir;
        QVERIFY(app->isValid());
        db = new SiteDb(QStringLiteral("tree-test"));
        QVERIFY(db->open(app->workPath()));
        QVERIFY(db->updateUserInfo(QStringLiteral("webName"), QStringLiteral("我的网站")).ok);
    }
    void cleanup()
    {
        delete db;
        delete app;
        db = nullptr;
        app = nullptr;
    }

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
            "1|root|我的网站|fclose|-|-",
            "2|fst_1|简介|file|F|root",
            "3|snd_2_1|历史|file|F|fst_1",
            "4|fst_2|产品|fclose|T|root",
            "5|snd_4_1|新品|file|F|fst_2",
            "6|snd_4_2|家电|fclose|T|fst_2",
            "7|thd_6_1|冰箱|file|F|snd_4_2",
            "8|thd_6_2|空调|file|F|snd_4_2",
            "9|fst_3|联系|file|F|root",
        };
        QCOMPARE(describe(tree), expected);
        QVERIFY(tree.root()->expanded);
        QCOMPARE(tree.nodeByKey("thd_6_2")->level(), 3);
        QVERIFY(nameExists(tree, "我的网站"));
        QVERIFY(!nameExists(tree, "孤儿"));
    }

    void orphanReappearsUnderANodeOfItsParentName()
    {
        row(2, {"旧名", "子页"}, false, 1, "txt");
        CatalogTree tree;
        QVERIFY(loadCatalogTree(*db, tree));
        QCOMPARE(tree.count(), 1);
        row(1, {"旧名"}, true, 1);
        tree.clear();
        QVERIFY(loadCatalogTree(*db, tree));
        QCOMPARE(describe(tree).last(), QStringLiteral("3|snd_2_1|子页|file|F|fst_1"));
    }

    void failedLoadKeepsWhatWasRead()
    {
        row(1, {"甲"}, true, 1);
        row(2, {"甲", "乙"}, false, 1, "txt");
        QVERIFY(db->run("DROP TABLE thirdCatalog").ok);
        CatalogTree tree;
        QString error;
        QVERIFY(!loadCatalogTree(*db, tree, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(tree.count(), 3);
        QCOMPARE(loadFailureMessage(), QStringLiteral("不期望的错误！errNo:mdl_nov"));
    }

    void maxOrderID_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<int>("expected");
        QTest::newRow("root, whole level-1 table") << "roo" << "" << 7;
        QTest::newRow("root ignores the name") << "roo" << "whatever" << 7;
        QTest::newRow("level 1: only its children") << "fst" << "A" << 3;
        QTest::newRow("level 1 without children") << "fst" << "B" << 0;
        QTest::newRow("level 2: only its children") << "snd" << "A2" << 9;
        QTest::newRow("level 2 other parent") << "snd" << "B2" << 1;
        QTest::newRow("null orderIDs read as none") << "fst" << "N" << 0;
        QTest::newRow("name with quote and percent") << "fst" << "O'Neil 100%\\" << 4;
        QTest::newRow("level 3 has no children") << "thd" << "x" << -1;
        QTest::newRow("unknown level") << "xyz" << "A" << -1;
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

    void maxOrderIDOfAnEmptySiteIsZero()
    {
        QCOMPARE(getMaxOrderID(*db, "roo", QString()), 0);
        QVERIFY(db->run("DROP TABLE firstCatalog").ok);
        QString error;
        QCOMPARE(getMaxOrderID(*db, "roo", QString(), &error), -1);
        QVERIFY(!error.isEmpty());
    }

    void nodeOrderAndSwap()
    {
        row(1, {"a'1"}, true, 1);
        row(1, {"b\"2"}, true, 5);
        row(1, {"c"}, true, QVariant());
        CatalogTree tree;
        QVERIFY(loadCatalogTree(*db, tree));
        CatalogNode* c = tree.node(2); // null sorts first
        CatalogNode* a = tree.node(3);
        CatalogNode* b = tree.node(4);
        QCOMPARE(c->text, QStringLiteral("c"));
        QCOMPARE(getNodeOrderID(*db, *c), 0);
        QCOMPARE(getNodeOrderID(*db, *tree.root()), -1);
        QCOMPARE(getNodeOrderID(*db, *a), 1);
        QVERIFY(swapOrderID(*db, *a, *b, 1, 5));
        QCOMPARE(getNodeOrderID(*db, *a), 5);
        QCOMPARE(getNodeOrderID(*db, *b), 1);

        QVERIFY(deleteNodeRow(*db, *b).ok);
        QCOMPARE(getNodeOrderID(*db, *b), -1);
        QString error;
        QVERIFY(!swapOrderID(*db, *a, *tree.root(), 1, 2, &error));
    }

    void singleRowStatementsKeepNamesExact()
    {
        const QString odd = QStringLiteral("It's \"50%\" \\ off_");
        row(1, {odd}, false, 1, "txt");
        row(1, {"It's \"50" }, false, 2, "news"); // LIKE-style wildcards must not match this
        CatalogTree tree;
        QVERIFY(loadCatalogTree(*db, tree));
        CatalogNode* n = tree.node(2);
        QCOMPARE(n->text, odd);
        QCOMPARE(getAspFileName(*db, *n), QStringLiteral("txt"));
        QVERIFY(setAspFileName(*db, *n, "imgs").ok);
        QCOMPARE(getAspFileName(*db, *n), QStringLiteral("imgs"));
        QCOMPARE(getAspFileName(*db, *tree.node(3)), QStringLiteral("news"));
        QCOMPARE(getAspFileName(*db, *tree.root()), QStringLiteral("none"));

        QVERIFY(renameNode(*db, *n, odd + "新").ok);
        QCOMPARE(getAspFileName(*db, *n), QStringLiteral("none")); // the node still has the old text
        tree.setText(n, odd + "新");
        QCOMPARE(getAspFileName(*db, *n), QStringLiteral("imgs"));
        QVERIFY(nameExists(tree, odd + "新"));
        QVERIFY(!nameExists(tree, odd));

        // The root has no row: nothing is issued and nothing fails.
        QVERIFY(renameNode(*db, *tree.root(), "x").ok);
        QVERIFY(deleteNodeRow(*db, *tree.root()).ok);
        QCOMPARE(db->webName(), QStringLiteral("我的网站"));
    }

    void insertsLinkToTheirParents()
    {
        CatalogTree tree;
        QVERIFY(loadCatalogTree(*db, tree));
        CatalogNode* root = tree.root();
        QVERIFY(insertCatalog(*db, *root, "一级", 1).ok);
        CatalogNode* l1 = tree.addNode(root, "fst_1", "一级", "fclose", true);
        QVERIFY(insertCatalog(*db, *l1, "二级", 1).ok);
        CatalogNode* l2 = tree.addNode(l1, "snd_1", "二级", "fclose", true);
        QVERIFY(insertPage(*db, *l2, "三级页", 1, "bigImg").ok);
        CatalogNode* l3 = tree.addNode(l2, "thd_1", "三级页", "file", false);
        QVERIFY(!insertCatalog(*db, *l2, "x", 1).ok);
        QVERIFY(!insertPage(*db, *l3, "x", 1, "txt").ok);

        const SqlResult r = db->run("SELECT firstCatalog, secondCatalog, [catalog], orderID, aspFileName FROM thirdCatalog");
        QCOMPARE(r.rows.size(), 1);
        QCOMPARE(r.first().value(0).toString(), QStringLiteral("一级"));
        QCOMPARE(r.first().value(1).toString(), QStringLiteral("二级"));
        QCOMPARE(r.first().value(2).toInt(), 0);
        QCOMPARE(r.first().value(4).toString(), QStringLiteral("bigImg"));
        QVERIFY(db->run("SELECT aspFileName FROM firstCatalog").first().value(0).isNull());

        tree.clear();
        QVERIFY(loadCatalogTree(*db, tree));
        QCOMPARE(describe(tree),
                 (QStringList{"1|root|我的网站|fclose|-|-", "2|fst_1|一级|fclose|T|root", "3|snd_2_1|二级|fclose|T|fst_1",
                              "4|thd_3_1|三级页|file|F|snd_2_1"}));
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
        CatalogNode* same = tree.addNode(b, "snd_x", "A1", "file", false); // same text twice
        tree.removeNode(a);
        QCOMPARE(tree.count(), 3);
        QCOMPARE(b->index, 2);
        QCOMPARE(same->index, 3);
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
};

WEBLARK_TEST_MAIN(TestCatalogTree)
#include "test_catalogtree.moc"
