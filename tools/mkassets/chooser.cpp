// Pictures of the page-format chooser: one 100x75 GIF tile per display format, showing a
// miniature of the page layout, and the hand cursor the chooser shows over a tile.
#include "art.h"
#include "gif.h"

#include <QLinearGradient>
#include <QPainter>

#include <functional>

namespace mk {
namespace {

const QColor kTileBack(0xf7, 0xf9, 0xfc);
const QColor kText(0xb3, 0xbc, 0xc8);
const QColor kTitle(0x5d, 0x6e, 0x84);
const QColor kBlue(0x3a, 0x78, 0xc6);
const QColor kOrange(0xef, 0x93, 0x2f);
const QColor kPrice(0xdc, 0x43, 0x3a);

enum class Mini { Landscape, Goods };

// A picture placeholder the size of a stamp: a landscape, or an article on a studio background.
void miniPicture(QPainter& p, const QRectF& r, Mini kind = Mini::Landscape)
{
    p.save();
    p.setClipRect(r);
    p.setPen(Qt::NoPen);
    if (kind == Mini::Landscape) {
        QLinearGradient sky(r.topLeft(), r.bottomLeft());
        sky.setColorAt(0, QColor(0x7d, 0xb9, 0xea));
        sky.setColorAt(1, QColor(0xd2, 0xe9, 0xfa));
        p.fillRect(r, sky);
        p.setBrush(QColor(0xff, 0xd4, 0x5a));
        p.drawEllipse(QPointF(r.right() - r.width() * 0.25, r.top() + r.height() * 0.28), r.height() * 0.12,
                      r.height() * 0.12);
        p.setBrush(QColor(0x7c, 0xc4, 0x7f));
        p.drawPolygon(
            QPolygonF({QPointF(r.left(), r.bottom()), QPointF(r.left() + r.width() * 0.35, r.top() + r.height() * 0.35),
                       QPointF(r.left() + r.width() * 0.7, r.bottom())}));
        p.setBrush(QColor(0x4f, 0xa0, 0x58));
        p.drawPolygon(QPolygonF({QPointF(r.left() + r.width() * 0.35, r.bottom()),
                                 QPointF(r.left() + r.width() * 0.68, r.top() + r.height() * 0.52),
                                 QPointF(r.right(), r.bottom())}));
    } else {
        p.fillRect(r, QColor(0xec, 0xef, 0xf3));
        const qreal s = qMin(r.width(), r.height()) * 0.62;
        const QRectF box(r.center() - QPointF(s / 2, s / 2), QSizeF(s, s));
        p.setBrush(QColor(0x5b, 0x8f, 0xd6));
        p.drawRoundedRect(box, s * 0.15, s * 0.15);
        p.setBrush(QColor(0xa9, 0xc8, 0xf0));
        p.drawRect(QRectF(box.left() + s * 0.2, box.top() + s * 0.2, s * 0.6, s * 0.35));
    }
    p.restore();
    p.setPen(QColor(0x8a, 0xa4, 0xc0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

void bar(QPainter& p, qreal x, qreal y, qreal w, const QColor& c, qreal thick = 2.4)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(x, y - thick / 2, w, thick), thick / 2, thick / 2);
}

// A heading: a coloured tick and a short dark bar.
void heading(QPainter& p, qreal x, qreal y, qreal w)
{
    p.fillRect(QRectF(x, y - 2.5, 2, 5), kBlue);
    bar(p, x + 4, y, w, kTitle, 3);
}

void lines(QPainter& p, const QRectF& r, QRandomGenerator& rng)
{
    textBars(p, r, 5, rng, kText);
}

// Picture beside text, then text across the full width below it.
void pictureBeside(QPainter& p, const QRectF& c, QRandomGenerator& rng, bool pictureLeft)
{
    const QRectF pic(pictureLeft ? c.left() : c.right() - 38, c.top(), 38, 29);
    const QRectF side(pictureLeft ? pic.right() + 4 : c.left(), c.top(), c.width() - 42, 30);
    miniPicture(p, pic);
    lines(p, side, rng);
    lines(p, QRectF(c.left(), pic.bottom() + 3, c.width(), c.bottom() - pic.bottom() - 3), rng);
}

// Rows of a product list: picture, name, and either a price or a description.
void productRows(QPainter& p, const QRectF& c, QRandomGenerator& rng, int rows, bool describe)
{
    const qreal rowH = c.height() / rows;
    const qreal picH = rowH - 4, picW = picH * 4 / 3;
    for (int i = 0; i < rows; ++i) {
        const qreal y = c.top() + i * rowH;
        miniPicture(p, QRectF(c.left(), y + 1, picW, picH), Mini::Goods);
        const qreal x = c.left() + picW + 5, w = c.right() - x;
        if (describe) {
            bar(p, x, y + 3, w * 0.5, kTitle, 2.8);
            lines(p, QRectF(x, y + 6, w, rowH - 7), rng);
        } else {
            bar(p, x, y + rowH * 0.32, w * (0.45 + rng.bounded(0.15)), kTitle);
            bar(p, x, y + rowH * 0.68, w * 0.55, kText, 2);
            bar(p, c.right() - 14, y + rowH * 0.32, 14, kPrice);
        }
        if (i + 1 < rows)
            p.fillRect(QRectF(c.left(), y + rowH - 0.5, c.width(), 1), QColor(0xe1, 0xe6, 0xec));
    }
}

// A grid of pictures with a caption (and, for goods, a price) under each.
void pictureGrid(QPainter& p, const QRectF& c, int cols, int rows, Mini kind)
{
    const qreal gap = 4, w = (c.width() - gap * (cols - 1)) / cols, h = (c.height() - gap * (rows - 1)) / rows;
    const qreal capH = kind == Mini::Goods ? 9 : 5;
    for (int i = 0; i < cols * rows; ++i) {
        const QRectF cell(c.left() + (i % cols) * (w + gap), c.top() + (i / cols) * (h + gap), w, h);
        miniPicture(p, cell.adjusted(0, 0, 0, -capH), kind);
        bar(p, cell.left() + w * 0.15, cell.bottom() - capH + 3, w * 0.7, kTitle, 2);
        if (kind == Mini::Goods)
            bar(p, cell.left() + w * 0.3, cell.bottom() - 2, w * 0.4, kPrice, 2);
    }
}

void pencil(QPainter& p, const QPointF& tip, qreal angle)
{
    p.save();
    p.translate(tip);
    p.rotate(angle);
    p.setPen(QPen(QColor(0x6b, 0x55, 0x2a), 0.8));
    p.setBrush(QColor(0xf3, 0xd9, 0xa4));
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(7, -3), QPointF(7, 3)}));
    p.setBrush(QColor(0xf6, 0xc4, 0x45));
    p.drawRect(QRectF(7, -3, 20, 6));
    p.setBrush(QColor(0xa8, 0xae, 0xb6));
    p.drawRect(QRectF(27, -3, 3, 6));
    p.setBrush(QColor(0xf2, 0x8b, 0xa8));
    p.drawRoundedRect(QRectF(30, -3, 4, 6), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x33, 0x33, 0x33));
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(2.5, -1.1), QPointF(2.5, 1.1)}));
    p.restore();
}

