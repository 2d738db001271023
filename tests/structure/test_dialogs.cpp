#include "DesignerFixture.h"
#include "TestMain.h"
#include "structure/dgnFrm_addCat.h"
#include "structure/dgnFrm_addFile.h"
#include "structure/dgnFrm_modFile.h"
#include "structure/disModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>

enum Ending { StillOpen, Added, Closed };
// Presses OK; how the dialog ended.
static Ending confirm(QDialog& d)
{
    QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("cmd_cfm")), Qt::LeftButton);
    return d.isVisible() ? StillOpen : d.result() == QDialog::Accepted ? Added : Closed;
}

static QList<disModel*> tiles(QDialog& d)
{
    return d.findChildren<disModel*>();
}

static QString selectedModel(QDialog& d)
{
    for (disModel* t : tiles(d))
        if (t->selected())
            return t->model();
    return {};
}

static void pickTile(QDialog& d, int tile, bool product)
{
    if (product)
        QTest::mouseClick(d.findChild<QCheckBox*>(QStringLiteral("chk_prod")), Qt::LeftButton);
    if (tile >= 0)
        QTest::mouseClick(tiles(d).at(tile)->findChild<QWidget*>(QStringLiteral("img_model")), Qt::LeftButton);
}

// The add-catalog dialog for the designer's current node.
static Ending addCatalog(DesignerFixture& f, const QString& name)
{
    dgnFrm_addCat d(f.dlg, f.frm->editor(), f.frm.get());
    d.show();
    d.findChild<QLineEdit*>(QStringLiteral("txt_name"))->setText(name);
    return confirm(d);
}

// The add-page dialog with tile `tile` (-1: leave the first one) of the general or product list.
static Ending addPage(DesignerFixture& f, const QString& name, int tile = -1, bool product = false)
{
    dgnFrm_addFile d(f.ctx, f.frm->editor(), f.frm.get());
    d.show();
    pickTile(d, tile, product);
    d.findChild<QLineEdit*>(QStringLiteral("txt_name"))->setText(name);
    return confirm(d);
}

class TestDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buildThreeLevelSiteFromNothing()
    {
        DesignerFixture f;
        f.open();
        QCOMPARE(addCatalog(f, "单位简介"), Added);
        QCOMPARE(addCatalog(f, "新闻中心"), Added);
        QCOMPARE(addPage(f, "联系我们", 1), Added); // news
        f.click("单位简介");
        QCOMPARE(addCatalog(f, "机构设置"), Added);
        QCOMPARE(addPage(f, "单位概况"), Added); // no tile clicked: txt
        f.click("机构设置");
        QCOMPARE(addPage(f, "办公室", 2), Added);         // imgTxt01
        QCOMPARE(addPage(f, "产品目录", 2, true), Added); // prod03
        f.click("新闻中心");
        QCOMPARE(addPage(f, "工作动态", 0, true), Added); // prod01
        QVERIFY(f.dlg.shown.isEmpty());
        QCOMPARE(f.refreshes, 8);

        QCOMPARE(f.rows(1), (QStringList{"单位简介|1|1|NULL", "新闻中心|1|2|NULL", "联系我们|0|3|news"}));
        QCOMPARE(f.rows(2), (QStringList{"机构设置|单位简介|1|1|NULL", "单位概况|单位简介|0|2|txt",
                                         "工作动态|新闻中心|0|1|prod01"}));
        QCOMPARE(f.rows(3),
                 (QStringList{"办公室|机构设置|单位简介|0|1|imgTxt01", "产品目录|机构设置|单位简介|0|2|prod03"}));

        // Added in place under expanded parents.
        QCOMPARE(f.shown(), (QStringList{"测试网站", "-单位简介", "--机构设置", "---办公室", "---产品目录",
                                         "--单位概况", "-新闻中心", "--工作动态", "-联系我们"}));
        for (const char* parent : {"测试网站", "单位简介", "机构设置", "新闻中心"})
            QVERIFY2(f.item(parent)->isExpanded(), parent);
        // A refused name is reported and the dialog stays open.
        QCOMPARE(addPage(f, "机构设置"), StillOpen);
        QVERIFY(f.dlg.lastIs("已存在重名，更改名称!", "警告", MsgIcon::Warning));
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
            seen = true;
            d->findChild<QLineEdit*>("txt_name")->setText("首页");
            pickTile(*d, 6, false);
            confirm(*d);
        });
        f.press("cmd_addFile");
        QVERIFY(seen);
        QCOMPARE(f.rows(1), (QStringList{"首页|0|1|imgs"}));
    }

    void tilesAndProductSwitch()
    {
        DesignerFixture f;
        f.open();
        dgnFrm_addFile d(f.ctx, f.frm->editor());
        d.show();
        const auto shownTiles = [&] {
            QStringList out;
            for (disModel* t : tiles(d))
                out << t->caption() + "=" + t->model() + (t->selected() ? "*" : "");
            return out;
        };
        const QStringList general{"文本格式=txt*",       "新闻格式=news",       "图文格式一=imgTxt01",
                                  "图文格式二=imgTxt02", "图文格式三=imgTxt03", "大图片格式=bigImg",
                                  "图片展示格式=imgs",   "高级设计格式=adv"};
        QCOMPARE(shownTiles(), general);
        QCOMPARE(tiles(d).at(3)->picName(), f.app.appPath() + "images/gen04.gif");
        auto* type = d.findChild<QComboBox*>("cmb_type");
        auto* cls = d.findChild<QComboBox*>("cmb_class");
        QVERIFY(!type->isEnabled() && !cls->isEnabled());

        // The option button selects as well as the picture; exactly one stays selected.
        QRadioButton* option = tiles(d).at(4)->findChild<QRadioButton*>("opt_model");
        QTest::mouseClick(option, Qt::LeftButton);
        QTest::mouseClick(option, Qt::LeftButton);
        QCOMPARE(selectedModel(d), QStringLiteral("imgTxt03"));
        QCOMPARE(shownTiles().filter("*").size(), 1);

        QTest::mouseClick(d.findChild<QCheckBox*>("chk_prod"), Qt::LeftButton);
        QVERIFY(type->isEnabled() && cls->isEnabled());
        QCOMPARE(shownTiles(), (QStringList{"文本格式=prod01*", "图表格式=prod02", "图片格式=prod03"}));

        QTest::mouseClick(d.findChild<QCheckBox*>("chk_prod"), Qt::LeftButton);
        QVERIFY(!type->isEnabled());
        QCOMPARE(shownTiles(), general);
        QVERIFY(f.dlg.shown.isEmpty());
    }

    // Types, and the classes of the chosen type, as stored.
    void typesAndClassesAreBound()
    {
        DesignerFixture f;
        QVERIFY(f.db.run("INSERT INTO prodType(type_ID, type_name) VALUES(0, 'Men''s 100%'), (9, '领带')").ok);
        QVERIFY(f.db.run("INSERT INTO prodClass(Type_ID, class_name) VALUES(0, 'Shirts'), (9, '棉'), (9, '丝')").ok);
        f.open();
        dgnFrm_addFile d(f.ctx, f.frm->editor());
        auto* type = d.findChild<QComboBox*>("cmb_type");
        auto* cls = d.findChild<QComboBox*>("cmb_class");
        const auto classes = [cls] {
            QStringList out;
            for (int i = 0; i < cls->count(); ++i)
                out << cls->itemText(i);
            out.sort(); // the join gives no order of its own
            return out;
        };
        QCOMPARE(type->currentText(), QStringLiteral("Men's 100%"));
        QCOMPARE(classes(), QStringList{"Shirts"});
        type->setCurrentIndex(type->findText("领带"));
        QCOMPARE(classes(), (QStringList{"丝", "棉"}));
        QCOMPARE(cls->currentIndex(), 0);
        QVERIFY(f.dlg.shown.isEmpty());
    }

    // No types, and a first type without classes.
    void emptyChoiceListsAreReported()
    {
        for (const char* setup : {"DELETE FROM prodType", "DELETE FROM prodClass WHERE Type_ID=1"}) {
            DesignerFixture f;
            QVERIFY(f.db.run(setup).ok);
            f.open();
            dgnFrm_addFile d(f.ctx, f.frm->editor());
            QVERIFY2(f.dlg.shown.size() == 1 && f.dlg.lastIs("无效的属性值", "提示", MsgIcon::Critical), setup);
            QCOMPARE(tiles(d).size(), 8); // the dialog still opens with its tiles
        }
    }

    // The area scrolls to the last row of tiles.
    void tilesScrollIntoView()
    {
        DesignerFixture f;
        f.open();
        dgnFrm_addFile d(f.ctx, f.frm->editor());
        d.show();
        QCOMPARE(tiles(d).size(), 8);
        auto* area = d.findChild<QScrollArea*>("Picture1");
        QScrollBar* bar = d.findChild<QScrollBar*>("vscrl");
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        const QRect last = tiles(d).last()->geometry().translated(area->widget()->pos());
        QVERIFY(area->viewport()->rect().contains(last));
        QTest::mouseClick(d.findChild<QCheckBox*>("chk_prod"), Qt::LeftButton);
        QCOMPARE(tiles(d).size(), 3);
        QTRY_COMPARE(bar->maximum(), 0);
    }

    void missingPicturesLeaveLabelledBoxes()
    {
        DesignerFixture f;
        QFile::remove(f.app.appPath() + "images/gen01.gif");
        QFile::remove(f.app.appPath() + "images/H_POINT.CUR");
        f.open();
        dgnFrm_addFile d(f.ctx, f.frm->editor());
        QVERIFY(!tiles(d).first()->hasPicture());
        QCOMPARE(tiles(d).first()->findChild<QLabel*>("img_model")->text(), QStringLiteral("文本格式"));
    }

    // The format dialog opens on the page's own list: a product page on the product tiles, the first selected.
    void formatDialogOpensOnThePagesTiles()
    {
        DesignerFixture f;
        f.insertRow(1, {"文"}, false, 1, "txt");
        f.insertRow(1, {"产"}, false, 2, "prod02");
        f.open();
        for (const QString page : {"文", "产"}) {
            f.click(page);
            dgnFrm_modFile d(f.ctx, f.frm->editor());
            const bool product = page == "产";
            QCOMPARE(d.findChild<QCheckBox*>("chk_prod")->isChecked(), product);
            QCOMPARE(d.findChild<QComboBox*>("cmb_type")->isEnabled(), product);
            QCOMPARE(selectedModel(d), product ? QStringLiteral("prod01") : QStringLiteral("txt"));
        }
    }
};

WEBLARK_TEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
