#include "ContentSite.h"
#include "TestMain.h"
#include "TestPage.h"
#include "content/ProductDialogs.h"
#include "data/ContentRecords.h"
#include "editor/advEdit.h"

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>

namespace {

advEdit* editorOf(QDialog& d)
{
    auto* e = ctl<advEdit>(d, "advEdit_Prod");
    if (!QTest::qWaitFor([e] { return e->isReady(); }, 20000))
        qFatal("the product editor never became ready");
    return e;
}

// The design view's body as the page holds it now (empty when it does not answer).
QString pageHtml(QWebEngineView* view)
{
    return evalJs(view->page(), "document.body.innerHTML", 5000, QWebEngineScript::ApplicationWorld).toString();
}

QString text(QDialog& d, const char* box)
{
    return ctl<QLineEdit>(d, box)->text();
}

// The viewer a real-size request opened, or null.
template <class Viewer> Viewer* viewerOf(QDialog& d)
{
    for (Viewer* v : d.findChildren<Viewer*>())
        if (v->isVisible() && v->metaObject() == &Viewer::staticMetaObject)
            return v;
    return nullptr;
}

} // namespace

class TestProducts : public QObject {
    Q_OBJECT
    ContentSite site;

    QStringList stored(qint64 id)
    {
        const SqlResult r = site.db.selectContent(1, id);
        return r.rows.isEmpty() ? QStringList() : contentValues(r.rows.first(), 6);
    }

private Q_SLOTS:
    void init()
    {
        site.db.run("DELETE FROM content01");
        site.dlg.clear();
        site.dlg.answers.clear();
        site.dlg.files.clear();
    }

    // Added through the content window, then changed in the modify dialog: everything comes back as stored,
    // apostrophes as typed;
    // either dialog shows the picture at its real size.
    void addThenModify()
    {
        auto w = site.openWindow();
        QVERIFY(ContentSite::release(*w, "产品"));
        ContentSite::press(*w, "cmd_addData0");
        QPointer<insDataFrm_prod> add = w->findChild<insDataFrm_prod*>();
        QVERIFY(add && add->isVisible());
        advEdit* editor = editorOf(*add);

        ContentSite::press(*add, "cmd_actual");
        QVERIFY(site.dlg.lastIs("没有图片！", "提示", MsgIcon::Information));
        ContentSite::press(*add, "OKButton");
        QVERIFY(site.dlg.lastIs("名称不能为空！", "提示", MsgIcon::Information));
        ctl<QLineEdit>(*add, "txt_Name")->setText("O'Neil 杯");
        QTest::keyClicks(ctl<QLineEdit>(*add, "txt_price"), "12a");
        QCOMPARE(text(*add, "txt_price"), QStringLiteral("12"));
        QCOMPARE(site.dlg.texts(), (QStringList{"没有图片！", "名称不能为空！", "请输入数字！"}));
        site.dlg.files.enqueue(site.picture("cup.jpg", 300, 200));
        ContentSite::press(*add, "cmd_view");
        // "实际大小" shows the picture at its own size; a click on it closes the viewer.
        ContentSite::press(*add, "cmd_actual");
        insDataFrm_img* viewer = viewerOf<insDataFrm_img>(*add);
        QVERIFY(viewer);
        QCOMPARE(ctl<QLabel>(*viewer, "img_prod")->pixmap().size(), QSize(300, 200));
        QTest::mouseClick(ctl<QLabel>(*viewer, "img_prod"), Qt::LeftButton);
        QTRY_VERIFY(!viewerOf<insDataFrm_img>(*add));
        editor->setInnerHTML("<p><b>好杯</b> it's <img src='" + site.app.workPath() + "cup.jpg'></p>");
        // Typed in the design view, and stored at once.
        QWebEngineView* view = ctl<WebPane>(*editor, "DHTMLEditer")->view();
        add->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(add));
        view->setFocus();
        QTRY_VERIFY(view->focusProxy() && view->focusProxy()->hasFocus());
        bool atEnd = false;
        view->page()->runJavaScript("document.body.focus();getSelection().selectAllChildren(document.body);"
                                    "getSelection().collapseToEnd();",
                                    QWebEngineScript::ApplicationWorld, [&atEnd](const QVariant&) { atEnd = true; });
        QTRY_VERIFY(atEnd);
        QTest::keyClicks(view->focusProxy(), "Top");
        // The keys reach the page on their own channel: once they are in, the last edit is
        // made by a script the page runs before the dialog's read, and OK comes at once,
        // before the page's report of that edit can have arrived.
        QTRY_VERIFY2(pageHtml(view).contains("Top"), qPrintable(pageHtml(view)));
        view->page()->runJavaScript("document.execCommand('insertText', false, '!')",
                                    QWebEngineScript::ApplicationWorld);
        ContentSite::press(*add, "OKButton");
        QTRY_VERIFY(!add);

