#include "SiteFixture.h"
#include "TestMain.h"
#include "TestPictures.h"
#include "content/ContentStore.h"
#include "content/ListHtml.h"
#include "content/Pictures.h"
#include "data/SiteDb.h"

#include <QSqlField>
#include <QTemporaryDir>

using namespace TestPictures;

namespace {

QSqlRecord row(qint64 id, const QStringList& values)
{
    QSqlRecord r;
    QSqlField idField(QStringLiteral("ID"), QMetaType(QMetaType::LongLong));
    idField.setValue(id);
    r.append(idField);
    for (int i = 0; i < values.size(); ++i) {
        QSqlField f(QStringLiteral("value%1").arg(i + 1, 2, 10, QLatin1Char('0')), QMetaType(QMetaType::QString));
        f.setValue(values.at(i));
        r.append(f);
    }
    return r;
}

const QString kFrameHead = QStringLiteral(
    "<table width=100% border=0 cellpadding=0 cellspacing=0 bgcolor=#990000><tr><td><table width=100% border=0 "
    "cellspacing=1 cellpadding=0><form name='formData' method=post onSubmit='return false;'>");
const QString kFrameTail = QStringLiteral("</form></table></td></tr></table>");

} // namespace

class TestContentCore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listHtml_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QList<QSqlRecord>>("rows");
        QTest::addColumn<QString>("expected");

        const QString newsHead = QStringLiteral(
            "<tr align=center bgcolor=#CCCCCC><td width=12% height=22><input name='currID' type='hidden' "
            "id='currID'>ID</td><td width=64%>标题</td><td width=24%>时间</td></tr>");
        const QString imgsHead = QStringLiteral(
            "<tr align=center bgcolor=#CCCCCC><td width=12% height=22><input name='currID' type='hidden' "
            "id='currID'>ID</td><td width=64%>图片说明文字</td><td width=24%>文件名</td></tr>");
        const QString prodHead =
            QStringLiteral("<tr align=center bgcolor=#CCCCCC><td width=8% height=22><input name='currID' type='hidden' "
                           "id='currID'>ID</td><td>产品名称</td><td>规格</td><td>单位</td><td>价格</td></tr>");
        const QString empty = QStringLiteral(
            "<tr bgcolor=white><td colspan=%1 height=30><font color=red>　　　　暂时还没有数据！</font></td></tr>");

        QTest::newRow("news, empty") << "news" << QList<QSqlRecord>{}
                                     << kFrameHead + newsHead + empty.arg(3) + kFrameTail;
        QTest::newRow("prod, empty") << "prod01" << QList<QSqlRecord>{}
                                     << kFrameHead + prodHead + empty.arg(5) + kFrameTail;

        // A listed record: its radio button, then its cells.
        const auto rec = [](int id, const QString& cells) {
            return QStringLiteral("<tr bgcolor=#FFFFFF><td height=22>&nbsp;<input type='radio' name='ID'  value='%1' "
                                  "onClick='getID(%1);'>%1</td>%2</tr>")
                .arg(id)
                .arg(cells);
        };
        QTest::newRow("news, two rows in the given order")
            << "news" << QList<QSqlRecord>{row(40001, {"第二条", "2026/12/6"}), row(7, {"first 'one'", "2026/1/2"})}
            << kFrameHead + newsHead + rec(40001, "<td>&nbsp;第二条</td><td>&nbsp;2026/12/6</td>") +
                   rec(7, "<td>&nbsp;first 'one'</td><td>&nbsp;2026/1/2</td>") + kFrameTail;
        QTest::newRow("markup in stored values is escaped")
            << "imgs" << QList<QSqlRecord>{row(3, {"A&B <新>", "x\"<script>.jpg"})}
            << kFrameHead + imgsHead +
                   rec(3, "<td>&nbsp;A&amp;B &lt;新&gt;</td><td>&nbsp;x&quot;&lt;script&gt;.jpg</td>") + kFrameTail;
        QTest::newRow("products, four values")
            << "prod02" << QList<QSqlRecord>{row(12, {"水泵", "A-1", "台", "1200", "p.jpg", "<p>x</p>"})}
            << kFrameHead + prodHead +
                   rec(12, "<td>&nbsp;水泵</td><td>&nbsp;A-1</td><td>&nbsp;台</td><td>&nbsp;1200</td>") + kFrameTail;
    }
    void listHtml()
    {
        QFETCH(QString, format);
        QFETCH(QList<QSqlRecord>, rows);
        QFETCH(QString, expected);
        const QString html =
            format.startsWith(QLatin1String("prod")) ? buildProdListHtml(rows) : buildListHtml(rows, format);
        QCOMPARE(html, expected);
    }

    // The first save of a page inserts its row, later saves update it, with the format's columns.
    void singleRecordStatements_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("afterInsert"); // value01..value04, "<null>" for untouched
        QTest::addColumn<QStringList>("afterUpdate");
        const QString n = QStringLiteral("<null>");
        QTest::newRow("txt, level 1") << "txt" << 1 << QStringList{"T1", "C1", n, n} << QStringList{"T'2", "C2", n, n};
        QTest::newRow("imgTxt01, level 2") << "imgTxt01" << 2 << QStringList{"T1", "C1", "a.jpg", "b.jpg"}
                                           << QStringList{"T'2", "C2", "c.jpg", "d.jpg"};
        QTest::newRow("imgTxt02, level 3") << "imgTxt02" << 3 << QStringList{"T1", "C1", "a.jpg", "b.jpg"}
                                           << QStringList{"T'2", "C2", "c.jpg", "d.jpg"};
        QTest::newRow("imgTxt03 writes no second picture")
            << "imgTxt03" << 1 << QStringList{"T1", "C1", "a.jpg", ""} << QStringList{"T'2", "C2", "c.jpg", ""};
        QTest::newRow("bigImg") << "bigImg" << 2 << QStringList{"a.jpg", n, n, n} << QStringList{"c.jpg", n, n, n};
    }
    void singleRecordStatements()
    {
        QFETCH(QString, format);
        QFETCH(int, level);
        QFETCH(QStringList, afterInsert);
        QFETCH(QStringList, afterUpdate);
        TestAppDir app;
        SiteDb db;
        QVERIFY(db.open(app.workPath()));
        // Another page's row must stay as it is.
        QVERIFY(db.run(QStringLiteral("INSERT INTO %1(%2,value01) VALUES('其他','keep')")
                           .arg(SiteDb::contentTable(level), SiteDb::contentLink(level))));

        const auto read = [&](const QString& page) {
            const SqlResult r = db.selectContents(level, page);
            return r.rows.size() == 1 ? contentValues(r.first())
                                      : QStringList{QStringLiteral("rows: %1").arg(r.rows.size())};
        };
        QVERIFY(ContentStore::saveSingleRecord(db, level, format, QStringLiteral("页面'一"), true,
                                               {"T1", "C1", "a.jpg", "b.jpg"}));
        QCOMPARE(read("页面'一"), afterInsert);
        QVERIFY(ContentStore::saveSingleRecord(db, level, format, QStringLiteral("页面'一"), false,
                                               {"T'2", "C2", "c.jpg", "d.jpg"}));
        QCOMPARE(read("页面'一"), afterUpdate);
        QCOMPARE(read("其他").value(0), QStringLiteral("keep"));
        QVERIFY(!ContentStore::saveSingleRecord(db, level, QStringLiteral("news"), QStringLiteral("x"), true, {}));
        QVERIFY(!ContentStore::saveSingleRecord(db, 0, format, QStringLiteral("x"), true, {}));
    }

    // What stops a save of the in-place editors.
    void checkSave_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<bool>("go");
        const auto add = [](const char* row, int level, const char* format, const char* title, const char* notice,
                            bool go) {
            QTest::newRow(row) << level << QString(format) << QString(title) << QString(notice) << go;
        };
        add("no page", 0, "txt", "t", "没有在左边选择栏目！|警告", false);
        add("blank title", 1, "imgTxt03", "  ", "标题不能为空|提示", false);
        add("a picture needs no title", 2, "bigImg", "", "", true);
        add("titled text", 3, "txt", "t", "", true);
        add("a list page stores elsewhere", 1, "news", "", "", false);
        add("no known format", 1, "none", "t", "", false);
    }
    void checkSave()
    {
        QFETCH(int, level);
        QFETCH(QString, format);
        QFETCH(QString, title);
        QFETCH(QString, notice);
        QFETCH(bool, go);
        const Outcome out = ContentStore::checkSave(level, format, title);
        QStringList got;
        for (const Notice& n : out.notices)
            got << n.text + "|" + n.title;
        QCOMPARE(got.join(""), notice);
        QCOMPARE(out.done, go);
    }

    void thumbnailNames_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("thumbnail");
        for (const char* row : {"gif shares with jpg|a.gif|a_small.bmp", "no dot|scan|scan_small.bmp"}) {
            const QStringList f = QString(row).split('|');
            QTest::newRow(qPrintable(f[0])) << f[1] << f[2];
        }
    }
    void thumbnailNames()
    {
        QFETCH(QString, picture);
        QFETCH(QString, thumbnail);
        QCOMPARE(Pictures::thumbnailName(picture), thumbnail);
    }

    void thumbnailSizes_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("boxHeight");
        QTest::addColumn<QSize>("thumb");
        QTest::newRow("square reaches 2000") << QSize(4000, 4000) << 1305 << QSize(2000, 2000);
        QTest::newRow("box height limits") << QSize(2000, 1800) << 1305 << QSize(1450, 1305);
        QTest::newRow("after a flat thumbnail") << QSize(2000, 1800) << 667 << QSize(741, 667);
        QTest::newRow("small picture is enlarged") << QSize(300, 150) << 1305 << QSize(2000, 1000);
    }
    void thumbnailSizes()
    {
        QFETCH(QSize, picture);
        QFETCH(int, boxHeight);
        QFETCH(QSize, thumb);
        QCOMPARE(Pictures::thumbnailTwips(picture, boxHeight), thumb);
    }

    void readablePictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("readable");
        const QByteArray jpg = encoded(make(120, 80), "JPG");
        const QByteArray bmp = encoded(make(120, 80), "BMP");
        const QByteArray png = encoded(make(120, 80), "PNG");
        QTest::newRow("jpeg") << "a.jpg" << jpg << true;
        QTest::newRow("bmp") << "a.bmp" << bmp << true;
        QTest::newRow("gif") << "a.gif" << tinyGif() << true;
        QTest::newRow("png named jpg") << "p.jpg" << png << true;
        QTest::newRow("empty file") << "e.jpg" << QByteArray() << false;
        QTest::newRow("text named jpg") << "t.jpg" << QByteArray("这不是图片 just text\r\n") << false;
        QTest::newRow("jpeg cut in half") << "h.jpg" << jpg.left(jpg.size() / 2) << false;
        QTest::newRow("jpeg without its end") << "n.jpg" << jpg.left(jpg.size() - 2) << false;
        QTest::newRow("bmp cut short") << "h.bmp" << bmp.left(bmp.size() - 100) << false;
        QTest::newRow("gif without trailer") << "h.gif" << tinyGif().left(tinyGif().size() - 1) << false;
        QTest::newRow("png cut short") << "h.png" << png.left(png.size() / 2) << false;
        QTest::newRow("jpeg header only") << "x.jpg" << jpg.left(20) << false;
    }
    void readablePictures()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, data);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString path = write(dir.filePath(name), data);
        QCOMPARE(Pictures::isReadable(path), readable);
        QCOMPARE(!Pictures::makeThumbnail(path, QSize(20, 10)).isNull(), readable);
        QCOMPARE(!Pictures::load(path).isNull(), readable);
    }

    // The thumbnail as the gallery stores it: a BMP of the picture's colour, not a blank.
    void thumbnailIsAReadableBmp()
    {
        QTemporaryDir dir;
        const QString src = write(dir.filePath("wide.jpg"), 600, 200);
        const QImage back = QImage::fromData(Pictures::bmpBytes(Pictures::makeThumbnail(src, QSize(133, 44))), "BMP");
        QCOMPARE(back.size(), QSize(133, 44));
        const QColor c = back.pixelColor(10, 40);
        QVERIFY2(qAbs(c.blue() - 200) < 30 && qAbs(c.red() - 40) < 30, qPrintable(c.name()));
    }
};

WEBLARK_TEST_MAIN(TestContentCore)
#include "test_content_core.moc"
