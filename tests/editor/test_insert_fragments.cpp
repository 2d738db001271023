#include "TestMain.h"
#include "editor/HtmlFragments.h"

using namespace HtmlFragments;

class TestInsertFragments : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fragments_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");

        // folder, file, width, height, border, alt, style, align
        QTest::newRow("picture, every attribute in order")
            << image({"/home/u/ws/", "a.jpg", "", "40", "", "标志", "filter:xray", "absmiddle"})
            << "<img src='/home/u/ws/a.jpg' height=40 alt=标志 style='filter:xray' align='absmiddle'>";
        QTest::newRow("picture, blank alt left out, quotes cannot break the tag")
            << image({"/home/o'neil/", "a.jpg", "", "", "", " ", "", ""}) +
                   image({"/", "b.gif", "", "", "", "a \"big\" <one>", "", ""})
            << "<img src='/home/o&#39;neil/a.jpg'><img src='/b.gif' alt=\"a &quot;big&quot; <one>\">";

        // rows, cols, width + unit, height + unit, border, padding, spacing, colours, ID, align
        Table t{"", "3", "", "%", "50", "像数", "", "2", "", "#FFFFFF", "#000000", "t1", "center"};
        QTest::newRow("table, empty rows give one, every attribute in order")
            << table(t)
            << "<table ID=t1 height=50像数 cellpadding=2 bgcolor=#FFFFFF bordercolor=#000000 align=center>"
               "<tr><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td></tr></table>";
        t = Table();
        t.rows = QString::number(kMaxTableSide + 1);
        QTest::newRow("table, too many rows refused") << table(t) << "";

        const Line l{"#FF0000", "", "", true, LineAlign::Right};
        QTest::newRow("line, colour and shadow") << line(l) << "<hr color='#FF0000' align=right>";

        const QString params = QStringLiteral(
            "  <param name=\"_cx\" value=\"20108\">  <param name=\"_cy\" value=\"3440\">"
            "  <param name=\"FlashVars\" value=\"20108\">  <param name=\"Movie\" value=\"file:///ws/m.swf\">"
            "  <param name=\"Src\" value=\"file:///ws/m.swf\">  <param name=\"WMode\" value=\"Window\">"
            "  <param name=\"Play\" value=\"-1\">  <param name=\"Loop\" value=\"-1\">"
            "  <param name=\"Quality\" value=\"High\">  <param name=\"SAlign\" value=\"\">"
            "  <param name=\"Menu\" value=\"-1\">  <param name=\"Base\" value=\"\">"
            "  <param name=\"AllowScriptAccess\" value=\"always\">  <param name=\"Scale\" value=\"ShowAll\">"
            "  <param name=\"DeviceFont\" value=\"0\">  <param name=\"EmbedMovie\" value=\"0\">"
            "  <param name=\"BGColor\" value=\"\">  <param name=\"SWRemote\" value=\"\"></object>");
        const QString head = QStringLiteral("<object codebase=http://download.macromedia.com/pub/shockwave/cabs/flash/"
                                            "swflash.cab#version=6,0,29,0 height=%1 width=%2 "
                                            "classid=clsid:D27CDB6E-AE6D-11cf-96B8-444553540000>");
        QTest::newRow("flash, empty sizes") << flash("file:///ws/m.swf", "", "") << head.arg(120).arg(600) + params;
        QTest::newRow("flash, sizes typed")
            << flash("file:///ws/m.swf", " 320 ", "2.4e2") << head.arg(240).arg(320) + params;
    }
    void fragments()
    {
        QFETCH(QString, html);
        QFETCH(QString, expected);
        QCOMPARE(html, expected);
    }
};

WEBLARK_TEST_MAIN(TestInsertFragments)
#include "test_insert_fragments.moc"