// Each tile: a miniature page with a coloured head and the format's content in `c`.
using TileContent = std::function<void(QPainter&, const QRectF&, QRandomGenerator&)>;

QImage tile(const TileContent& content, quint32 seed)
{
    QImage img(100, 75, QImage::Format_RGB32);
    img.fill(kTileBack);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient head(0, 0, 0, 11);
    head.setColorAt(0, kBlue.lighter(115));
    head.setColorAt(1, kBlue.darker(110));
    p.fillRect(QRectF(0, 0, 100, 11), head);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(7, 5.5), 3, 3);
    for (int i = 0; i < 4; ++i)
        bar(p, 56 + i * 10, 5.5, 7, QColor(0xd6, 0xe6, 0xf8), 1.6);
    QRandomGenerator rng(seed);
    content(p, QRectF(6, 15, 88, 56), rng);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0x8a, 0x9b, 0xb0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, 99, 74);
    return img;
}

void saveGif(AssetWriter& out, const QString& relPath, const QImage& image)
{
    const IndexedImage indexed = quantize(image);
    const QByteArray gif = encodeGif(indexed);
    const QString problem = checkGif(gif, indexed);
    if (!problem.isEmpty())
        throw AssetError(QStringLiteral("GIF written for %1 is broken: %2").arg(relPath, problem));
    out.saveData(relPath, gif);
}

