#include "DesignerFixture.h"
#include "TestMain.h"
#include "structure/DisplayFormats.h"
#include "structure/Twips.h"
#include "structure/dgnFrm_addCat.h"
#include "structure/dgnFrm_addFile.h"
#include "structure/dgnFrm_modFile.h"
#include "structure/disModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

static void confirm(QDialog& d)
{
    QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("cmd_cfm")), Qt::LeftButton);
}

// The add-catalog dialog for the designer's current node; true when it closed.
static bool addCatalog(DesignerFixture& f, const QString& name)
{
    dgnFrm_addCat d(*f.frm, f.frm.get());
    d.show();
    d.findChild<QLineEdit*>(QStringLiteral("txt_name"))->setText(name);
    confirm(d);
    return !d.isVisible() && d.result() == QDialog::Accepted;
}

static void pickTile(PageFormatDialog& d, int tile, bool product)
{
    if (product)
        QTest::mouseClick(d.findChild<QCheckBox*>(QStringLiteral("chk_prod")), Qt::LeftButton);
    if (tile >= 0)
        QTest::mouseClick(d.disModelObj().at(tile)->picture(), Qt::LeftButton);
}

// The add-page dialog with tile `tile` (-1: leave the first one) of the general or product list.
static bool addPage(DesignerFixture& f, const QString& name, int tile = -1, bool product = false)
{
    dgnFrm_addFile d(*f.frm, f.frm.get());
    d.show();
    pickTile(d, tile, product);
    d.findChild<QLineEdit*>(QStringLiteral("txt_name"))->setText(name);
    confirm(d);
    return !d.isVisible() && d.result() == QDialog::Accepted;
}

// 一级 > 二级 > 三级页: a catalog at each level and a page at the bottom.
static void threeLevels(DesignerFixture& f)
{
    f.insertRow(1, {"一级"}, true, 1);
    f.insertRow(2, {"一级", "二级"}, true, 1);
    f.insertRow(3, {"一级", "二级", "三级页"}, false, 1, "txt");
}

class TestDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buildThreeLevelSiteFromNothing()
    {
        DesignerFixture f;
        designFrm& d = f.open();
        QVERIFY(addCatalog(f, "单位简介"));
        QVERIFY(addCatalog(f, "新闻中心"));
        QVERIFY(addPage(f, "联系我们", 1)); // news
        f.click("单位简介");
        QVERIFY(addCatalog(f, "机构设置"));
        QVERIFY(addPage(f, "单位概况")); // no tile clicked: txt
        f.click("机构设置");
        QVERIFY(addPage(f, "办公室", 2));          // imgTxt01
        QVERIFY(addPage(f, "产品目录", 2, true));   // prod03
        QVERIFY(addPage(f, "O'Brien \"100%\" \\", 7)); // adv, a name that needs no escaping by the user
        f.click("新闻中心");
        QVERIFY(addPage(f, "工作动态", 0, true)); // prod01
        QVERIFY(f.dlg.shown.isEmpty());
        QCOMPARE(f.content.refreshes, 9);

        QCOMPARE(f.rows(1), (QStringList{"单位简介|1|1|NULL", "新闻中心|1|2|NULL", "联系我们|0|3|news"}));
        QCOMPARE(f.rows(2), (QStringList{"机构设置|单位简介|1|1|NULL", "单位概况|单位简介|0|2|txt",
                                         "工作动态|新闻中心|0|1|prod01"}));
        QCOMPARE(f.rows(3), (QStringList{"办公室|机构设置|单位简介|0|1|imgTxt01",
                                         "产品目录|机构设置|单位简介|0|2|prod03",
                                         "O'Brien \"100%\" \\|机构设置|单位简介|0|3|adv"}));

        // Added in place: random keys of the child's level, pictures and tags, parents expanded.
        const QStringList expectedShown = {"测试网站", "-单位简介", "--机构设置", "---办公室", "---产品目录",
                                           "---O'Brien \"100%\" \\", "--单位概况", "-新闻中心", "--工作动态", "-联系我们"};
        QCOMPARE(f.shown(), expectedShown);
        const QRegularExpression keyForm("^(fst|snd|thd)_(\\d+)$");
        for (const auto& n : d.nodes().nodes()) {
            if (n->isRoot())
                continue;
            const auto m = keyForm.match(n->key);
            QVERIFY2(m.hasMatch(), qPrintable(n->key));
            QCOMPARE(CatalogTree::levelOf(n->key), n->parent->level() + 1);
            QVERIFY(m.captured(2).toInt() <= 10000);
            QCOMPARE(n->image, n->tag.toBool() ? QStringLiteral("fclose") : QStringLiteral("file"));
            QCOMPARE(d.tree().itemOf(n.get())->data(0, CatalogTreeBinding::KeyRole).toString(), n->key);
        }
        for (const char* parent : {"测试网站", "单位简介", "机构设置", "新闻中心"})
            QVERIFY2(d.tree().itemOf(f.node(parent))->isExpanded(), qPrintable(parent));
        QVERIFY(!f.node("单位概况")->tag.toBool());

        // A refresh replaces them by load keys and shows the same tree.
        QTest::mouseClick(f.child<QPushButton>("cmd_refresh"), Qt::LeftButton);
        QCOMPARE(f.shown(), expectedShown);
        QStringList keys;
        for (const auto& n : d.nodes().nodes())
            keys << n->key;
        QCOMPARE(keys, (QStringList{"root", "fst_1", "snd_2_1", "thd_3_1", "thd_3_2", "thd_3_3", "snd_2_2", "fst_2",
                                    "snd_8_1", "fst_3"}));
        QCOMPARE(d.selNode(), d.nodes().root());
    }

    void addMessages_data()
    {
        QTest::addColumn<QString>("dialog");   // "cat" or "file"
        QTest::addColumn<QString>("parent");   // the node to click first ("" = root)
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("setup");    // what to do to the database first
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        const int warn = int(MsgIcon::Warning);
        const int crit = int(MsgIcon::Critical);
        const QString dup = "已存在重名，更改名称!";
        QTest::newRow("catalog named like the site") << "cat" << "" << "测试网站" << "" << dup << "警告" << warn;
        QTest::newRow("catalog named like a level-2 page") << "cat" << "" << "二级页" << "" << dup << "警告" << warn;
        QTest::newRow("page named like a catalog") << "file" << "一级" << "一级" << "" << dup << "警告" << warn;
        QTest::newRow("page without a name") << "file" << "" << "" << "" << "请输入文件名称！" << "警告" << crit;
        const QString limit = "“%1”下的排序号已达到上限32767，不能再添加目录或文件！";
        QTest::newRow("catalog at the sort-number limit")
            << "cat" << "" << "新" << "UPDATE firstCatalog SET orderID=32767" << limit.arg("测试网站") << "警告" << warn;
        QTest::newRow("page at the limit under level 2")
            << "file" << "二级" << "新" << "UPDATE thirdCatalog SET orderID=32767" << limit.arg("二级") << "警告" << warn;
        const QString refuse = "CREATE TRIGGER no_add BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, '磁盘已满'); END";
        QTest::newRow("catalog insert fails") << "cat" << "一级" << "新" << refuse.arg("secondCatalog") << "磁盘已满"
                                              << "提示" << crit;
        QTest::newRow("page insert fails") << "file" << "" << "新" << refuse.arg("firstCatalog") << "磁盘已满" << "提示"
                                           << crit;
    }
    void addMessages()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, parent);
        QFETCH(QString, name);
        QFETCH(QString, setup);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(int, icon);
        DesignerFixture f;
        threeLevels(f);
        f.insertRow(2, {"一级", "二级页"}, false, 2, "txt");
        f.open();
        if (!setup.isEmpty())
            QVERIFY(f.db.run(setup).ok);
        if (!parent.isEmpty())
            f.click(parent);
        const QStringList before = f.rows(1) + f.rows(2) + f.rows(3);
        const QStringList shownBefore = f.shown();
        f.dlg.clear();

        std::unique_ptr<QDialog> d;
        if (dialog == "cat")
            d = std::make_unique<dgnFrm_addCat>(*f.frm, f.frm.get());
        else
            d = std::make_unique<dgnFrm_addFile>(*f.frm, f.frm.get());
        d->show();
        d->findChild<QLineEdit*>("txt_name")->setText(name);
        confirm(*d);
        QCOMPARE(f.dlg.shown.size(), 1);
        if (setup.contains("RAISE")) {
            // The database's own description of the failure.
            QVERIFY2(f.dlg.last().text.startsWith(text), qPrintable(f.dlg.last().text));
            QVERIFY(f.dlg.lastIs(f.dlg.last().text, title, MsgIcon(icon)));
        } else {
            QVERIFY(f.dlg.lastIs(text, title, MsgIcon(icon)));
        }
        QVERIFY2(d->isVisible(), "the dialog stays open");
        QCOMPARE(f.rows(1) + f.rows(2) + f.rows(3), before);
        QCOMPARE(f.shown(), shownBefore);
        QCOMPARE(f.content.refreshes, 0);
    }

    void sortNumbersFollowTheSiblings()
    {
        DesignerFixture f;
        f.open();
        QVERIFY(addCatalog(f, "甲"));
        QVERIFY(addCatalog(f, "乙"));
        f.click("甲");
        QVERIFY(addPage(f, "甲一"));
        f.click("甲");
        f.dlg.answers.enqueue(MsgAnswer::Ok);
        QTest::mouseClick(f.child<QPushButton>("cmd_delNode"), Qt::LeftButton);
        QVERIFY(addCatalog(f, "丙")); // after the delete the root is current again
        f.click("乙");
        QVERIFY(addPage(f, "乙一"));  // a new parent's first child starts at 1
        QCOMPARE(f.rows(1), (QStringList{"乙|1|2|NULL", "丙|1|3|NULL"}));
        QCOMPARE(f.rows(2), (QStringList{"乙一|乙|0|1|txt"}));
    }

    void emptyCatalogNameIsTaken()
    {
        DesignerFixture f;
        f.open();
        QVERIFY(addCatalog(f, ""));
        QCOMPARE(f.rows(1), (QStringList{"|1|1|NULL"}));
        QCOMPARE(f.shown(), (QStringList{"测试网站", "-"}));
    }

    void deepParentsAddNothing_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("parent");
        QTest::newRow("catalog under level 2") << "cat" << "二级";
        QTest::newRow("catalog under level 3") << "cat" << "三级页";
        QTest::newRow("page under level 3") << "file" << "三级页";
    }
    void deepParentsAddNothing()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, parent);
        DesignerFixture f;
        threeLevels(f);
        f.open();
        f.click(parent);
        const int before = f.frm->nodes().count();
        const bool closed = dialog == "cat" ? addCatalog(f, "新") : addPage(f, "新");
        QVERIFY(closed);
        QCOMPARE(f.frm->nodes().count(), before);
        QCOMPARE(f.rows(1).size() + f.rows(2).size() + f.rows(3).size(), 3);
        QVERIFY(f.dlg.shown.isEmpty());
    }

    void buttonsIgnoreTheMenuRules()
    {
        // A catalog under a level-1 page and a page under a level-2 page, through the buttons.
        DesignerFixture f;
        f.insertRow(1, {"页一"}, false, 1, "txt");
        f.open();
        f.click("页一");
        QVERIFY(addCatalog(f, "目录"));
        f.click("目录");
        QVERIFY(addPage(f, "页三", 5));
        QTest::mouseClick(f.child<QPushButton>("cmd_refresh"), Qt::LeftButton);
        QCOMPARE(f.shown(), (QStringList{"测试网站", "-页一", "--目录", "---页三"}));
        QCOMPARE(f.rows(3), (QStringList{"页三|目录|页一|0|1|bigImg"}));
    }

    void buttonOpensTheModalDialog()
    {
        DesignerFixture f;
        f.open();
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<dgnFrm_addFile*>(QApplication::activeModalWidget());
            if (!d)
                return;
            seen = d->windowTitle() == "添加文件";
            d->findChild<QLineEdit*>("txt_name")->setText("首页");
            pickTile(*d, 6, false);
            confirm(*d);
        });
        QTest::mouseClick(f.child<QPushButton>("cmd_addFile"), Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(f.rows(1), (QStringList{"首页|0|1|imgs"}));
    }

    void tilesAndProductSwitch()
    {
        DesignerFixture f;
        f.open();
        dgnFrm_addFile d(*f.frm);
        d.show();
        const auto tiles = [&] {
            QStringList out;
            for (disModel* t : d.disModelObj())
                out << t->caption() + "=" + t->model() + (t->selected() ? "*" : "");
            return out;
        };
        QCOMPARE(tiles(), (QStringList{"文本格式=txt*", "新闻格式=news", "图文格式一=imgTxt01", "图文格式二=imgTxt02",
                                       "图文格式三=imgTxt03", "大图片格式=bigImg", "图片展示格式=imgs",
                                       "高级设计格式=adv"}));
        QCOMPARE(d.disModelObj().at(3)->picName(), f.app.appPath() + "images/gen04.gif");
        auto* type = d.findChild<QComboBox*>("cmb_type");
        auto* cls = d.findChild<QComboBox*>("cmb_class");
        QVERIFY(!type->isEnabled() && !cls->isEnabled());
        QCOMPARE(type->count(), 6); // filled at opening already
        QCOMPARE(type->currentText(), QStringLiteral("电子产品"));

        // The option button selects as well as the picture; exactly one stays selected.
        QTest::mouseClick(d.disModelObj().at(4)->optionButton(), Qt::LeftButton);
        QTest::mouseClick(d.disModelObj().at(4)->optionButton(), Qt::LeftButton);
        QCOMPARE(d.selectedModel(), QStringLiteral("imgTxt03"));
        QCOMPARE(tiles().filter("*").size(), 1);

        QTest::mouseClick(d.findChild<QCheckBox*>("chk_prod"), Qt::LeftButton);
        QVERIFY(type->isEnabled() && cls->isEnabled());
        QCOMPARE(tiles(), (QStringList{"文本格式=prod01*", "图表格式=prod02", "图片格式=prod03"}));
        QStringList types;
        for (int i = 0; i < type->count(); ++i)
            types << type->itemText(i);
        QCOMPARE(types, (QStringList{"电子产品", "机械设备", "农副产品", "办公用品", "服装纺织", "建筑材料"}));
        const auto classes = [&] {
            QStringList out;
            for (int i = 0; i < cls->count(); ++i)
                out << cls->itemText(i);
            out.sort(); // the join gives no order of its own
            return out;
        };
        QCOMPARE(classes(), (QStringList{"家用电器", "电子元器件", "电脑及配件", "通讯设备"}));
        type->setCurrentIndex(2);
        QCOMPARE(classes(), (QStringList{"果蔬", "畜禽水产", "粮油", "茶叶"}));
        QCOMPARE(cls->currentIndex(), 0);

        QTest::mouseClick(d.findChild<QCheckBox*>("chk_prod"), Qt::LeftButton);
        QVERIFY(!type->isEnabled());
        QCOMPARE(d.disModelObj().size(), 8);
        QCOMPARE(d.selectedModel(), QStringLiteral("txt"));
        QVERIFY(f.dlg.shown.isEmpty());
    }

    void typeNamesAreBound()
    {
        DesignerFixture f;
        QVERIFY(f.db.run("INSERT INTO prodType(type_ID, type_name) VALUES(0, 'Men''s 100%')").ok);
        QVERIFY(f.db.run("INSERT INTO prodClass(Type_ID, class_name) VALUES(0, 'Shirts')").ok);
        f.open();
        dgnFrm_addFile d(*f.frm);
        QCOMPARE(d.findChild<QComboBox*>("cmb_type")->currentText(), QStringLiteral("Men's 100%"));
        QCOMPARE(d.findChild<QComboBox*>("cmb_class")->currentText(), QStringLiteral("Shirts"));
        QVERIFY(f.dlg.shown.isEmpty());
    }

    void emptyChoiceListsAreReported_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::newRow("no types") << "DELETE FROM prodType";
        QTest::newRow("first type without classes") << "DELETE FROM prodClass WHERE Type_ID=1";
    }
    void emptyChoiceListsAreReported()
    {
        QFETCH(QString, setup);
        DesignerFixture f;
        QVERIFY(f.db.run(setup).ok);
        f.open();
        dgnFrm_addFile d(*f.frm);
        QCOMPARE(f.dlg.shown.size(), 1);
        QVERIFY(f.dlg.lastIs("无效的属性值", "提示", MsgIcon::Critical));
        QCOMPARE(d.disModelObj().size(), 8); // the dialog still opens with its tiles
    }

    void tileLayoutArithmetic_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("areaHeight");
        QTest::addColumn<QList<int>>("lefts");
        QTest::addColumn<QList<int>>("tops");
        QTest::addColumn<int>("scrollMax");
        // w = 2400, h = 2090, Line1 at 375: rows start 575, then +2190.
        QTest::newRow("eight general tiles") << 8 << 5000 << QList<int>{300, 2880, 5460, 300, 2880, 5460, 300, 2880}
                                             << QList<int>{575, 575, 575, 2765, 2765, 2765, 4955, 4955} << 2245;
        QTest::newRow("three product tiles fit") << 3 << 5000 << QList<int>{300, 2880, 5460}
                                                 << QList<int>{575, 575, 575} << 0;
        QTest::newRow("exactly fitting") << 4 << 5055 << QList<int>{300, 2880, 5460, 300}
                                         << QList<int>{575, 575, 575, 2765} << 0;
        QTest::newRow("one twip short") << 4 << 5054 << QList<int>{300, 2880, 5460, 300}
                                        << QList<int>{575, 575, 575, 2765} << 1;
    }
    void tileLayoutArithmetic()
    {
        QFETCH(int, count);
        QFETCH(int, areaHeight);
        QFETCH(QList<int>, lefts);
        QFETCH(QList<int>, tops);
        QFETCH(int, scrollMax);
        const auto l = DisplayFormats::layoutFormatTiles(count, 2400, 2090, 375, areaHeight);
        QList<int> gotLefts, gotTops;
        for (const auto& s : l.spots) {
            gotLefts << s.left;
            gotTops << s.top;
        }
        QCOMPARE(gotLefts, lefts);
        QCOMPARE(gotTops, tops);
        QCOMPARE(l.scrollMax, scrollMax);
    }

    void dialogPlacesAndScrollsItsTiles()
    {
        DesignerFixture f;
        f.open();
        dgnFrm_addFile d(*f.frm);
        d.show();
        auto* bar = d.findChild<QScrollBar*>("vscrl");
        QCOMPARE(bar->maximum(), 2245);
        const auto& t = d.disModelObj();
        QCOMPARE(t.at(7)->pos(), QPoint(twips(2880), twips(4955)));
        bar->setValue(1000);
        QCOMPARE(d.findChild<QLabel*>("lbl_model")->y(), twips(150 - 1000));
        QCOMPARE(t.at(6)->pos(), QPoint(twips(300), twips(585 - 1000 + 2 * 2190)));
        // Back to the product list: one row, nothing to scroll.
        QTest::mouseClick(d.findChild<QCheckBox*>("chk_prod"), Qt::LeftButton);
        QCOMPARE(bar->maximum(), 0);
        QCOMPARE(d.disModelObj().at(2)->pos(), QPoint(twips(5460), twips(575)));
    }

    void missingPicturesLeaveLabelledBoxes()
    {
        DesignerFixture f;
        QFile::remove(f.app.appPath() + "images/gen01.gif");
        QFile::remove(f.app.appPath() + "images/H_POINT.CUR");
        f.open();
        dgnFrm_addFile d(*f.frm);
        QVERIFY(!d.disModelObj().first()->hasPicture());
        QCOMPARE(d.disModelObj().first()->picture()->text(), QStringLiteral("文本格式"));
    }

    void modifyFormatClearsTheContentFields()
    {
        DesignerFixture f;
        f.insertRow(1, {"一级"}, true, 1);
        f.insertRow(2, {"一级", "页二"}, false, 1, "txt");
        f.insertRow(2, {"一级", "别页"}, false, 2, "txt");
        QString sql = "INSERT INTO content02(secondCatalog, value01, value06, value15, field01, field09, field15) "
                      "VALUES(?, 'v1', 'v6', 'v15', 'f1', 'f9', 'f15')";
        QVERIFY(f.db.run(sql, {"页二"}).ok);
        QVERIFY(f.db.run(sql, {"页二"}).ok);
        QVERIFY(f.db.run(sql, {"别页"}).ok);
        designFrm& d = f.open();
        f.click("页二");
        QCOMPARE(d.currentFormat(), QStringLiteral("txt"));
        QVERIFY(f.child<QPushButton>("cmd_mod")->isEnabled());
        {
            dgnFrm_modFile m(d);
            m.show();
            QVERIFY(!m.findChild<QCheckBox*>("chk_prod")->isChecked());
            pickTile(m, 1, true); // prod02
            confirm(m);
            QVERIFY(!m.isVisible());
        }
        QVERIFY(f.dlg.shown.isEmpty());
        const SqlResult r = f.db.run("SELECT secondCatalog, value01, value06, value15, field01, field09, field15 "
                                     "FROM content02 ORDER BY ID");
        QCOMPARE(r.rows.size(), 3);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(r.rows[i].value(0).toString(), QStringLiteral("页二"));
            for (int c = 1; c <= 6; ++c)
                QCOMPARE(r.rows[i].value(c).toString(), QString());
        }
        QCOMPARE(r.rows[2].value(1).toString(), QStringLiteral("v1")); // another page's rows are untouched
        QCOMPARE(r.rows[2].value(6).toString(), QStringLiteral("f15"));
        QCOMPARE(f.rows(2).first(), QStringLiteral("页二|一级|0|1|prod02"));
        QCOMPARE(d.currentFormat(), QStringLiteral("prod02"));
        QCOMPARE(d.statusText(), QStringLiteral("该显示格式能够将产品以带图片表格的方式显示"));

        // Reopened for a product page: product tiles, the first one selected.
        dgnFrm_modFile again(d);
        QVERIFY(again.findChild<QCheckBox*>("chk_prod")->isChecked());
        QCOMPARE(again.selectedModel(), QStringLiteral("prod01"));
        QVERIFY(again.findChild<QComboBox*>("cmb_type")->isEnabled());
    }

    void modifyFormatMessages()
    {
        DesignerFixture f;
        f.insertRow(1, {"页"}, false, 1, "txt");
        designFrm& d = f.open();
        dgnFrm_modFile m(d);
        m.show();
        confirm(m); // the root is current
        QVERIFY(f.dlg.lastIs("没有在左边选择栏目！", "警告", MsgIcon::Critical));
        QVERIFY(m.isVisible());
        // Read when confirmed: the node clicked meanwhile is the one changed.
        f.click("页");
        QVERIFY(f.db.run("DROP TABLE content01").ok);
        f.dlg.clear();
        confirm(m);
        QCOMPARE(f.dlg.shown.size(), 1);
        QVERIFY(f.dlg.last().text.contains("content01"));
        QVERIFY(f.dlg.lastIs(f.dlg.last().text, "提示", MsgIcon::Critical));
        QVERIFY(m.isVisible());
        QCOMPARE(f.rows(1).first(), QStringLiteral("页|0|1|txt"));
    }
};

WEBLARK_TEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
