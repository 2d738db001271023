#include "TestMain.h"
#include "text/TextCodec.h"

using namespace TextCodec;

class TestText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void encodeDecode()
    {
        // plain <-> stored, both ways.
        const std::pair<const char*, const char*> both[] = {
            {"a'b\r\nc d\"e", "a&#39;b<br>c&nbsp;d&#34;e"}, // all markers
            {"x\ny", "x\ny"},                               // lone LF kept
            {"x\ry", "x\ry"},                               // lone CR kept
            {"A&B <新>", "A&B&nbsp;<新>"},                  // HTML characters kept
            {"", ""},
            {"\r\n\r\n", "<br><br>"},
        };
        for (const auto& [plain, stored] : both) {
            QCOMPARE(encode(QString::fromUtf8(plain)), QString::fromUtf8(stored));
            QCOMPARE(decode(QString::fromUtf8(stored)), QString::fromUtf8(plain));
        }
        QCOMPARE(decode("a&nbsp;b"), QStringLiteral("a b"));   // a typed nbsp becomes a blank
        QCOMPARE(decode("a<BR>b"), QStringLiteral("a<BR>b"));  // capitals untouched
        QCOMPARE(decode("&#34;&#39;"), QStringLiteral("\"'")); // quote first, then apostrophe
    }

    void storageHtml_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("stored");
        const QString wp = QStringLiteral("/home/u/网站 数据/");
        QTest::newRow("body in capitals with attributes")
            << QStringLiteral("<HTML><BODY bgcolor=\"#fff\" onload='x()'><p>hi</p></BODY></HTML>")
            << QStringLiteral("<p>hi</p>");
        QTest::newRow("no body stays whole") << QStringLiteral("<p>it's</p>") << QStringLiteral("<p>it[&#39;]s</p>");
        QTest::newRow("url form") << QStringLiteral("<img src=\"file://") + wp + QStringLiteral("a.jpg\">")
                                  << QStringLiteral("<img src=\"[imgpath]/a.jpg\">");
        QTest::newRow("bare path") << QStringLiteral("<img src=\"") + wp + QStringLiteral("a.jpg\">")
                                   << QStringLiteral("<img src=\"[imgpath]/a.jpg\">");
        QTest::newRow("encoded url form")
            << QStringLiteral("<img src=\"file:///home/u/%E7%BD%91%E7%AB%99%20%E6%95%B0%E6%8D%AE/a.jpg\">")
            << QStringLiteral("<img src=\"[imgpath]/a.jpg\">");
        QTest::newRow("different case not replaced") << QStringLiteral("<img src=\"/HOME/u/网站 数据/a.jpg\">")
                                                     << QStringLiteral("<img src=\"/HOME/u/网站 数据/a.jpg\">");
        QTest::newRow("last closing body") << QStringLiteral("<body>a</body>b</body>") << QStringLiteral("a</body>b");
    }
    void storageHtml()
    {
        QFETCH(QString, html);
        QFETCH(QString, stored);
        QCOMPARE(toStorageHtml(html, QStringLiteral("/home/u/网站 数据/")), stored);
    }

    void storageRoundTripGivesUrlForm()
    {
        const QString wp = QStringLiteral("/tmp/ws/");
        for (const QString& src : {QStringLiteral("file:///tmp/ws/p.png"), QStringLiteral("/tmp/ws/p.png")}) {
            const QString back = fromStorageHtml(toStorageHtml(QStringLiteral("<img src='%1'>").arg(src), wp), wp);
            QCOMPARE(back, QStringLiteral("<img src='file:///tmp/ws/p.png'>"));
        }
    }

    void lenientNumber()
    {
        for (const char* number : {"", "12", " -3.5 ", "1e5", ".5", "5."})
            QVERIFY2(isLenientNumber(number), number);
        for (const char* text : {"12a", "-", "1.2.3"})
            QVERIFY2(!isLenientNumber(text), text);
    }

    void isEng()
    {
        for (const char* name : {"photo01.jpg", "a b\x7f", ""})
            QVERIFY2(cls_func().isEng(name), name);
        for (const char* name : {"照片.jpg", "a\tb", "caf\u00e9.jpg"})
            QVERIFY2(!cls_func().isEng(QString::fromUtf8(name)), name);
    }
};

WEBLARK_TEST_MAIN(TestText)
#include "test_text.moc"