// ---------------------------------------------------------------- cursor

void putWord(QByteArray& b, quint16 v)
{
    b.append(char(v & 0xff));
    b.append(char(v >> 8));
}

void putDword(QByteArray& b, quint32 v)
{
    putWord(b, quint16(v & 0xffff));
    putWord(b, quint16(v >> 16));
}

// A Windows cursor file: one 32-bit image with its AND mask, rows stored bottom up.
QByteArray encodeCursor(const QImage& image, const QPoint& hotspot)
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    const int maskStride = (w + 31) / 32 * 4;
    QByteArray pixels, mask(maskStride * h, 0);
    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row;
        for (int x = 0; x < w; ++x) {
            const QRgb c = img.pixel(x, y);
            pixels.append(char(qBlue(c)));
            pixels.append(char(qGreen(c)));
            pixels.append(char(qRed(c)));
            pixels.append(char(qAlpha(c)));
            if (qAlpha(c) == 0)
                mask[row * maskStride + x / 8] = char(mask[row * maskStride + x / 8] | (0x80 >> (x % 8)));
        }
    }
    QByteArray dib;
    putDword(dib, 40); // BITMAPINFOHEADER
    putDword(dib, quint32(w));
    putDword(dib, quint32(2 * h)); // colour image plus mask
    putWord(dib, 1);
    putWord(dib, 32);
    putDword(dib, 0);
    putDword(dib, quint32(pixels.size() + mask.size()));
    for (int i = 0; i < 4; ++i)
        putDword(dib, 0);
    dib += pixels + mask;

    QByteArray cur;
    putWord(cur, 0);
    putWord(cur, 2); // resource type: cursor
    putWord(cur, 1);
    cur.append(char(w < 256 ? w : 0));
    cur.append(char(h < 256 ? h : 0));
    cur.append(char(0)); // no palette
    cur.append(char(0));
    putWord(cur, quint16(hotspot.x()));
    putWord(cur, quint16(hotspot.y()));
    putDword(cur, quint32(dib.size()));
    putDword(cur, 6 + 16);
    return cur + dib;
}

// A white pointing hand with a black outline; the index fingertip is at (11, 1).
QImage handCursor()
{
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainterPath hand;
    auto add = [&hand](const QPainterPath& part) { hand = hand.united(part); };
    QPainterPath part;
    part.addRoundedRect(QRectF(8.5, 1.5, 6, 17), 3, 3); // index finger
    add(part);
    const qreal knuckles[][3] = {{14.5, 9.5, 4}, {18.5, 10.5, 4}, {22.5, 12.5, 5}};
    for (const auto& k : knuckles) {
        part = QPainterPath();
        part.addRoundedRect(QRectF(k[0], k[1], k[2], 10), 2.2, 2.2);
        add(part);
    }
    part = QPainterPath();
    part.addRoundedRect(QRectF(8.5, 15.5, 19, 11.5), 4, 4); // palm
    add(part);
    part = QPainterPath();
    part.addRect(QRectF(11.5, 24, 13, 6.5)); // wrist
    add(part);
    QTransform thumb;
    thumb.translate(9.5, 21);
    thumb.rotate(-140);
    part = QPainterPath();
    part.addRoundedRect(QRectF(-2.5, -2.5, 11.5, 5), 2.5, 2.5);
    add(thumb.map(part));

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand.simplified());
    p.drawLine(QPointF(14.5, 13.5), QPointF(14.5, 18.5)); // gaps between the folded fingers
    p.drawLine(QPointF(18.5, 14.5), QPointF(18.5, 19.5));
    p.drawLine(QPointF(22.5, 16.5), QPointF(22.5, 20.5));
    p.drawLine(QPointF(11.5, 27.5), QPointF(24.5, 27.5)); // cuff
    return img;
}

} // namespace

