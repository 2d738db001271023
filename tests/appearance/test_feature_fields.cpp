#include "appearance/FeatureFields.h"
#include "appearance/ThumbnailLayout.h"

#include <QtTest>

using namespace FeatureFields;

Q_DECLARE_METATYPE(AdBoard)

class TestFeatureFields : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void adBoard_data()
    {
        QTest::addColumn<AdBoard>("typed");
        QTest::addColumn<QString>("field");
        QTest::addColumn<AdBoard>("reloaded");
        QTest::newRow("empty boxes take the defaults")
            << AdBoard{} << "1||300||200||0||0||||" << AdBoard{"300", "200", "0", "0", "", ""};
        QTest::newRow("apostrophes, blanks and lines")
            << AdBoard{"640", "480", "10", "20", "O'Neil 公告", "第一行 'a'\n第二行"}
            << "1||640||480||10||20||O'Neil 公告||第一行&nbsp;&#39;a&#39;<br>第二行"
            << AdBoard{"640", "480", "10", "20", "O'Neil 公告", "第一行 'a'\n第二行"};
        QTest::newRow("bars in title and content keep seven parts")
            << AdBoard{"1", "2", "3", "4", "a||b|", "|x||y"} << "1||1||2||3||4||a&#124;&#124;b&#124;||&#124;x&#124;&#124;y"
            << AdBoard{"1", "2", "3", "4", "a||b|", "|x||y"};
        QTest::newRow("left becomes a whole number, halves to even")
            << AdBoard{"", "", "", "12.5", "", ""} << "1||300||200||0||12||||"
            << AdBoard{"300", "200", "0", "12", "", ""};
        QTest::newRow("left with sign, blanks and exponent")
            << AdBoard{"", "", "", " -1d2 ", "", ""} << "1||300||200||0||-100||||"
            << AdBoard{"300", "200", "0", "-100", "", ""};
    }
    void adBoard()
    {
        QFETCH(AdBoard, typed);
        QFETCH(QString, field);
        QFETCH(AdBoard, reloaded);
        QCOMPARE(adBoardField(typed), field);
        QCOMPARE(field.split("||").size(), 7);
        const AdBoard back = parseAdBoard(field);
        QCOMPARE(QStringList({back.width, back.height, back.top, back.left, back.title, back.content}),
                 QStringList({reloaded.width, reloaded.height, reloaded.top, reloaded.left, reloaded.title,
                              reloaded.content}));
    }

    void adBoardMissingParts_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("turned off") << "0" << QStringList{"", "", "", "", "", ""};
        QTest::newRow("null") << QString() << QStringList{"", "", "", "", "", ""};
        QTest::newRow("size only") << "1||640||480" << QStringList{"640", "480", "", "", "", ""};
        QTest::newRow("no content") << "1||5||6||7||8||标题" << QStringList{"5", "6", "7", "8", "标题", ""};
    }
    void adBoardMissingParts()
    {
        QFETCH(QString, field);
        QFETCH(QStringList, boxes);
        const AdBoard b = parseAdBoard(field);
        QCOMPARE(QStringList({b.width, b.height, b.top, b.left, b.title, b.content}), boxes);
    }

    void script_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("reloadedText");
        QTest::newRow("0") << 0 << "欢迎'光临" << "1||00.asp||欢迎'光临" << "欢迎'光临";
        QTest::newRow("3") << 3 << "a b" << "1||03.asp||a b" << "a b";
        QTest::newRow("4") << 4 << "" << "1||04.asp||" << "";
        QTest::newRow("10 with bars") << 10 << "a||b|" << "1||10.asp||a&#124;&#124;b&#124;" << "a||b|";
        QTest::newRow("12") << 12 << "x" << "1||12.asp||x" << "x";
        QTest::newRow("clock drops its text") << 1 << "x" << "1||01.asp||" << "";
        QTest::newRow("stars drop their text") << 2 << "x" << "1||02.asp||" << "";
    }
    void script()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, field);
        QFETCH(QString, reloadedText);
        QCOMPARE(scriptField({index, text}), field);
        const Script back = parseScript(field);
        QCOMPARE(back.index, index);
        QCOMPARE(back.text, reloadedText);
    }

    void scriptUnreadable_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("off") << "0";
        QTest::newRow("empty") << "";
        QTest::newRow("out of the list") << "1||13.asp||x";
        QTest::newRow("not a number") << "1||ab.asp||x";
    }
    void scriptUnreadable()
    {
        QFETCH(QString, field);
        QCOMPARE(parseScript(field).index, 0);
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
