#include "TestMain.h"
#include "text/TextCodec.h"

#include <QColor>

using namespace TextCodec;

class TestText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void encodeDecode_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("stored");
        QTest::newRow("all markers") << QStringLiteral("a'b\r\nc d\"e") << QStringLiteral("a&#39;b<br>c&nbsp;d&#34;e");
        QTest::newRow("lone LF kept") << QStringLiteral("x\ny") << QStringLiteral("x\ny");
        QTest::newRow("lone CR kept") << QStringLiteral("x\ry") << QStringLiteral("x\ry");
        QTest::newRow("html chars kept") << QStringLiteral("A&B <新>") << QStringLiteral("A&B&nbsp;<新>");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("chinese") << QStringLiteral("政府 “通知”") << QStringLiteral("政府&nbsp;“通知”");
        QTest::newRow("two breaks") << QStringLiteral("\r\n\r\n") << QStringLiteral("<br><br>");
    }
    void encodeDecode()
    {
        QFETCH(QString, plain);
        QFETCH(QString, stored);
        QCOMPARE(encode(plain), stored);
        QCOMPARE(decode(stored), plain);
    }

    void decodeOnly_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("plain");
        QTest::newRow("typed nbsp becomes blank") << QStringLiteral("a&nbsp;b") << QStringLiteral("a b");
        QTest::newRow("upper BR untouched") << QStringLiteral("a<BR>b") << QStringLiteral("a<BR>b");
        QTest::newRow("order: quote then apostrophe") << QStringLiteral("&#34;&#39;") << QStringLiteral("\"'");
    }
    void decodeOnly()
    {
        QFETCH(QString, stored);
        QFETCH(QString, plain);
        QCOMPARE(decode(stored), plain);
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

    void lenientNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("int") << QStringLiteral("12") << true;
        QTest::newRow("signed blanks") << QStringLiteral(" -3.5 ") << true;
        QTest::newRow("exponent") << QStringLiteral("1e5") << true;
        QTest::newRow("dot") << QStringLiteral(".5") << true;
        QTest::newRow("trailing dot") << QStringLiteral("5.") << true;
        QTest::newRow("letters") << QStringLiteral("12a") << false;
        QTest::newRow("lone sign") << QStringLiteral("-") << false;
        QTest::newRow("two dots") << QStringLiteral("1.2.3") << false;
    }
    void lenientNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, number);
        QCOMPARE(isLenientNumber(text), number);
    }

    void colorHex() { QCOMPARE(colorToHex(QColor(10, 171, 205)), QStringLiteral("#0AABCD")); }

    void isEng_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("eng");
        QTest::newRow("ascii") << QStringLiteral("photo01.jpg") << true;
        QTest::newRow("blank and DEL") << QStringLiteral("a b\x7f") << true;
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("chinese") << QStringLiteral("照片.jpg") << false;
        QTest::newRow("tab") << QStringLiteral("a\tb") << false;
        QTest::newRow("latin1") << QStringLiteral("caf\u00e9.jpg") << false;
    }
    void isEng()
    {
        QFETCH(QString, name);
        QFETCH(bool, eng);
        QCOMPARE(cls_func().isEng(name), eng);
    }
};

WEBLARK_TEST_MAIN(TestText)
#include "test_text.moc"
