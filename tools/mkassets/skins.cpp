// The skins of the drawn window frame, close box and push button, and the about window's banner (skin/).
#include "art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <array>
#include <utility>
#include <vector>

namespace mk {
namespace {

using Stops = std::vector<std::pair<qreal, QColor>>;

QLinearGradient vertical(qreal top, qreal bottom, const Stops& stops)
{
    QLinearGradient g(0, top, 0, bottom);
    for (const auto& [at, colour] : stops)
        g.setColorAt(at, colour);
    return g;
}

QImage clear(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void save(AssetWriter& out, const QString& name, const QImage& img)
{
    out.saveImage(QStringLiteral("skin/") + name, img.convertToFormat(QImage::Format_ARGB32), "PNG");
}

// ---------------------------------------------------------------- frame

// One look of the frame: title body, outline and the four edge columns from the outside in.
struct FrameLook {
    QString name;
    Stops title;
    QColor outline;
    int gloss; // alpha of the highlight over the upper title
    std::array<QColor, 4> edge;
};

constexpr int kTitleW = 64, kTitleH = 28, kRadius = 7, kEdge = 4;

// The title: rounded top corners, a glossy upper half, a light rim under the outline
// and a darker seam at the bottom where the client area begins.
QImage title(const FrameLook& look)
{
    QImage img = clear(kTitleW, kTitleH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    const QRectF r(0, 0, kTitleW, kTitleH + kRadius);
    shape.addRoundedRect(r, kRadius, kRadius);
    QPainterPath clip;
    clip.addRect(0, 0, kTitleW, kTitleH);
    shape = shape.intersected(clip);

    p.fillPath(shape, vertical(0, kTitleH, look.title));
    QPainterPath upper;
    upper.addRect(0, 0, kTitleW, kTitleH * 0.45);
    p.fillPath(shape.intersected(upper),
               vertical(0, kTitleH * 0.45,
                        {{0, withAlpha(Qt::white, look.gloss)}, {1, withAlpha(Qt::white, look.gloss / 4)}}));
    // Light rim inside the outline, brightest along the top.
    QPainterPath rim;
    rim.addRoundedRect(QRectF(1.5, 1.5, kTitleW - 3, kTitleH + kRadius), kRadius - 1.5, kRadius - 1.5);
    p.setPen(
        QPen(vertical(0, kTitleH,
                      {{0, withAlpha(Qt::white, 170)}, {0.5, withAlpha(Qt::white, 40)}, {1, withAlpha(Qt::white, 0)}}),
             1));
    p.setClipPath(shape);
    p.drawPath(rim);
    p.setClipping(false);
    p.setPen(QPen(look.outline, 1));
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0.5, 0.5, kTitleW - 1, kTitleH + kRadius), kRadius - 0.5, kRadius - 0.5);
    p.setClipRect(0, 0, kTitleW, kTitleH);
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
    p.setClipping(false);
    // The seam above the client area.
    p.fillRect(QRectF(kEdge - 1, kTitleH - 1, kTitleW - 2 * (kEdge - 1), 1), look.edge[3]);
    return img;
}

// A side edge, outside on the left; the frame mirrors it for the right.
QImage side(const FrameLook& look)
{
    QImage img(kEdge, 8, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < kEdge; ++x)
        for (int y = 0; y < img.height(); ++y)
            img.setPixelColor(x, y, look.edge[x]);
    return img;
}

// The bottom edge, outside at the bottom; its ends turn the corners of the side edges.
QImage bottom(const FrameLook& look)
{
    const int w = 16;
    QImage img(w, kEdge, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < kEdge; ++y) {
            const int fromBottom = kEdge - 1 - y;
            const int fromSide = qMin(x, w - 1 - x);
            img.setPixelColor(x, y, look.edge[qMin(fromBottom, fromSide)]);
        }
    }
    return img;
}

QImage grip()
{
    QImage img = clear(13, 13);
    const QPoint dots[] = {{10, 2}, {6, 6}, {10, 6}, {2, 10}, {6, 10}, {10, 10}};
    for (const QPoint& d : dots) {
        for (int dx = 0; dx < 2; ++dx) {
            for (int dy = 0; dy < 2; ++dy) {
                img.setPixelColor(d.x() + dx + 1, d.y() + dy + 1, QColor(255, 255, 255));
                img.setPixelColor(d.x() + dx, d.y() + dy, QColor(134, 160, 196));
            }
        }
    }
    return img;
}

// The program's emblem at any size: a glossy blue orb with a web globe and a white lark.
QImage emblem(int size)
{
    QImage img = clear(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 64.0;
    const QPointF c(32 * s, 32 * s);
    QRadialGradient orb(c - QPointF(10 * s, 12 * s), 44 * s);
    orb.setColorAt(0, QColor(120, 196, 255));
    orb.setColorAt(0.55, QColor(20, 110, 220));
    orb.setColorAt(1, QColor(6, 56, 150));
    p.setPen(QPen(QColor(4, 40, 120), 1.5 * s));
    p.setBrush(orb);
    p.drawEllipse(c, 29.5 * s, 29.5 * s);
    drawGlobe(p, c, 24 * s, 120);
    QTransform place;
    place.translate(c.x() + 3 * s, c.y() + 6 * s);
    place.rotate(-14);
    place.scale(24 * s, 24 * s);
    const QPainterPath lark = place.map(larkPath());
    p.setPen(Qt::NoPen);
    p.fillPath(lark.translated(1.2 * s, 1.6 * s), QColor(0, 20, 70, 120));
    p.fillPath(lark, Qt::white);
    QRadialGradient shine(c - QPointF(8 * s, 16 * s), 22 * s);
    shine.setColorAt(0, QColor(255, 255, 255, 150));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.drawEllipse(c - QPointF(6 * s, 12 * s), 20 * s, 13 * s);
    return img;
}

// ---------------------------------------------------------------- close box

constexpr int kBox = 17;

struct BoxLook {
    QColor top, bottom, cross;
};

void boxCell(QPainter& p, int index, const BoxLook& look)
{
    p.save();
    p.translate(index * kBox, 0);
    const QRectF r(0.5, 0.5, kBox - 1, kBox - 1);
    p.setPen(QPen(withAlpha(Qt::white, 235), 1));
    p.setBrush(vertical(0, kBox, {{0, look.top}, {1, look.bottom}}));
    p.drawRoundedRect(r, 3, 3);
    QPainterPath gloss;
    gloss.addRoundedRect(QRectF(2, 2, kBox - 4, 6), 2, 2);
    p.fillPath(gloss, vertical(2, 8, {{0, withAlpha(Qt::white, 110)}, {1, withAlpha(Qt::white, 10)}}));
    QPen x(QColor(0, 0, 0, 70), 2.2, Qt::SolidLine, Qt::RoundCap);
    for (int pass = 0; pass < 2; ++pass) {
        const QPointF o = pass ? QPointF() : QPointF(0.6, 0.8);
        p.setPen(x);
        p.drawLine(QPointF(5.2, 5.2) + o, QPointF(11.8, 11.8) + o);
        p.drawLine(QPointF(11.8, 5.2) + o, QPointF(5.2, 11.8) + o);
        x.setColor(look.cross);
    }
    p.restore();
}

QImage closeBoxStrip()
{
    const BoxLook looks[] = {
        {QColor(240, 140, 106), QColor(200, 62, 24), Qt::white},               // normal
        {QColor(255, 178, 140), QColor(228, 90, 44), Qt::white},               // hot
        {QColor(168, 50, 16), QColor(214, 96, 56), QColor(250, 226, 216)},     // pressed
        {QColor(196, 210, 242), QColor(150, 172, 228), QColor(236, 242, 252)}, // inactive
        {QColor(240, 156, 124), QColor(206, 78, 40), Qt::white},               // inactive, hot
        {QColor(168, 50, 16), QColor(214, 96, 56), QColor(250, 226, 216)},     // inactive, pressed
    };
    QImage img = clear(kBox * 6, kBox);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 6; ++i)
        boxCell(p, i, looks[i]);
    return img;
}

// ---------------------------------------------------------------- push button

constexpr int kBtnW = 55, kBtnH = 22;

struct ButtonLook {
    QColor border;
    Stops face;
    Stops inner; // the coloured rim inside the border; empty for none
};

void buttonCell(QPainter& p, int index, const ButtonLook& look)
{
    p.save();
    p.translate(index * kBtnW, 0);
    const QRectF outer(0.5, 0.5, kBtnW - 1, kBtnH - 1);
    p.setPen(QPen(look.border, 1));
    p.setBrush(vertical(0, kBtnH, look.face));
    p.drawRoundedRect(outer, 3, 3);
    if (!look.inner.empty()) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(vertical(1, kBtnH - 1, look.inner), 2));
        p.drawRoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
    }
    // A soft shade along the lower edge gives the face its roundness.
    p.fillRect(QRectF(2, kBtnH - 4, kBtnW - 4, 2), QColor(0, 0, 0, index == 2 ? 0 : 14));
    p.restore();
}