void makeChooserImages(AssetWriter& out)
{
    const struct {
        const char* name;
        TileContent content;
    } tiles[] = {
        {"gen01",
         [](QPainter& p, const QRectF& c, QRandomGenerator& rng) {
             bar(p, c.center().x() - 20, c.top() + 3, 40, kTitle, 3.2);
             lines(p, c.adjusted(0, 8, 0, 0), rng);
         }},
        {"gen02",
         [](QPainter& p, const QRectF& c, QRandomGenerator& rng) {
             heading(p, c.left(), c.top() + 3, 26);
             for (int i = 0; i < 6; ++i) {
                 const qreal y = c.top() + 11 + i * 7.6;
                 p.fillRect(QRectF(c.left() + 1, y - 1, 2, 2), kBlue);
                 bar(p, c.left() + 6, y, 42 + rng.bounded(20), kTitle.lighter(140));
                 bar(p, c.right() - 14, y, 14, kOrange, 2);
                 p.fillRect(QRectF(c.left(), y + 3.3, c.width(), 0.8), QColor(0xe3, 0xe8, 0xee));
             }
         }},
        {"gen03", [](QPainter& p, const QRectF& c, QRandomGenerator& rng) { pictureBeside(p, c, rng, true); }},
        {"gen04", [](QPainter& p, const QRectF& c, QRandomGenerator& rng) { pictureBeside(p, c, rng, false); }},
        {"gen05",
         [](QPainter& p, const QRectF& c, QRandomGenerator& rng) {
             const QRectF pic(c.left() + 14, c.top(), c.width() - 28, 30);
             miniPicture(p, pic);
             lines(p, QRectF(c.left(), pic.bottom() + 3, c.width(), c.bottom() - pic.bottom() - 3), rng);
         }},
        {"gen06",
         [](QPainter& p, const QRectF& c, QRandomGenerator&) {
             miniPicture(p, c.adjusted(0, 0, 0, -7));
             bar(p, c.center().x() - 18, c.bottom() - 2.5, 36, kTitle, 2.2);
         }},
        {"gen07", [](QPainter& p, const QRectF& c, QRandomGenerator&) { pictureGrid(p, c, 4, 2, Mini::Landscape); }},
        {"gen08",
         [](QPainter& p, const QRectF& c, QRandomGenerator& rng) {
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(0xfd, 0xe2, 0xc2));
             p.drawRoundedRect(QRectF(c.left(), c.top(), 40, 22), 4, 4);
             bar(p, c.left() + 5, c.top() + 6, 22, kOrange, 2.6);
             lines(p, QRectF(c.left() + 5, c.top() + 9, 31, 12), rng);
             p.setBrush(QColor(0xc9, 0xea, 0xcf));
             p.drawEllipse(QPointF(c.left() + 55, c.top() + 11), 11, 11);
             miniPicture(p, QRectF(c.left() + 70, c.top(), 18, 22));
             p.setPen(QPen(QColor(0x9b, 0x6c, 0xd8), 2.2, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             QPainterPath stroke(QPointF(c.left() + 2, c.bottom() - 6));
             stroke.cubicTo(c.left() + 14, c.bottom() - 22, c.left() + 24, c.bottom() + 4, c.left() + 38,
                            c.bottom() - 12);
             stroke.cubicTo(c.left() + 46, c.bottom() - 20, c.left() + 52, c.bottom() - 6, c.left() + 58,
                            c.bottom() - 9);
             p.drawPath(stroke);
             lines(p, QRectF(c.left(), c.top() + 26, 44, 15), rng);
             pencil(p, QPointF(c.left() + 59, c.bottom() - 9), -38);
         }},
        {"prod01", [](QPainter& p, const QRectF& c, QRandomGenerator& rng) { productRows(p, c, rng, 4, false); }},
        {"prod02", [](QPainter& p, const QRectF& c, QRandomGenerator&) { pictureGrid(p, c, 3, 2, Mini::Goods); }},
        {"prod03", [](QPainter& p, const QRectF& c, QRandomGenerator& rng) { productRows(p, c, rng, 2, true); }},
    };
    quint32 seed = 7;
    for (const auto& t : tiles)
        saveGif(out, QStringLiteral("images/%1.gif").arg(QLatin1String(t.name)), tile(t.content, seed++));
    out.saveData(QStringLiteral("images/H_POINT.CUR"), encodeCursor(handCursor(), QPoint(11, 1)));
}

} // namespace mk