        const auto rows = site.contents(1, "产品");
        QCOMPARE(rows.size(), 1);
        const QStringList values = contentValues(rows.first(), 6);
        QCOMPARE(values.mid(0, 5), (QStringList{"O'Neil 杯", "", "", "12", "cup.jpg"}));
        QVERIFY2(values[5].contains("<b>好杯</b> it[&#39;]s <img src=\"[imgpath]/cup.jpg\">Top!"),
                 qPrintable(values[5]));
        QVERIFY(QFile::exists(site.inWork("cup.jpg")));
        QTRY_VERIFY(ctl<WebPane>(*w, "webMultiData")->lastInnerHtml("editID").contains("O'Neil 杯"));

        const qint64 id = fieldText(rows.first(), "ID").toLongLong();
        // The list's modify button opens the product's own modify dialog, filled once its editor is ready.
        QVERIFY(ContentSite::tick(*w, id));
        ContentSite::press(*w, "cmd_addData2");
        QPointer<insDataFrm_prodMod> mod = w->findChild<insDataFrm_prodMod*>();
        QVERIFY(mod && mod->isVisible());
        editorOf(*mod);
        QTRY_VERIFY(!text(*mod, "txt_Name").isEmpty());
        QCOMPARE(text(*mod, "txt_Name"), QStringLiteral("O'Neil 杯"));
        QCOMPARE(text(*mod, "txt_price"), QStringLiteral("12"));
        QVERIFY(!ctl<QLabel>(*mod, "img_prod")->pixmap().isNull());
        QCOMPARE(ctl<advEdit>(*mod, "advEdit_Prod")->innerHTML(), values[5]);
        QTest::mouseClick(ctl<QLabel>(*mod, "img_prod"), Qt::LeftButton);
        QVERIFY(viewerOf<insDataFrm_imgMod>(*mod));
        QTest::mouseClick(ctl<QLabel>(*viewerOf<insDataFrm_imgMod>(*mod), "img_prod"), Qt::LeftButton);
        QTRY_VERIFY(!viewerOf<insDataFrm_imgMod>(*mod));
        QSignalSpy storedSpy(mod.data(), &EntryDialog::stored);
        ctl<QLineEdit>(*mod, "txt_spec")->setText("大号");
        ContentSite::press(*mod, "OKButton");
        QTRY_COMPARE(storedSpy.count(), 1);
        QCOMPARE(stored(id), (QStringList{"O'Neil 杯", "大号", "", "12", "cup.jpg", values[5]}));
    }

    // A dialog over a page of no known level, adding or modifying, stores nothing.
    void noLevel()
    {
        for (const bool modify : {false, true}) {
            site.dlg.clear();
            std::unique_ptr<ProductEntryDialog> d;
            if (modify)
                d = std::make_unique<insDataFrm_prodMod>(site.ctx, PageRef{}, "1");
            else
                d = std::make_unique<insDataFrm_prod>(site.ctx, PageRef{}, QString());
            d->show();
            editorOf(*d);
            ctl<QLineEdit>(*d, "txt_Name")->setText("杯");
            ContentSite::press(*d, "OKButton");
            QTRY_VERIFY(site.dlg.lastIs("请在左边栏目选择节点！", "提示", MsgIcon::Critical));
            QCOMPARE(site.db.run("SELECT count(*) FROM content01").rows.first().value(0).toInt(), 0);
        }
    }

    // Removing the picture deletes the stored file only once the record stops naming it: the
    // dialog cancelled afterwards keeps both, stored it drops both.
    void removePicture()
    {
        for (const bool store : {false, true}) {
            QVERIFY(site.db.run("DELETE FROM content01").ok);
            TestPictures::write(site.inWork("p.jpg"), 40, 30);
            QVERIFY(
                ContentRecords::insert(site.db, 1, "产品", ContentRecords::Product{"杯", "", "", "", "p.jpg", ""}).ok);
            const qint64 id = site.db.run("SELECT max(ID) FROM content01").rows.first().value(0).toLongLong();
            auto mod = std::make_unique<insDataFrm_prodMod>(site.ctx, PageRef{1, "产品"}, QString::number(id));
            mod->show();
            QVERIFY(mod->Form_Load());
            editorOf(*mod);
            // The fields fill once the editor is ready and the timer has ticked three times.
            QTRY_VERIFY(!text(*mod, "txt_Name").isEmpty());
            site.dlg.answers.enqueue(MsgAnswer::No);
            ContentSite::press(*mod, "cmd_cancel");
            QVERIFY(!ctl<QLabel>(*mod, "img_prod")->pixmap().isNull());
            ContentSite::press(*mod, "cmd_cancel");
            QCOMPARE(site.dlg.last().text, QStringLiteral("确实要取消该图片吗"));
            QCOMPARE(site.dlg.last().buttons, MsgButtons::YesNo);
            QVERIFY(ctl<QLabel>(*mod, "img_prod")->pixmap().isNull());
            ContentSite::press(*mod, store ? "OKButton" : "CancelButton");
            QTRY_COMPARE(stored(id).value(4), store ? QString() : QStringLiteral("p.jpg"));
            QCOMPARE(QFile::exists(site.inWork("p.jpg")), !store);
        }
    }
};

WEBLARK_TEST_MAIN(TestProducts)
#include "test_products.moc"
