#include "ContentSite.h"
#include "TestMain.h"
#include "content/GalleryDialogs.h"
#include "content/NewsDialogs.h"
#include "content/myDate.h"

#include <QCalendarWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QToolButton>

namespace {

QList<qint64> listedIds(const QString& html)
{
    QList<qint64> ids;
    static const QRegularExpression re(QStringLiteral("getID\\((\\d+)\\)"));
    for (auto it = re.globalMatch(html); it.hasNext();)
        ids << it.next().captured(1).toLongLong();
    return ids;
}

QString listOf(insDataFrm& w)
{
    return ctl<WebPane>(w, "webMultiData")->lastInnerHtml(QStringLiteral("editID"));
}

// Clicks one of the record buttons and returns the entry dialog it opened; none fails the test at once.
template <class Dialog> Dialog* openVia(insDataFrm& w, int button)
{
    ContentSite::press(w, QStringLiteral("cmd_addData%1").arg(button));
    for (Dialog* d : w.findChildren<Dialog*>())
        if (d->isVisible())
            return d;
    qFatal("no entry dialog opened");
}

} // namespace

// One site and one content window for all cases: its pages load once. Each case
// starts with no content rows, no messages and the root selected.
class TestContentLists : public QObject {
    Q_OBJECT
    ContentSite site;
    std::unique_ptr<insDataFrm> w;

private Q_SLOTS:
    void initTestCase() { w = site.openWindow(); }
    void init()
    {
        for (int level = 1; level <= 3; ++level)
            QVERIFY(site.db.run("DELETE FROM " + SiteDb::contentTable(level)).ok);
        QVERIFY(ContentSite::release(*w, "测试网站"));
        site.dlg.clear();
        site.dlg.answers.clear();
        site.dlg.files.clear();
    }
    void cleanupTestCase() { w.reset(); }

