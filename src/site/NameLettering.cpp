#include "NameLettering.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <functional>
#include <vector>

namespace {

using NameLettering::Face;

QPainterPath textPath(const QString& text, Face face, qreal size, qreal spacingPercent = 112)
{
    QFont font = NameLettering::cjkFont(face, size, QFont::Bold);
    font.setLetterSpacing(QFont::PercentageSpacing, spacingPercent);
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

// One box pass along rows (or columns); pixels outside count as transparent.
void boxPass(QImage& image, int radius, bool alongRows)
{
    const int len = alongRows ? image.width() : image.height();
    const int lines = alongRows ? image.height() : image.width();
    const int span = 2 * radius + 1;
    std::vector<QRgb> buf(size_t(len), 0);
    for (int line = 0; line < lines; ++line) {
        auto at = [&](int i) -> QRgb& {
            return alongRows ? reinterpret_cast<QRgb*>(image.scanLine(line))[i]
                             : reinterpret_cast<QRgb*>(image.scanLine(i))[line];
        };
        for (int i = 0; i < len; ++i)
            buf[size_t(i)] = at(i);
        int sum[4] = {0, 0, 0, 0};
        auto add = [&sum](QRgb v, int sign) {
            for (int c = 0; c < 4; ++c)
                sum[c] += sign * int((v >> (8 * c)) & 0xff);
        };
        for (int i = 0; i <= radius && i < len; ++i)
            add(buf[size_t(i)], 1);
        for (int i = 0; i < len; ++i) {
            QRgb v = 0;
            for (int c = 0; c < 4; ++c)
                v |= QRgb(sum[c] / span) << (8 * c);
            at(i) = v;
            if (i - radius >= 0)
                add(buf[size_t(i - radius)], -1);
            if (i + radius + 1 < len)
                add(buf[size_t(i + radius + 1)], 1);
        }
    }
}

// A soft copy of path (filled, or stroked when strokeWidth > 0), for shadows and glows.
void paintSoft(QPainter& p, const QPainterPath& path, const QColor& colour, int radius, const QPointF& offset,
               qreal strokeWidth = 0)
{
    QImage layer(p.device()->width(), p.device()->height(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        if (strokeWidth > 0)
            lp.strokePath(path.translated(offset),
                          QPen(colour, strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        else
            lp.fillPath(path.translated(offset), colour);
    }
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(layer, radius, true);
        boxPass(layer, radius, false);
    }
    p.drawImage(0, 0, layer);
}

QLinearGradient vertical(const QPainterPath& path, std::initializer_list<std::pair<qreal, QRgb>> stops)
{
    const QRectF b = path.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    for (const auto& s : stops)
        g.setColorAt(s.first, QColor(s.second));
    return g;
}

QPen outline(const QColor& c, qreal width)
{
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A style: the face and spacing of its letters, the room it needs beside them, and its painting.
struct Style {
    Face face;
    qreal spacing;
    qreal extraRight; // in glyph heights: the seal of the brush style
    std::function<void(QPainter&, const QPainterPath&, qreal)> paint;
};

const std::vector<Style>& styles()
{
    static const std::vector<Style> all = {
        // 01: bold serif in red with a gold rim
        {Face::Serif, 112, 0,
         [](QPainter& p, const QPainterPath& t, qreal) {
             p.strokePath(t, outline(QColor(0x9a, 0x66, 0x12), 7));
             p.strokePath(t, outline(QColor(0xf3, 0xc6, 0x5a), 4.5));
             p.fillPath(t, vertical(t, {{0, 0xe8322f}, {1, 0xa50d12}}));
         }},
        // 02: heavy sans in blue over a soft drop shadow
        {Face::Sans, 112, 0,
         [](QPainter& p, const QPainterPath& t, qreal) {
             paintSoft(p, t, QColor(0, 0, 0, 120), 2, QPointF(3, 3));
             p.fillPath(t, vertical(t, {{0, 0x3b8ae6}, {1, 0x1449a0}}));
         }},
        // 03: slanted brush-like serif in ink black with a red seal
        {Face::Serif, 104, 0.9,
         [](QPainter& p, const QPainterPath& plain, qreal size) {
             const QPointF c = plain.boundingRect().center();
             QTransform slant;
             slant.translate(c.x(), c.y());
             slant.shear(-0.22, 0);
             slant.scale(1.04, 1.08);
             slant.translate(-c.x(), -c.y());
             const QPainterPath t = slant.map(plain);
             paintSoft(p, t, QColor(0, 0, 0, 90), 1, QPointF(0, 0), 2);
             p.fillPath(t, QColor(0x16, 0x16, 0x16));
             const qreal s = size * 0.62;
             const QRectF seal(t.boundingRect().right() + size * 0.28, c.y() - s / 2, s, s);
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(0xc4, 0x1e, 0x1e));
             p.drawRoundedRect(seal, 3, 3);
             QPainterPath mark;
             mark.addText(0, 0, NameLettering::cjkFont(Face::Serif, s * 0.72, QFont::Bold), QStringLiteral("印"));
             p.fillPath(mark.translated(seal.center() - mark.boundingRect().center()), QColor(0xfb, 0xf1, 0xe6));
         }},
        // 04: sans with a warm horizontal gradient
        {Face::Sans, 112, 0,
         [](QPainter& p, const QPainterPath& t, qreal) {
             const QRectF b = t.boundingRect();
             QLinearGradient g(b.topLeft(), b.topRight());
             g.setColorAt(0, QColor(0xff, 0x8a, 0x00));
             g.setColorAt(0.5, QColor(0xee, 0x2a, 0x5d));
             g.setColorAt(1, QColor(0x8e, 0x2d, 0xe2));
             p.strokePath(t, outline(QColor(255, 255, 255, 200), 2.5));
             p.fillPath(t, g);
         }},
        // 05: white letters with a dark rim, for use over pictures
        {Face::Sans, 112, 0,
         [](QPainter& p, const QPainterPath& t, qreal) {
             paintSoft(p, t, QColor(0, 0, 0, 110), 3, QPointF(1, 2), 5);
             p.strokePath(t, outline(QColor(0x17, 0x35, 0x62), 4.5));
             p.fillPath(t, Qt::white);
         }},
        // 06: embossed stone
        {Face::Serif, 112, 0,
         [](QPainter& p, const QPainterPath& t, qreal) {
             p.fillPath(t.translated(1.6, 1.6), QColor(0x4f, 0x43, 0x2c, 210));
             p.fillPath(t.translated(-1.2, -1.2), QColor(255, 255, 255, 235));
             p.fillPath(t, vertical(t, {{0, 0xd2c097}, {1, 0xa8905f}}));
         }},
        // 07: polished gold
        {Face::Serif, 112, 0,
         [](QPainter& p, const QPainterPath& t, qreal) {
             paintSoft(p, t, QColor(0x3a, 0x26, 0x00, 140), 2, QPointF(2, 3));
             p.strokePath(t, outline(QColor(0x6d, 0x4c, 0x10), 2.5));
             p.fillPath(t, vertical(t, {{0, 0xfff4b8}, {0.45, 0xe2a726}, {0.55, 0xc98c12}, {1, 0xffe08a}}));
         }},
        // 08: cyan glow
        {Face::Sans, 118, 0,
         [](QPainter& p, const QPainterPath& t, qreal) {
             paintSoft(p, t, QColor(0x00, 0xc8, 0xff, 230), 4, QPointF(0, 0), 6);
             p.strokePath(t, outline(QColor(0x2a, 0xd8, 0xff), 2.5));
             p.fillPath(t, QColor(0xf0, 0xfe, 0xff));
         }},
    };
    return all;
}

} // namespace

namespace NameLettering {

QFont cjkFont(Face face, qreal pixelSize, QFont::Weight weight)
{
    QFont font;
    if (face == Face::Serif)
        font.setFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Serif SC"),
                          QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Sans CJK SC")});
    else
        font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                          QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
                          QStringLiteral("Droid Sans Fallback")});
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setWeight(weight);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

int styleCount()
{
    return int(styles().size());
}

int styleOf(const QString& fontFile)
{
    static const QRegularExpression re(QStringLiteral("^font(\\d\\d)\\.png$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(fontFile.trimmed());
    const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
    return n >= 1 && n <= styleCount() ? n - 1 : -1;
}

bool canDraw()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QImage draw(const QString& text, int style, int pixelSize, const QSize& canvas)
{
    if (!canDraw() || text.isEmpty())
        return QImage();
    const Style& s = styles()[size_t(qBound(0, style, styleCount() - 1))];
    QPainterPath path = textPath(text, s.face, pixelSize, s.spacing);
    const QRectF b = path.boundingRect();
    const int margin = qMax(6, pixelSize / 4); // room for rims, shadows and glows
    const QSize size = canvas.isValid() ? canvas
                                        : QSize(int(b.width() + s.extraRight * pixelSize) + 2 * margin + 8,
                                                int(b.height()) + 2 * margin);
    const QPointF centre(size.width() / 2.0 - s.extraRight * pixelSize / 2, size.height() / 2.0);
    path.translate(centre - b.center());
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        s.paint(p, path, pixelSize);
    }
    return img.convertToFormat(QImage::Format_ARGB32);
}

} // namespace NameLettering
