#include "HtmlFragments.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace HtmlFragments {

namespace {

QString escaped(QString s, QChar quote)
{
    s.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    return s.replace(quote, quote == QLatin1Char('"') ? QLatin1String("&quot;") : QLatin1String("&#39;"));
}

// An unquoted attribute value ends at a blank or a quote and may not hold '<', '>',
// '=' or '`'; such a value (and an empty one) goes in double quotes.
QString bare(const QString& value)
{
    static const QRegularExpression unsafe(QStringLiteral("[\\s\"'<>=`]"));
    if (!value.isEmpty() && !value.contains(unsafe))
        return value;
    return QLatin1Char('"') + escaped(value, QLatin1Char('"')) + QLatin1Char('"');
}

QString single(const QString& value)
{
    return QLatin1Char('\'') + escaped(value, QLatin1Char('\'')) + QLatin1Char('\'');
}

} // namespace

const QList<Choice>& imageEffects()
{
    static const QList<Choice> items = {
        {QStringLiteral("无"), QString()},
        {QStringLiteral("模糊效果"), QStringLiteral("filter:blur(add=1,direction=14,strength=15)")},
        {QStringLiteral("黑白照片"), QStringLiteral("filter:gray")},
        {QStringLiteral("颠倒显示"), QStringLiteral("filter:flipv")},
        {QStringLiteral("左右反转"), QStringLiteral("filter:fliph")},
        {QStringLiteral("X光照片"), QStringLiteral("filter:xray")},
        {QStringLiteral("颜色反转"), QStringLiteral("filter:invert")},
    };
    return items;
}

const QList<Choice>& imageAligns()
{
    static const QList<Choice> items = {
        {QStringLiteral("默认位置"), QString()},
        {QStringLiteral("左对齐"), QStringLiteral("left")},
        {QStringLiteral("居中"), QStringLiteral("middle")},
        {QStringLiteral("右对齐"), QStringLiteral("right")},
        {QStringLiteral("顶部对齐"), QStringLiteral("top")},
        {QStringLiteral("底部对齐"), QStringLiteral("bottom")},
        {QStringLiteral("基线"), QStringLiteral("baseline")},
        {QStringLiteral("绝对顶部"), QStringLiteral("texttop")},
        {QStringLiteral("绝对居中"), QStringLiteral("absmiddle")},
        {QStringLiteral("绝对底部"), QStringLiteral("absbottom")},
    };
    return items;
}

QString image(const Image& img)
{
    QString s = QStringLiteral("<img src=") + single(img.folder + img.fileName);
    if (!img.height.isEmpty())
        s += QStringLiteral(" height=") + bare(img.height);
    if (!img.width.isEmpty())
        s += QStringLiteral(" width=") + bare(img.width);
    if (!img.alt.trimmed().isEmpty())
        s += QStringLiteral(" alt=") + bare(img.alt);
    if (!img.border.isEmpty())
        s += QStringLiteral(" border=") + bare(img.border);
    if (!img.style.isEmpty())
        s += QStringLiteral(" style=") + single(img.style);
    if (!img.align.isEmpty())
        s += QStringLiteral(" align=") + single(img.align);
    return s + QLatin1Char('>');
}

int wholeNumber(const QString& text, int fallback)
{
    // The size boxes accept blanks around a sign and the exponent letters E and D.
    QString t = text;
    t.remove(QLatin1Char(' ')).replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    bool ok = false;
    const double v = t.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > std::numeric_limits<int>::max())
        return fallback;
    return int(std::lround(v));
}

QString flash(const QString& movieUrl, const QString& width, const QString& height)
{
    static const char* const kCab =
        "http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=6,0,29,0";
    const QList<Choice> params = {
        {QStringLiteral("_cx"), QStringLiteral("20108")},
        {QStringLiteral("_cy"), QStringLiteral("3440")},
        {QStringLiteral("FlashVars"), QStringLiteral("20108")},
        {QStringLiteral("Movie"), movieUrl},
        {QStringLiteral("Src"), movieUrl},
        {QStringLiteral("WMode"), QStringLiteral("Window")},
        {QStringLiteral("Play"), QStringLiteral("-1")},
        {QStringLiteral("Loop"), QStringLiteral("-1")},
        {QStringLiteral("Quality"), QStringLiteral("High")},
        {QStringLiteral("SAlign"), QString()},
        {QStringLiteral("Menu"), QStringLiteral("-1")},
        {QStringLiteral("Base"), QString()},
        {QStringLiteral("AllowScriptAccess"), QStringLiteral("always")},
        {QStringLiteral("Scale"), QStringLiteral("ShowAll")},
        {QStringLiteral("DeviceFont"), QStringLiteral("0")},
        {QStringLiteral("EmbedMovie"), QStringLiteral("0")},
        {QStringLiteral("BGColor"), QString()},
        {QStringLiteral("SWRemote"), QString()},
    };
    QString s = QStringLiteral("<object codebase=") + QLatin1String(kCab) +
                QStringLiteral(" height=%1 width=%2").arg(wholeNumber(height, 120)).arg(wholeNumber(width, 600)) +
                QStringLiteral(" classid=clsid:D27CDB6E-AE6D-11cf-96B8-444553540000>");
    for (const Choice& p : params)
        s += QStringLiteral("  <param name=\"%1\" value=\"%2\">").arg(p.caption, escaped(p.value, QLatin1Char('"')));
    return s + QStringLiteral("</object>");
}

QString table(const Table& t)
{
    const int rows = t.rows.isEmpty() ? 1 : qMax(0, wholeNumber(t.rows, 1));
    const int cols = t.cols.isEmpty() ? 1 : qMax(0, wholeNumber(t.cols, 1));
    if (rows > kMaxTableSide || cols > kMaxTableSide)
        return {};
    QString s = QStringLiteral("<table");
    const auto add = [&s](const char* name, const QString& value, const QString& unit = QString()) {
        if (!value.isEmpty())
            s += QLatin1Char(' ') + QLatin1String(name) + QLatin1Char('=') + bare(value + unit);
    };
    add("ID", t.id);
    add("width", t.width, t.widthUnit);
    add("height", t.height, t.heightUnit);
    add("border", t.border);
    add("cellpadding", t.padding);
    add("cellspacing", t.spacing);
    add("bgcolor", t.backColor);
    add("bordercolor", t.borderColor);
    add("align", t.align);
    s += QLatin1Char('>');
    const QString row =
        QStringLiteral("<tr>") + QStringLiteral("<td>&nbsp;</td>").repeated(cols) + QStringLiteral("</tr>");
    return s + row.repeated(rows) + QStringLiteral("</table>");
}

QString line(const Line& l)
{
    QString s = QStringLiteral("<hr");
    if (!l.color.trimmed().isEmpty())
        s += QStringLiteral(" color=") + single(l.color);
    if (!l.height.isEmpty())
        s += QStringLiteral(" size=") + bare(l.height);
    if (!l.shadow)
        s += QStringLiteral(" noshade");
    static const char* const kAligns[] = {" align=left", " align=center", " align=right"};
    s += QLatin1String(kAligns[int(l.align)]);
    if (!l.width.isEmpty())
        s += QStringLiteral(" width=") + bare(l.width);
    return s + QLatin1Char('>');
}

} // namespace HtmlFragments