QImage buttonStrip()
{
    const ButtonLook looks[] = {
        {QColor(0, 60, 116),
         {{0, QColor(255, 255, 255)}, {0.6, QColor(240, 240, 234)}, {1, QColor(214, 208, 197)}},
         {}},
        {QColor(0, 60, 116),
         {{0, QColor(255, 255, 255)}, {0.6, QColor(244, 244, 240)}, {1, QColor(222, 218, 206)}},
         {{0, QColor(255, 240, 207)}, {0.5, QColor(253, 216, 137)}, {1, QColor(248, 179, 48)}}},
        {QColor(0, 60, 116),
         {{0, QColor(209, 204, 193)}, {0.25, QColor(226, 225, 218)}, {1, QColor(246, 246, 242)}},
         {}},
        {QColor(0, 60, 116),
         {{0, QColor(255, 255, 255)}, {0.6, QColor(240, 240, 234)}, {1, QColor(214, 208, 197)}},
         {{0, QColor(206, 231, 255)}, {0.5, QColor(188, 212, 246)}, {1, QColor(105, 130, 238)}}},
        {QColor(201, 199, 186), {{0, QColor(245, 244, 234)}, {1, QColor(245, 244, 234)}}, {}},
    };
    QImage img = clear(kBtnW * 5, kBtnH);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 5; ++i)
        buttonCell(p, i, looks[i]);
    return img;
}

