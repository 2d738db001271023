#include "SiteFixture.h"
#include "TestMain.h"
#include "data/SiteDb.h"
#include "structure/CatalogOps.h"

#include <QFileInfo>

#include <memory>

// The pristine database: the choice rows, and the triggers that keep names linked.
class TestSchema : public QObject {
    Q_OBJECT
    std::unique_ptr<TestAppDir> app;
    std::unique_ptr<SiteDb> db; // closed before its folder goes

    void insertCatalog(int level, const QStringList& names, bool catalog, int order, const QString& fmt = {})
    {
        QVERIFY2(insertCatalogRow(*db, level, names, catalog, order, fmt).ok, "insert");
    }
    void insertContent(int level, const QString& page, const QString& v1)
    {
        QVERIFY(db->run(QStringLiteral("INSERT INTO %1 (%2, value01) VALUES (?, ?)")
                            .arg(SiteDb::contentTable(level), SiteDb::contentLink(level)),
                        {page, v1})
                    .ok);
    }
    int count(const QString& sql, const QVariantList& binds = {})
    {
        const SqlResult r = db->run(sql, binds);
        return r.ok && !r.isEmpty() ? r.first().value(0).toInt() : -1;
    }
    // A little site: A / (B / (P3), P2), plus content on each page level.
    void buildSite()
    {
        insertCatalog(1, {"A"}, true, 1);
        insertCatalog(1, {"P1"}, false, 2, "txt");
        insertCatalog(2, {"A", "B"}, true, 1);
        insertCatalog(2, {"A", "P2"}, false, 2, "news");
        insertCatalog(3, {"A", "B", "P3"}, false, 1, "imgs");
        insertContent(1, "P1", "one");
        insertContent(2, "P2", "two");
        insertContent(3, "P3", "three");
    }

private Q_SLOTS:
    void init()
    {
        db.reset();
        app = std::make_unique<TestAppDir>();
        QVERIFY(app->isValid());
        db = std::make_unique<SiteDb>(QStringLiteral("schema-test"));
        QVERIFY(db->open(app->workPath()));
    }

    void pristineRows()
    {
        const SqlResult info = db->selectUserInfo();
        QVERIFY(info.ok);
        QCOMPARE(info.rows.size(), 1);
        QCOMPARE(fieldValue(info.first(), "user_ID").toInt(), 1);
        QVERIFY(fieldText(info.first(), "field06").contains("||"));
        QCOMPARE(count("SELECT count(*) FROM firstCatalog"), 0);
        QVERIFY(db->selectTemplateGroups("defaultTmpl").rows.size() >= 2);
        QVERIFY(db->selectTemplateGroups("headTmpl").rows.size() >= 2);
        QVERIFY(db->selectFonts().rows.size() >= 6);
        const SqlResult types = db->selectProdTypes();
        QVERIFY(types.rows.size() >= 4);
        for (const QSqlRecord& t : types.rows)
            QVERIFY2(!db->selectProdClasses(fieldText(t, "type_name")).rows.isEmpty(), "a type without classes");
    }

    void everyChoiceRowNamesAPicture()
    {
        for (const QString& table : {QStringLiteral("defaultTmpl"), QStringLiteral("headTmpl")}) {
            for (const QSqlRecord& g : db->selectTemplateGroups(table).rows) {
                for (const QSqlRecord& t : db->selectTemplates(table, fieldText(g, "tmplType")).rows) {
                    const QString name = fieldText(t, "tmplName");
                    QVERIFY2(QFileInfo::exists(app->file("template/" + name)), qPrintable(name));
                    QVERIFY2(QFileInfo::exists(app->file("template/" + name.left(5) + ".jpg")), qPrintable(name));
                }
            }
        }
        for (const QSqlRecord& f : db->selectFonts().rows)
            QVERIFY2(QFileInfo::exists(app->file("fonts/" + fieldText(f, "font"))), qPrintable(fieldText(f, "font")));
        QVERIFY(QFileInfo::exists(app->file("backGround/0005.JPG")));
    }

