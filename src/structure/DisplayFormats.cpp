#include "DisplayFormats.h"

#include <QHash>

namespace DisplayFormats {

FormatTables buildFormatTables(const QString& appPath)
{
    const auto entry = [&](const char* caption, const char* code, const char* pic) {
        return FormatEntry{QString::fromUtf8(caption), QString::fromLatin1(code),
                           appPath + QStringLiteral("images/") + QString::fromLatin1(pic)};
    };
    FormatTables t;
    t.general = {entry("文本格式", "txt", "gen01.gif"),         entry("新闻格式", "news", "gen02.gif"),
                 entry("图文格式一", "imgTxt01", "gen03.gif"),   entry("图文格式二", "imgTxt02", "gen04.gif"),
                 entry("图文格式三", "imgTxt03", "gen05.gif"),   entry("大图片格式", "bigImg", "gen06.gif"),
                 entry("图片展示格式", "imgs", "gen07.gif"),     entry("高级设计格式", "adv", "gen08.gif")};
    t.product = {entry("文本格式", "prod01", "prod01.gif"), entry("图表格式", "prod02", "prod02.gif"),
                 entry("图片格式", "prod03", "prod03.gif")};
    return t;
}

static const QHash<QString, QString>& descriptions()
{
    static const QHash<QString, QString> d = {
        {QStringLiteral("txt"), QStringLiteral("该显示格式能够以纯文本的方式显示用户内容")},
        {QStringLiteral("imgTxt01"), QStringLiteral("该显示格式能够显示在文本中插入两张图片")},
        {QStringLiteral("imgTxt02"), QStringLiteral("该显示格式能够在内容顶端显示两张图片")},
        {QStringLiteral("imgTxt03"), QStringLiteral("该显示格式能够在内容顶端显示一张大图片")},
        {QStringLiteral("news"),
         QStringLiteral("该显示格式能够以超连接的方式显示内容标题，点击超连接可浏览详细内容")},
        {QStringLiteral("bigImg"), QStringLiteral("该显示格式能够在整个显示区域中显示一张大图片")},
        {QStringLiteral("imgs"),
         QStringLiteral("该显示格式能够显示以图库的形式显示图片，每张图片以超连接显示缩略图，点击超连接可放大图片")},
        {QStringLiteral("adv"), QStringLiteral("该显示格式能够类似于Microsoft Word编辑功能，能够灵活的设计网页")},
        {QStringLiteral("prod01"), QStringLiteral("该显示格式能够将产品以不带图片的方式排列显示")},
        {QStringLiteral("prod02"), QStringLiteral("该显示格式能够将产品以带图片表格的方式显示")},
        {QStringLiteral("prod03"), QStringLiteral("该显示格式能够将品产以图片的方式显示")},
    };
    return d;
}

Sample sampleOf(const QString& code)
{
    const auto it = descriptions().constFind(code);
    if (it == descriptions().constEnd())
        return {};
    return {QStringLiteral("tmplImg/") + code + QStringLiteral(".htm"), *it};
}

QStringList allCodes()
{
    return {QStringLiteral("txt"),      QStringLiteral("news"),   QStringLiteral("imgTxt01"),
            QStringLiteral("imgTxt02"), QStringLiteral("imgTxt03"), QStringLiteral("bigImg"),
            QStringLiteral("imgs"),     QStringLiteral("adv"),    QStringLiteral("prod01"),
            QStringLiteral("prod02"),   QStringLiteral("prod03")};
}

QString welcomePage()
{
    return QStringLiteral("tmplImg/welcome01.htm");
}

bool isProductCode(const QString& code)
{
    return code.left(4) == QLatin1String("prod");
}

TileLayout layoutFormatTiles(int count, int tileWidth, int tileHeight, int line1Y, int areaHeight)
{
    TileLayout l;
    int top = line1Y + 200;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && i % 3 == 0)
            top += tileHeight + 100;
        l.spots.append({300 + (i % 3) * (tileWidth + 180), top});
    }
    l.scrollMax = std::max(0, top + tileHeight + 200 - areaHeight);
    return l;
}

ScrolledPositions scrolledPositions(int s, int rows)
{
    ScrolledPositions p;
    p.labelTop = 150 - s;
    p.lineY = 375 - s;
    for (int r = 0; r < rows; ++r)
        p.rowTops.append(585 - s + r * kScrollRowStep);
    return p;
}

} // namespace DisplayFormats
