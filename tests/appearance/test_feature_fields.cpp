#include "appearance/ThumbnailLayout.h"
#include "data/FeatureFields.h"

#include <QtTest>

using namespace FeatureFields;

static QStringList boxes(const AdBoard& b)
{
    return {b.width, b.height, b.top, b.left, b.title, b.content};
}

class TestFeatureFields : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // typed boxes (width, height, top, left, title, content) -> stored field -> boxes shown on reloading
    void adBoard_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("reloaded");
        const QStringList quoted{"640", "480", "10", "20", "O'Neil 公告", "第一行 'a'\n第二行"};
        QTest::newRow("apostrophes, blanks, lines")
            << quoted << "1||640||480||10||20||O'Neil 公告||第一行&nbsp;&#39;a&#39;<br>第二行" << quoted;
        const QStringList bars{"1", "2", "3", "4", "a||b|", "|x||y"};
        QTest::newRow("bars keep seven parts")
            << bars << "1||1||2||3||4||a&#124;&#124;b&#124;||&#124;x&#124;&#124;y" << bars;
        QTest::newRow("left halves to even") << QStringList{"", "", "", "12.5", "", ""} << "1||300||200||0||12||||"
                                             << QStringList{"300", "200", "0", "12", "", ""};
        QTest::newRow("left with sign, blanks, exponent")
            << QStringList{"", "", "", " -1d2 ", "", ""} << "1||300||200||0||-100||||"
            << QStringList{"300", "200", "0", "-100", "", ""};
        QTest::newRow("left beyond any screen")
            << QStringList{"", "", "", "1e30", "", ""} << "1||300||200||0||2147483647||||"
            << QStringList{"300", "200", "0", "2147483647", "", ""};
    }
    void adBoard()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, field);
        QFETCH(QStringList, reloaded);
        QCOMPARE(adBoardField({typed[0], typed[1], typed[2], typed[3], typed[4], typed[5]}), field);
        QCOMPARE(boxes(parseAdBoard(field)), reloaded);
    }

    void adBoardMissingParts()
    {
        QCOMPARE(boxes(parseAdBoard(QString())), QStringList(6, QString()));
        QCOMPARE(boxes(parseAdBoard("0")), QStringList(6, QString()));
        QCOMPARE(boxes(parseAdBoard("1||640||480")), QStringList({"640", "480", "", "", "", ""}));
    }

    // Bars typed in the text come back from the stored field.
    void script()
    {
        const QString field = QStringLiteral("1||10.asp||a&#124;&#124;b&#124;");
        QCOMPARE(scriptField({10, QStringLiteral("a||b|"), false, {}}), field);
        const Script back = parseScript(field);
        QCOMPARE(back.index, 10);
        QCOMPARE(back.text, QStringLiteral("a||b|"));
    }

    void scriptUnreadable()
    {
        for (const char* field : {"0", "", "1||13.asp||x", "1||ab.asp||x"})
            QVERIFY2(parseScript(QString::fromUtf8(field)).index == 0, field);
    }

    void thumbnails_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QPoint>("last");
        QTest::addColumn<int>("scrollMax"); // against a panel 5000 twips high
        QTest::newRow("1") << 1 << QPoint(250, 100) << 0;
        QTest::newRow("3: one full row") << 3 << QPoint(5250, 100) << 0;
        QTest::newRow("7: rows of 3, 3, 1") << 7 << QPoint(250, 3460) << 2140;
        QTest::newRow("20") << 20 << QPoint(2750, 10180) << 8860;
    }
    void thumbnails()
    {
        QFETCH(int, count);
        QFETCH(QPoint, last);
        QFETCH(int, scrollMax);
        QCOMPARE(ThumbnailLayout::thumbnailPos(count - 1), last);
        QCOMPARE(ThumbnailLayout::scrollMax(count, 5000), scrollMax);
    }

    void nameStyleStack()
    {
        const QList<int> heights{900, 600, 900};
        QCOMPARE(ThumbnailLayout::stackTops(heights), QList<int>({100, 1100, 1800}));
        QCOMPARE(ThumbnailLayout::stackScrollMax(heights, 2000), 800);
        QCOMPARE(ThumbnailLayout::stackScrollMax(heights, 5000), 0);
    }
};

QTEST_GUILESS_MAIN(TestFeatureFields)
#include "test_feature_fields.moc"