    void renameCarriesLinks_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("oldName");
        QTest::newRow("level 1 catalog") << 1 << "A";
        QTest::newRow("level 1 page") << 1 << "P1";
        QTest::newRow("level 2 catalog") << 2 << "B";
        QTest::newRow("level 2 page") << 2 << "P2";
        QTest::newRow("level 3 page") << 3 << "P3";
    }
    void renameCarriesLinks()
    {
        QFETCH(int, level);
        QFETCH(QString, oldName);
        buildSite();
        const QString newName = QStringLiteral("新'名%\\");
        QVERIFY(db->renameCatalog(level, oldName, newName).ok);
        QCOMPARE(db->selectCatalogByName(level, newName).rows.size(), 1);
        QCOMPARE(db->selectCatalogByName(level, oldName).rows.size(), 0);
        // Nothing still points at the old name, and nothing was lost.
        QCOMPARE(count("SELECT count(*) FROM secondCatalog WHERE firstCatalog=?", {oldName}), 0);
        QCOMPARE(count("SELECT count(*) FROM thirdCatalog WHERE firstCatalog=? OR secondCatalog=?", {oldName, oldName}),
                 0);
        QCOMPARE(count("SELECT count(*) FROM secondCatalog"), 2);
        QCOMPARE(count("SELECT count(*) FROM thirdCatalog"), 1);
        QCOMPARE(count("SELECT count(*) FROM content01") + count("SELECT count(*) FROM content02") +
                     count("SELECT count(*) FROM content03"),
                 3);
        if (oldName.startsWith('P'))
            QCOMPARE(db->selectContents(level, newName).rows.size(), 1);
        if (oldName == "A") {
            QCOMPARE(db->selectSecondCatalogs(newName).rows.size(), 2);
            QCOMPARE(count("SELECT count(*) FROM thirdCatalog WHERE firstCatalog=?", {newName}), 1);
        }
        if (oldName == "B")
            QCOMPARE(db->selectThirdCatalogs(newName).rows.size(), 1);
    }

    void deleteCarriesDescendants_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("catalogsLeft");
        QTest::addColumn<int>("contentLeft");
        QTest::newRow("level 1 catalog: whole subtree") << 1 << "A" << 1 << 1;
        QTest::newRow("level 1 page") << 1 << "P1" << 4 << 2;
        QTest::newRow("level 2 catalog") << 2 << "B" << 3 << 2;
        QTest::newRow("level 2 page") << 2 << "P2" << 4 << 2;
        QTest::newRow("level 3 page") << 3 << "P3" << 4 << 2;
    }
    void deleteCarriesDescendants()
    {
        QFETCH(int, level);
        QFETCH(QString, name);
        QFETCH(int, catalogsLeft);
        QFETCH(int, contentLeft);
        buildSite();
        QVERIFY(db->deleteCatalog(level, name).ok);
        QCOMPARE(count("SELECT (SELECT count(*) FROM firstCatalog)+(SELECT count(*) FROM secondCatalog)+"
                       "(SELECT count(*) FROM thirdCatalog)"),
                 catalogsLeft);
        QCOMPARE(count("SELECT (SELECT count(*) FROM content01)+(SELECT count(*) FROM content02)+"
                       "(SELECT count(*) FROM content03)"),
                 contentLeft);
    }

    void sameNameOnTwoLevelsIsDistinct()
    {
        insertCatalog(1, {"同名"}, false, 1, "txt");
        insertCatalog(1, {"X"}, true, 2);
        insertCatalog(2, {"X", "同名"}, false, 1, "txt");
        insertContent(1, "同名", "level one");
        insertContent(2, "同名", "level two");
        QVERIFY(db->renameCatalog(2, "同名", "改").ok);
        QCOMPARE(fieldText(db->selectContents(1, "同名").first(), "value01"), QStringLiteral("level one"));
        QCOMPARE(fieldText(db->selectContents(2, "改").first(), "value01"), QStringLiteral("level two"));
    }

    void contentsNewestFirst()
    {
        for (int i = 0; i < 5; ++i)
            insertContent(2, "N", QString::number(i));
        const SqlResult r = db->selectContents(2, "N");
        QCOMPARE(r.rows.size(), 5);
        QCOMPARE(fieldText(r.rows.first(), "value01"), QStringLiteral("4"));
    }

    // The sort-number swap and the format change: when their second statement fails
    // the first one is undone too; otherwise both take effect.
    void twoStatementChangesAreAllOrNothing_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("secondFails");
        for (const char* change : {"swap", "format"}) {
            QTest::newRow(QByteArray(change).append(" done")) << change << false;
            QTest::newRow(QByteArray(change).append(" undone")) << change << true;
        }
    }
    void twoStatementChangesAreAllOrNothing()
    {
        QFETCH(QString, change);
        QFETCH(bool, secondFails);
        insertCatalog(1, {"A"}, false, 1, "txt");
        insertCatalog(1, {"B"}, false, 2, "txt");
        insertContent(1, "A", "kept");
        // The swap writes A then B; the format change blanks A's records, then writes A's code.
        if (secondFails)
            QVERIFY(db->run("CREATE TRIGGER fail_second BEFORE UPDATE ON firstCatalog "
                            "WHEN NEW.firstCatalog = 'B' OR NEW.aspFileName = 'imgs' "
                            "BEGIN SELECT RAISE(ABORT, 'disk full'); END")
                        .ok);
        CatalogNode a;
        CatalogNode b;
        a.key = QStringLiteral("fst_1"), a.text = QStringLiteral("A");
        b.key = QStringLiteral("fst_2"), b.text = QStringLiteral("B");
        const bool ok = change == QLatin1String("swap") ? CatalogOps::swapOrderID(*db, a, b, 1, 2)
                                                        : CatalogOps::changeFormat(*db, 1, "A", "imgs").ok;
        QCOMPARE(ok, !secondFails);
        const QString state =
            change == QLatin1String("swap")
                ? QString::number(count("SELECT orderID FROM firstCatalog WHERE firstCatalog='A'")) +
                      QString::number(count("SELECT orderID FROM firstCatalog WHERE firstCatalog='B'"))
                : fieldText(db->selectCatalogByName(1, "A").first(), "aspFileName") + "|" +
                      fieldText(db->selectContents(1, "A").first(), "value01");
        const char* expected[2][2] = {{"21", "imgs|"}, {"12", "txt|kept"}};
        QCOMPARE(state, QLatin1String(expected[secondFails][change == QLatin1String("format")]));
        // Nothing is left open: the next change stands on its own.
        QVERIFY(db->run("DROP TRIGGER IF EXISTS fail_second").ok);
        QVERIFY(db->renameCatalog(1, "B", "C").ok);
        SiteDb other(QStringLiteral("schema-other"));
        QVERIFY(other.open(app->workPath()));
        QCOMPARE(other.selectCatalogByName(1, "C").rows.size(), 1);
    }
};

WEBLARK_TEST_MAIN(TestSchema)
#include "test_schema.moc"
