#include "DisplayFormats.h"

#include <algorithm>

namespace DisplayFormats {

const QList<Format>& all()
{
    using E = Editor;
    static const QList<Format> formats = {
        {"txt", "文本格式", "该显示格式能够以纯文本的方式显示用户内容", "images/gen01.gif", false, E::Text, 0, false},
        {"news", "新闻格式", "该显示格式能够以超连接的方式显示内容标题，点击超连接可浏览详细内容", "images/gen02.gif",
         false, E::NewsList, 0, false},
        {"imgTxt01", "图文格式一", "该显示格式能够显示在文本中插入两张图片", "images/gen03.gif", false, E::ImageText, 2,
         false},
        {"imgTxt02", "图文格式二", "该显示格式能够在内容顶端显示两张图片", "images/gen04.gif", false, E::ImageText, 2,
         false},
        {"imgTxt03", "图文格式三", "该显示格式能够在内容顶端显示一张大图片", "images/gen05.gif", false, E::ImageText, 1,
         true},
        {"bigImg", "大图片格式", "该显示格式能够在整个显示区域中显示一张大图片", "images/gen06.gif", false, E::BigImage,
         1, false},
        {"imgs", "图片展示格式",
         "该显示格式能够显示以图库的形式显示图片，每张图片以超连接显示缩略图，点击超连接可放大图片", "images/gen07.gif",
         false, E::GalleryList, 0, false},
        {"adv", "高级设计格式", "该显示格式能够类似于Microsoft Word编辑功能，能够灵活的设计网页", "images/gen08.gif",
         false, E::Free, 0, false},
        {"prod01", "文本格式", "该显示格式能够将产品以不带图片的方式排列显示", "images/prod01.gif", true,
         E::ProductList, 0, false},
        {"prod02", "图表格式", "该显示格式能够将产品以带图片表格的方式显示", "images/prod02.gif", true, E::ProductList,
         0, false},
        {"prod03", "图片格式", "该显示格式能够将品产以图片的方式显示", "images/prod03.gif", true, E::ProductList, 0,
         false},
    };
    return formats;
}

QString Format::samplePage() const
{
    return QStringLiteral("tmplImg/") + code + QStringLiteral(".htm");
}

QString Format::statusName() const
{
    return product ? QStringLiteral("产品显示格式") : caption;
}

QString Format::headCaption() const
{
    return isInPlace() ? QStringLiteral("--样式显示图(") + caption + QLatin1Char(')') : QString();
}

bool Format::isList() const
{
    return editor == Editor::NewsList || editor == Editor::GalleryList || editor == Editor::ProductList;
}

bool Format::isInPlace() const
{
    return editor == Editor::Text || editor == Editor::ImageText || editor == Editor::BigImage;
}

const Format* find(const QString& code)
{
    for (const Format& f : all())
        if (f.code == code)
            return &f;
    return nullptr;
}

QList<Format> tiles(bool product)
{
    QList<Format> out;
    for (const Format& f : all())
        if (f.product == product)
            out.append(f);
    return out;
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
    l.height = top + tileHeight + 200;
    l.scrollMax = std::max(0, l.height - areaHeight);
    return l;
}

} // namespace DisplayFormats