    void listsNewestFirst_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("level");
        QTest::newRow("news, level 1") << "新闻" << 1;
        QTest::newRow("news, level 3") << "三级新闻" << 3;
        QTest::newRow("gallery") << "图库" << 1;
        QTest::newRow("products") << "产品" << 1;
    }
    void listsNewestFirst()
    {
        QFETCH(QString, page);
        QFETCH(int, level);
        const QString table = SiteDb::contentTable(level), link = SiteDb::contentLink(level);
        for (qint64 id : {5, 40000, 12})
            site.db.run(QStringLiteral("INSERT INTO %1(ID,%2,value01,value02,value03,value04) VALUES(?,?,?,?,'u','9')")
                            .arg(table, link),
                        {id, page, QStringLiteral("第%1条").arg(id), QStringLiteral("2026/1/%1").arg(id % 28)});
        site.db.run(QStringLiteral("INSERT INTO %1(%2,value01) VALUES('别的页','x')").arg(table, link));
        QVERIFY(ContentSite::release(*w, page));
        QCOMPARE(listedIds(listOf(*w)), (QList<qint64>{40000, 12, 5}));
        // The page really shows the list.
        QVERIFY(ContentSite::tick(*w, 40000));
    }

    void deleteWithConfirmation()
    {
        site.db.run("INSERT INTO content01(ID,firstCatalog,value01,value02,value03) VALUES"
                    "(1,'图库','a','a.jpg','a_small.bmp'),(2,'图库','b','b.jpg','b_small.bmp')");
        TestPictures::write(site.inWork("b.jpg"), 40, 30);
        QVERIFY(ContentSite::release(*w, "图库"));
        ContentSite::press(*w, "cmd_addData1");
        ContentSite::press(*w, "cmd_addData2");
        QCOMPARE(site.dlg.texts(), (QStringList{"当前没有选择数据！", "当前没有选择数据！"}));
        QVERIFY(site.dlg.lastIs("当前没有选择数据！", "提示", MsgIcon::Critical));

        QVERIFY(ContentSite::tick(*w, 2));
        site.dlg.clear();
        site.dlg.answers.enqueue(MsgAnswer::Cancel);
        ContentSite::press(*w, "cmd_addData1");
        QCOMPARE(site.dlg.texts(), QStringList{"确实要删除该条数据吗？"});
        QCOMPARE(site.dlg.last().buttons, MsgButtons::OkCancel);
        QCOMPARE(site.dlg.last().title, QStringLiteral("警告"));
        QCOMPARE(site.contents(1, "图库").size(), 2);

        site.dlg.answers.enqueue(MsgAnswer::Ok);
        ContentSite::press(*w, "cmd_addData1");
        QCOMPARE(site.only(1, "图库", 1), QStringList{"a"});
        QCOMPARE(listedIds(listOf(*w)), QList<qint64>{1});
        QVERIFY2(QFile::exists(site.inWork("b.jpg")), "a deleted record's pictures stay");
        // The rebuilt list has nothing ticked.
        QCOMPARE(ContentSite::currID(*w), QString());

        // A record ticked in this list cannot be deleted once a catalog or an
        // unformatted page is selected: the buttons belong to a list page only.
        QVERIFY(ContentSite::tick(*w, 1));
        for (const char* node : {"栏目A", "未设计"}) {
            QVERIFY(ContentSite::release(*w, node));
            for (const char* b : {"cmd_addData0", "cmd_addData1", "cmd_addData2"})
                QVERIFY(!ctl(*w, b)->isEnabled());
        }
        QCOMPARE(site.contents(1, "图库").size(), 1);
    }

    void datePicker()
    {
        myDate picker;
        picker.resize(150, 24);
        picker.show();
        QCOMPARE(picker.value(), QDate::currentDate().toString(QStringLiteral("yyyy/M/d")));
        // The month view shown after each click: the arrow opens and closes it, the box opens it.
        QString shown = QString::number(picker.mnthView()->isVisible());
        for (QWidget* clicked : QWidgetList{picker.cmdDown(), picker.cmdDown(), picker.txtValue()}) {
            QTest::mouseClick(clicked, Qt::LeftButton);
            shown += QString::number(picker.mnthView()->isVisible());
        }
        QCOMPARE(shown, QStringLiteral("0101"));

        QSignalSpy changed(&picker, &myDate::valueChanged);
        picker.setValue(QStringLiteral("2003/5/9"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(picker.mnthView()->selectedDate(), QDate(2003, 5, 9));
        Q_EMIT picker.mnthView()->clicked(QDate(2003, 5, 20));
        QCOMPARE(picker.value(), QStringLiteral("2003/5/20"));
        QVERIFY(!picker.mnthView()->isVisible());
        // Whatever text the box holds is the value, another machine's form included.
        picker.setValue(QStringLiteral("09-05-2003"));
        QCOMPARE(picker.value(), QStringLiteral("09-05-2003"));
    }

    // Add, then modify and store again: the body comes back exactly as typed. The new
    // record's ID lies beyond 16 bits.
    void newsRoundTrip()
    {
        QVERIFY(site.db.run("INSERT INTO content03(ID,thirdCatalog,value01) VALUES(40000,'三级图文','别的页')").ok);
        QVERIFY(ContentSite::release(*w, "三级新闻"));
        QPointer<insDatafrm_news> add = openVia<insDatafrm_news>(*w, 0);
        QVERIFY(add->isModal());

        const QString title = QStringLiteral("It's \"新闻\" <一>");
        const QString body = QStringLiteral("第一行\n  two  blanks \n\nit's \"q\" & <b>");
        const QString storedBody =
            "第一行<br>&nbsp;&nbsp;two&nbsp;&nbsp;blanks&nbsp;<br><br>it&#39;s&nbsp;&#34;q&#34;&nbsp;&&nbsp;<b>";
        ctl<QLineEdit>(*add, "txt_title")->setText(title);
        ctl<QPlainTextEdit>(*add, "txt_content")->setPlainText(body);
        ctl<myDate>(*add, "myDate1")->setValue(QStringLiteral("2026/12/6"));
        site.dlg.files.enqueue(site.picture("news2.jpg"));
        ContentSite::press(*add, "cmd_img");
        QCOMPARE(ctl<QLabel>(*add, "lbl_imgName")->text(), QStringLiteral("news2.jpg"));
        QVERIFY(!ctl<QLabel>(*add, "img")->pixmap().isNull());
        ContentSite::press(*add, "OKButton");
        QTRY_VERIFY(add.isNull());

        QCOMPARE(site.only(3, "三级新闻"), (QStringList{title, "2026/12/6", storedBody, "news2.jpg"}));
        const qint64 id = fieldText(site.contents(3, "三级新闻").first(), "ID").toLongLong();
        QVERIFY(id > 32767);
        QCOMPARE(listedIds(listOf(*w)), QList<qint64>{id});
        QVERIFY(site.dlg.shown.isEmpty());

        QVERIFY(ContentSite::tick(*w, id));
        QPointer<insDataFrm_newsMod> mod = openVia<insDataFrm_newsMod>(*w, 2);
        QCOMPARE(ctl<QLineEdit>(*mod, "txt_title")->text(), title);
        QCOMPARE(ctl<myDate>(*mod, "myDate1")->value(), QStringLiteral("2026/12/6"));
        QCOMPARE(ctl<QPlainTextEdit>(*mod, "txt_content")->toPlainText(), body);
        QCOMPARE(ctl<QLabel>(*mod, "lbl_imgName")->text(), QStringLiteral("news2.jpg"));
        QVERIFY(!ctl<QLabel>(*mod, "img")->pixmap().isNull());
        // A new picture in the modify dialog replaces the stored one once stored.
        site.dlg.files.enqueue(site.picture("news3.gif.jpg"));
        ContentSite::press(*mod, "cmd_img");
        QVERIFY2(QFile::exists(site.inWork("news2.jpg")), "the stored picture stays while the dialog is open");
        ctl<myDate>(*mod, "myDate1")->setValue(QStringLiteral("2027/1/1"));
        ContentSite::press(*mod, "OKButton");
        QTRY_VERIFY(mod.isNull());
        QCOMPARE(site.only(3, "三级新闻"), (QStringList{title, "2027/1/1", storedBody, "news3.gif.jpg"}));
        QVERIFY(!QFile::exists(site.inWork("news2.jpg")));
    }

    void newsWithoutPictureAndCancel()
    {
        QVERIFY(ContentSite::release(*w, "新闻"));
        QPointer<insDatafrm_news> add = openVia<insDatafrm_news>(*w, 0);
        ContentSite::press(*add, "OKButton");
        QTRY_VERIFY(add.isNull());
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy/M/d"));
        QCOMPARE(site.only(1, "新闻"), (QStringList{"", today, "", ""}));

        add = openVia<insDatafrm_news>(*w, 0);
        site.dlg.files.enqueue(site.picture("新闻图.jpg"));
        ContentSite::press(*add, "cmd_img");
        QCOMPARE(site.dlg.texts(), QStringList{"所选择的文件名中不能包含中文，请重命名后选择文件！"});
        QCOMPARE(site.dlg.last().icon, MsgIcon::Information);
        QCOMPARE(ctl<QLabel>(*add, "lbl_imgName")->text(), QString());
        site.dlg.files.enqueue(site.picture("kept.jpg"));
        ContentSite::press(*add, "cmd_img");
        ContentSite::press(*add, "CancelButton");
        QTRY_VERIFY(add.isNull());
        QCOMPARE(site.contents(1, "新闻").size(), 1);
        QVERIFY2(QFile::exists(site.inWork("kept.jpg")), "a copied picture stays after cancel");
    }

    void galleryAddAndModify()
    {
        QVERIFY(ContentSite::release(*w, "图库"));
        QPointer<insDataFrm_imgs> add = openVia<insDataFrm_imgs>(*w, 0);
        const auto bars = [](QDialog& d) {
            return QString::number(ctl<QScrollBar>(d, "scrl0")->isVisible()) +
                   QString::number(ctl<QScrollBar>(d, "scrl1")->isVisible());
        };

        ContentSite::press(*add, "OKButton");
        QCOMPARE(site.dlg.texts(), QStringList{"请输入图片说明文字!"});
        QCOMPARE(site.dlg.last().icon, MsgIcon::Information);
        QVERIFY(add->isVisible());

        // A wide picture: 2000 twips wide, its height in proportion.
        site.dlg.files.enqueue(site.picture("wide.jpg", 300, 100));
        ContentSite::press(*add, "cmd_img");
        QCOMPARE(ctl<QLabel>(*add, "lbl_imgName")->text(), QStringLiteral("wide.jpg"));
        QCOMPARE(QImage(site.inWork("wide_small.bmp"), "BMP").size(), QSize(133, 44));
        QCOMPARE(ctl<QLabel>(*add, "pic_imgsSmall")->size(), QSize(133, 44));

        // Then a tall one with dots in its name: limited by 2000 twips of height.
        site.dlg.files.enqueue(site.picture("photo.2003.jpg", 100, 300));
        ContentSite::press(*add, "cmd_img");
        QVERIFY(!QFile::exists(site.inWork("wide.jpg")));
        QVERIFY(!QFile::exists(site.inWork("wide_small.bmp")));
        QCOMPARE(QImage(site.inWork("photo_small.bmp"), "BMP").size(), QSize(44, 133));
        QTRY_COMPARE(bars(*add), QStringLiteral("10"));
        // Scrolled to the end, the picture's bottom edge is in view.
        auto* down = ctl<QScrollBar>(*add, "scrl0");
        down->setValue(down->maximum());
        QVERIFY(down->maximum() >= 300 - 200);
        QCOMPARE(ctl<QLabel>(*add, "img")->y(), -down->maximum());

        ctl<QLineEdit>(*add, "txt_title")->setText(QStringLiteral("O'Neil 的 \"照片\""));
        ContentSite::press(*add, "OKButton");
        QTRY_VERIFY(add.isNull());
        QCOMPARE(site.only(1, "图库", 3), (QStringList{"O'Neil 的 \"照片\"", "photo.2003.jpg", "photo_small.bmp"}));
        const qint64 id = fieldText(site.contents(1, "图库").first(), "ID").toLongLong();

        QVERIFY(ContentSite::tick(*w, id));
        QPointer<insDataFrm_imgsMod> mod = openVia<insDataFrm_imgsMod>(*w, 2);
        QCOMPARE(ctl<QLineEdit>(*mod, "txt_title")->text(), QStringLiteral("O'Neil 的 \"照片\""));
        QCOMPARE(ctl<QLabel>(*mod, "lbl_imgName")->text(), QStringLiteral("photo.2003.jpg"));
        QVERIFY(!ctl<QLabel>(*mod, "img")->pixmap().isNull());
        QVERIFY(!ctl<QLabel>(*mod, "pic_imgsSmall")->pixmap().isNull());
        QTRY_COMPARE(bars(*mod), QStringLiteral("10"));

        site.dlg.clear();
        ctl<QLineEdit>(*mod, "txt_title")->setText(QStringLiteral("  "));
        ContentSite::press(*mod, "OKButton");
        QCOMPARE(site.dlg.texts(), QStringList{"图片文字说明不能为空"});

        // A big picture: both bars.
        site.dlg.files.enqueue(site.picture("big.jpg", 800, 500));
        ContentSite::press(*mod, "cmd_img");
        QTRY_COMPARE(bars(*mod), QStringLiteral("11"));
        QVERIFY2(QFile::exists(site.inWork("photo.2003.jpg")), "the stored picture stays until stored");
        ctl<QLineEdit>(*mod, "txt_title")->setText(QStringLiteral("新的说明"));
        ContentSite::press(*mod, "OKButton");
        QTRY_VERIFY(mod.isNull());
        QCOMPARE(site.only(1, "图库", 3), (QStringList{"新的说明", "big.jpg", "big_small.bmp"}));
        QVERIFY(!QFile::exists(site.inWork("photo.2003.jpg")));
        QVERIFY(!QFile::exists(site.inWork("photo_small.bmp")));
        QVERIFY(!QImage(site.inWork("big_small.bmp"), "BMP").isNull());
    }

    // A truncated picture is refused before any copy; the earlier choice stays.
    void galleryRefusesUnreadablePictures()
    {
        const QByteArray jpg = TestPictures::encoded(TestPictures::make(90, 60), "JPG");
        const QString name = QStringLiteral("cut.jpg");
        QVERIFY(ContentSite::release(*w, "图库"));
        QPointer<insDataFrm_imgs> add = openVia<insDataFrm_imgs>(*w, 0);
        site.dlg.files.enqueue(site.picture("good.jpg", 90, 60));
        ContentSite::press(*add, "cmd_img");
        QVERIFY(QFile::exists(site.inWork("good_small.bmp")));

        site.dlg.files.enqueue(TestPictures::write(site.pictures.filePath(name), jpg.left(jpg.size() * 2 / 3)));
        ContentSite::press(*add, "cmd_img");
        QCOMPARE(site.dlg.texts(), QStringList{"所选择的文件不是完整的图片，无法读取，请选择其它图片！"});
        QCOMPARE(site.dlg.last().title, QStringLiteral("提示"));
        QVERIFY(!QFile::exists(site.inWork(name)));
        QVERIFY(!QFile::exists(site.inWork("cut_small.bmp")));
        // The earlier choice is untouched.
        QCOMPARE(ctl<QLabel>(*add, "lbl_imgName")->text(), QStringLiteral("good.jpg"));
        QVERIFY(QFile::exists(site.inWork("good.jpg")));
        QVERIFY(QFile::exists(site.inWork("good_small.bmp")));
        add->close();
    }
};

WEBLARK_TEST_MAIN(TestContentLists)
#include "test_content_lists.moc"