// ---------------------------------------------------------------- about banner

QImage aboutBanner()
{
    const int w = 120, h = 218;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(),
               vertical(0, h, {{0, QColor(12, 59, 140)}, {0.6, QColor(23, 116, 204)}, {1, QColor(42, 178, 214)}}));
    QRadialGradient light(w * 0.8, 10, 150);
    light.setColorAt(0, QColor(255, 255, 255, 60));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(img.rect(), light);
    drawGlobe(p, QPointF(w + 10, h + 6), 110, 26);
    p.drawImage(QRectF(22, 34, 76, 76), emblem(152));

    QFont big = cjkFont(Face::Sans, 21, QFont::Bold);
    const QPainterPath word = centredTextPath(QStringLiteral("Weblark"), big, QPointF(w / 2.0, 138));
    p.fillPath(word.translated(1, 1.5), QColor(0, 20, 60, 110));
    p.fillPath(word, Qt::white);
    p.fillRect(QRectF(w / 2.0 - 22, 154, 44, 2), QColor(0xff, 0xb3, 0x47));
    p.setFont(cjkFont(Face::Sans, 12));
    p.setPen(QColor(255, 255, 255, 230));
    p.drawText(QRectF(0, 162, w, 20), Qt::AlignCenter, QStringLiteral("自动建站软件"));
    // The right edge fades into the window face.
    p.fillRect(QRectF(w - 1, 0, 1, h), QColor(255, 255, 255, 90));
    return img;
}

} // namespace

void makeSkins(AssetWriter& out)
{
    const FrameLook looks[] = {
        {QStringLiteral("active"),
         {{0, QColor(61, 149, 255)},
          {0.1, QColor(30, 122, 255)},
          {0.22, QColor(6, 98, 248)},
          {0.5, QColor(0, 84, 234)},
          {0.8, QColor(0, 78, 226)},
          {1, QColor(0, 62, 200)}},
         QColor(0, 25, 160),
         120,
         {QColor(0, 25, 160), QColor(22, 106, 238), QColor(0, 84, 227), QColor(0, 56, 196)}},
        {QStringLiteral("inactive"),
         {{0, QColor(176, 198, 242)},
          {0.2, QColor(157, 185, 235)},
          {0.6, QColor(134, 162, 228)},
          {1, QColor(118, 146, 218)}},
         QColor(104, 126, 196),
         90,
         {QColor(104, 126, 196), QColor(170, 190, 238), QColor(140, 164, 228), QColor(118, 142, 210)}},
    };
    for (const FrameLook& look : looks) {
        save(out, QStringLiteral("xp_title_%1.png").arg(look.name), title(look));
        save(out, QStringLiteral("xp_side_%1.png").arg(look.name), side(look));
        save(out, QStringLiteral("xp_bottom_%1.png").arg(look.name), bottom(look));
    }
    save(out, QStringLiteral("xp_grip.png"), grip());
    save(out, QStringLiteral("xp_icon.png"),
         emblem(64).scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    save(out, QStringLiteral("windowBox.png"), closeBoxStrip());
    save(out, QStringLiteral("cmdBtn.png"), buttonStrip());
    save(out, QStringLiteral("about_logo.png"), aboutBanner());
}

// The program's icon for the desktop's menus and launchers, in the hicolor theme's usual sizes;
// each size is drawn on its own, so the small ones stay sharp.
void makeIcons(AssetWriter& out)
{
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        out.saveImage(QStringLiteral("hicolor/%1x%1/apps/weblark.png").arg(size),
                      emblem(size).convertToFormat(QImage::Format_ARGB32), "PNG");
}

} // namespace mk
