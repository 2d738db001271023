#include "TestMain.h"
#include "editor/HtmlFragments.h"

using namespace HtmlFragments;

namespace {

Image picture(const QString& width, const QString& height, const QString& border)
{
    Image img;
    img.folder = QStringLiteral("/home/u/ws/");
    img.fileName = QStringLiteral("a.jpg");
    img.width = width;
    img.height = height;
    img.border = border;
    return img;
}

} // namespace

class TestInsertFragments : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fragments_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");

        QTest::newRow("picture, defaults")
            << image(picture("100", "75", "0")) << "<img src='/home/u/ws/a.jpg' height=75 width=100 border=0>";
        Image full = picture("", "40", "");
        full.alt = QStringLiteral("标志");
        full.style = QStringLiteral("filter:xray");
        full.align = QStringLiteral("absmiddle");
        QTest::newRow("picture, every attribute in order")
            << image(full) << "<img src='/home/u/ws/a.jpg' height=40 alt=标志 style='filter:xray' align='absmiddle'>";
        Image blankAlt = picture("", "", "");
        blankAlt.alt = QStringLiteral("   ");
        QTest::newRow("picture, blank alt left out") << image(blankAlt) << "<img src='/home/u/ws/a.jpg'>";
        Image risky = picture("", "", "");
        risky.folder = QStringLiteral("/home/o'neil/");
        risky.alt = QStringLiteral("a \"big\" <one>");
        QTest::newRow("picture, quotes and blanks cannot break the tag")
            << image(risky) << "<img src='/home/o&#39;neil/a.jpg' alt=\"a &quot;big&quot; <one>\">";

        QTest::newRow("table, defaults") << table(Table())
                                         << "<table width=100% border=1 cellpadding=0 cellspacing=0>"
                                            "<tr><td>&nbsp;</td><td>&nbsp;</td></tr>"
                                            "<tr><td>&nbsp;</td><td>&nbsp;</td></tr></table>";
        Table t;
        t.rows = QString();
        t.cols = QStringLiteral("3");
        t.id = QStringLiteral("t1");
        t.width = QString();
        t.height = QStringLiteral("50");
        t.heightUnit = QStringLiteral("像数");
        t.border = QString();
        t.padding = QStringLiteral("2");
        t.spacing = QString();
        t.backColor = QStringLiteral("#FFFFFF");
        t.borderColor = QStringLiteral("#000000");
        t.align = QStringLiteral("center");
        QTest::newRow("table, empty rows give one, every attribute in order")
            << table(t)
            << "<table ID=t1 height=50像数 cellpadding=2 bgcolor=#FFFFFF bordercolor=#000000 align=center>"
               "<tr><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td></tr></table>";
        t = Table();
        t.rows = QString::number(kMaxTableSide + 1);
        QTest::newRow("table, too many rows refused") << table(t) << "";

        QTest::newRow("line, defaults") << line(Line()) << "<hr size=2 noshade align=center width=500>";
        Line l;
        l.color = QStringLiteral("#FF0000");
        l.height = QString();
        l.width = QString();
        l.shadow = true;
        l.align = LineAlign::Right;
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
