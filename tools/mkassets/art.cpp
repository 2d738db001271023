#include "art.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QSaveFile>
#include <QtMath>

namespace mk {

// ---------------------------------------------------------------- output

AssetWriter::AssetWriter(const QString& root) : m_root(QDir(root).absolutePath()) {}

QString AssetWriter::prepare(const QString& relPath)
{
    const QString path = m_root + QLatin1Char('/') + relPath;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw AssetError(QStringLiteral("cannot create folder %1").arg(folder));
    return path;
}

void AssetWriter::saveImage(const QString& relPath, const QImage& image, const char* format, int quality)
{
    const QString path = prepare(relPath);
    QImageWriter writer(path, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image))
        throw AssetError(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
    m_written << relPath;
}

void AssetWriter::saveData(const QString& relPath, const QByteArray& data)
{
    const QString path = prepare(relPath);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw AssetError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    m_written << relPath;
}

// ---------------------------------------------------------------- basics

QColor mix(const QColor& a, const QColor& b, qreal t)
{
    auto lerp = [t](int x, int y) { return qRound(x + (y - x) * t); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

QPainterPath starPath(const QPointF& centre, qreal outer, qreal inner, int points, qreal rotationDeg)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const qreal a = qDegreesToRadians(rotationDeg + i * 180.0 / points);
        const qreal r = (i % 2) ? inner : outer;
        const QPointF pt = centre + QPointF(r * qCos(a), r * qSin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

QPainterPath centredTextPath(const QString& text, const QFont& font, const QPointF& centre)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path.translated(centre - path.boundingRect().center());
}

void textBars(QPainter& p, const QRectF& area, qreal rowHeight, QRandomGenerator& rng, const QColor& colour)
{
    const qreal thick = qMax<qreal>(1.5, rowHeight * 0.42);
    const int rows = int(area.height() / rowHeight);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    int left = 0; // rows left in the current paragraph
    for (int r = 0; r < rows; ++r) {
        const bool first = left == 0;
        if (first)
            left = 3 + rng.bounded(3);
        --left;
        const bool last = left == 0 || r == rows - 1;
        const qreal indent = first ? rowHeight * 1.6 : 0;
        const qreal share = last ? 0.3 + rng.bounded(0.4) : 0.94 + rng.bounded(0.06);
        const qreal width = (area.width() - indent) * share;
        const qreal y = area.top() + r * rowHeight + (rowHeight - thick) / 2;
        p.drawRoundedRect(QRectF(area.left() + indent, y, width, thick), thick / 2, thick / 2);
    }
    p.restore();
}

QImage thumbnail(const QImage& full, const QSize& size)
{
    QImage thumb =
        full.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    QPainter p(&thumb);
    p.setPen(QColor(0x99, 0x99, 0x99));
    p.drawRect(0, 0, thumb.width() - 1, thumb.height() - 1);
    return thumb;
}

// ---------------------------------------------------------------- emblems

static void starEmblem(QPainter& p, const QPointF& c, qreal r, const QColor& main, const QColor& accent)
{
    QRadialGradient disc(c - QPointF(r * 0.3, r * 0.3), r * 1.4);
    disc.setColorAt(0, main.lighter(135));
    disc.setColorAt(1, main.darker(120));
    p.setBrush(disc);
    p.setPen(QPen(accent, r * 0.09));
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(accent, r * 0.03));
    p.drawEllipse(c, r * 0.84, r * 0.84);

    // A laurel of small leaves up both sides.
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < 7; ++i) {
            const qreal deg = 105 + i * 19;
            const qreal a = qDegreesToRadians(side ? 180 - deg : deg);
            p.save();
            p.translate(c + QPointF(r * 0.66 * qCos(a), r * 0.66 * qSin(a)));
            p.rotate(qRadiansToDegrees(a) + 90 + (side ? -25 : 25));
            p.drawEllipse(QPointF(0, 0), r * 0.15, r * 0.065);
            p.restore();
        }
    }
    QLinearGradient gold(c.x(), c.y() - r * 0.45, c.x(), c.y() + r * 0.3);
    gold.setColorAt(0, accent.lighter(130));
    gold.setColorAt(1, accent.darker(110));
    p.setBrush(gold);
    p.drawPath(starPath(c - QPointF(0, r * 0.05), r * 0.44, r * 0.18));
}

static void orbitEmblem(QPainter& p, const QPointF& c, qreal r, const QColor& main, const QColor& accent)
{
    QRadialGradient ball(c - QPointF(r * 0.25, r * 0.25), r * 0.9);
    ball.setColorAt(0, Qt::white);
    ball.setColorAt(0.35, accent.lighter(115));
    ball.setColorAt(1, accent.darker(140));
    p.setPen(QPen(withAlpha(Qt::white, 200), r * 0.05));
    p.setBrush(ball);
    p.drawEllipse(c, r * 0.6, r * 0.6);
    p.save();
    p.translate(c);
    p.rotate(-28);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, r * 0.11, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(-r, -r * 0.38, 2 * r, r * 0.76), 200 * 16, 320 * 16);
    p.setPen(QPen(Qt::white, r * 0.05));
    p.setBrush(main);
    p.drawEllipse(QPointF(r * qCos(qDegreesToRadians(-30.0)), -r * 0.38 * qSin(qDegreesToRadians(-30.0))), r * 0.15,
                  r * 0.15);
    p.restore();
}

static void shieldEmblem(QPainter& p, const QPointF& c, qreal r, const QColor& main, const QColor& accent)
{
    QPainterPath shield;
    shield.moveTo(c.x() - r * 0.82, c.y() - r * 0.9);
    shield.quadTo(c.x(), c.y() - r * 1.1, c.x() + r * 0.82, c.y() - r * 0.9);
    shield.lineTo(c.x() + r * 0.82, c.y() + r * 0.05);
    shield.quadTo(c.x() + r * 0.78, c.y() + r * 0.7, c.x(), c.y() + r);
    shield.quadTo(c.x() - r * 0.78, c.y() + r * 0.7, c.x() - r * 0.82, c.y() + r * 0.05);
    shield.closeSubpath();
    QLinearGradient fill(c.x(), c.y() - r, c.x(), c.y() + r);
    fill.setColorAt(0, main.lighter(140));
    fill.setColorAt(1, main.darker(115));
    p.setBrush(fill);
    p.setPen(QPen(accent, r * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(shield);

    // An open book with a star over it.
    p.setPen(QPen(main.darker(130), r * 0.03));
    p.setBrush(Qt::white);
    for (int side : {-1, 1}) {
        QPolygonF page;
        page << QPointF(c.x(), c.y() + r * 0.02) << QPointF(c.x() + side * r * 0.52, c.y() - r * 0.1)
             << QPointF(c.x() + side * r * 0.52, c.y() + r * 0.38) << QPointF(c.x(), c.y() + r * 0.5);
        p.drawPolygon(page);
        for (int line = 1; line <= 3; ++line) {
            const qreal t = line * 0.11;
            p.drawLine(QPointF(c.x() + side * r * 0.1, c.y() + r * (t + 0.0)),
                       QPointF(c.x() + side * r * 0.42, c.y() + r * (t - 0.07)));
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawPath(starPath(c - QPointF(0, r * 0.5), r * 0.24, r * 0.1));
}

static void crossEmblem(QPainter& p, const QPointF& c, qreal r, const QColor& main, const QColor& accent)
{
    p.setPen(QPen(accent, r * 0.08));
    p.setBrush(Qt::white);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(main, r * 0.04));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.86, r * 0.86);
    const qreal arm = r * 0.2;
    const qreal len = r * 0.6;
    QPainterPath cross;
    cross.setFillRule(Qt::WindingFill);
    cross.addRoundedRect(QRectF(c.x() - arm, c.y() - len, 2 * arm, 2 * len), arm * 0.3, arm * 0.3);
    cross.addRoundedRect(QRectF(c.x() - len, c.y() - arm, 2 * len, 2 * arm), arm * 0.3, arm * 0.3);
    QLinearGradient fill(c.x(), c.y() - len, c.x(), c.y() + len);
    fill.setColorAt(0, main.lighter(125));
    fill.setColorAt(1, main.darker(110));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(cross.simplified());
}

void drawEmblem(QPainter& p, const QPointF& centre, qreal radius, Emblem kind, const QColor& main, const QColor& accent)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case Emblem::Star:
        starEmblem(p, centre, radius, main, accent);
        break;
    case Emblem::Orbit:
        orbitEmblem(p, centre, radius, main, accent);
        break;
    case Emblem::Shield:
        shieldEmblem(p, centre, radius, main, accent);
        break;
    case Emblem::Cross:
        crossEmblem(p, centre, radius, main, accent);
        break;
    }
    p.restore();
}

// ---------------------------------------------------------------- photographs

// A ridge of hills across the picture, filled down to the bottom edge.
static QPainterPath ridge(qreal w, qreal h, qreal base, qreal amplitude, int peaks, QRandomGenerator& rng)
{
    QPainterPath path(QPointF(0, h));
    QPointF prev(0, base - amplitude * rng.bounded(1.0));
    path.lineTo(prev);
    for (int i = 1; i <= peaks; ++i) {
        const QPointF next(w * i / peaks, base - amplitude * rng.bounded(1.0));
        path.quadTo(QPointF((prev.x() + next.x()) / 2, qMin(prev.y(), next.y()) - amplitude * 0.5), next);
        prev = next;
    }
    path.lineTo(w, h);
    path.closeSubpath();
    return path;
}

static void scenery(QPainter& p, qreal w, qreal h, quint32 seed)
{
    struct Tone {
        QRgb top, bottom, sun, far, near, ground;
    };
    static const Tone tones[] = {
        {0x4f8fd0, 0xcfe6f7, 0xfff6c8, 0x8fb3c4, 0x5e9a64, 0x78b25c},
        {0xe98a55, 0xfddcae, 0xfff3cf, 0xb08a8f, 0x6f6f5d, 0x8e8a5a},
        {0x74c3e3, 0xeaf7fc, 0xffffff, 0x9fcfb0, 0x4e9f62, 0x86c56e},
    };
    const Tone& t = tones[seed % 3];
    QRandomGenerator rng(seed);
    QLinearGradient sky(0, 0, 0, h * 0.75);
    sky.setColorAt(0, QColor(t.top));
    sky.setColorAt(1, QColor(t.bottom));
    p.fillRect(QRectF(0, 0, w, h), sky);

    const QPointF sun(w * (0.2 + rng.bounded(0.6)), h * (0.16 + rng.bounded(0.12)));
    QRadialGradient glow(sun, h * 0.4);
    glow.setColorAt(0, withAlpha(QColor(t.sun), 230));
    glow.setColorAt(0.2, withAlpha(QColor(t.sun), 120));
    glow.setColorAt(1, withAlpha(QColor(t.sun), 0));
    p.fillRect(QRectF(0, 0, w, h), glow);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::white, 150));
    for (int i = 0; i < 2; ++i) {
        const QPointF c(w * rng.bounded(1.0), h * (0.1 + rng.bounded(0.2)));
        p.drawEllipse(c, w * 0.12, h * 0.035);
        p.drawEllipse(c + QPointF(w * 0.05, -h * 0.025), w * 0.07, h * 0.04);
    }
    p.setBrush(QColor(t.far));
    p.drawPath(ridge(w, h, h * 0.6, h * 0.18, 6, rng));
    p.setBrush(QColor(t.near));
    p.drawPath(ridge(w, h, h * 0.74, h * 0.1, 4, rng));

    if (seed & 1) { // a building in the middle distance
        const QRectF body(w * (0.3 + rng.bounded(0.25)), h * 0.5, w * 0.3, h * 0.32);
        p.setBrush(QColor(0xeeeeea));
        p.drawRect(body);
        p.setBrush(QColor(0x9a4a3a));
        p.drawRect(QRectF(body.left() - w * 0.01, body.top() - h * 0.03, body.width() + w * 0.02, h * 0.035));
        p.setBrush(QColor(0x7f9cb8));
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 6; ++col)
                p.drawRect(QRectF(body.left() + body.width() * (0.06 + col * 0.155),
                                  body.top() + body.height() * (0.12 + row * 0.28), body.width() * 0.09,
                                  body.height() * 0.16));
    }
    QLinearGradient ground(0, h * 0.8, 0, h);
    ground.setColorAt(0, QColor(t.ground));
    ground.setColorAt(1, QColor(t.ground).darker(125));
    p.fillRect(QRectF(0, h * 0.82, w, h * 0.18), ground);
    for (int i = 0; i < 4; ++i) {
        const qreal x = w * (0.05 + 0.9 * rng.bounded(1.0));
        const qreal s = h * (0.07 + rng.bounded(0.05));
        p.setBrush(QColor(0x6b4e32));
        p.drawRect(QRectF(x - s * 0.08, h * 0.84 - s * 0.6, s * 0.16, s * 0.7));
        p.setBrush(QColor(t.near).darker(125));
        p.drawEllipse(QPointF(x, h * 0.84 - s * 0.9), s * 0.5, s * 0.6);
    }
}

static void product(QPainter& p, qreal w, qreal h, quint32 seed)
{
    static const QRgb bodies[] = {0x2f6fb5, 0xd0543a, 0x3a9a6a, 0x8a5cb8};
    const QColor body(bodies[seed % 4]);
    QRadialGradient studio(w * 0.5, h * 0.35, w * 0.8);
    studio.setColorAt(0, Qt::white);
    studio.setColorAt(1, QColor(0xd9dee5));
    p.fillRect(QRectF(0, 0, w, h), studio);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 45));
    p.drawEllipse(QPointF(w * 0.5, h * 0.86), w * 0.3, h * 0.05);

    switch ((seed / 4) % 3) {
    case 0: { // a device with a screen
        const QRectF box(w * 0.22, h * 0.18, w * 0.56, h * 0.5);
        p.setBrush(QColor(0x37474f));
        p.drawRoundedRect(box, w * 0.03, w * 0.03);
        QLinearGradient screen(box.topLeft(), box.bottomRight());
        screen.setColorAt(0, body.lighter(160));
        screen.setColorAt(1, body);
        p.setBrush(screen);
        p.drawRect(box.adjusted(w * 0.03, w * 0.03, -w * 0.03, -w * 0.03));
        p.setBrush(QColor(0x546e7a));
        p.drawRect(QRectF(w * 0.46, box.bottom(), w * 0.08, h * 0.12));
        p.drawRoundedRect(QRectF(w * 0.34, h * 0.79, w * 0.32, h * 0.05), 2, 2);
        break;
    }
    case 1: { // a bottle
        const QRectF can(w * 0.38, h * 0.3, w * 0.24, h * 0.54);
        QLinearGradient shade(can.left(), 0, can.right(), 0);
        shade.setColorAt(0, body.darker(130));
        shade.setColorAt(0.35, body.lighter(150));
        shade.setColorAt(1, body.darker(150));
        p.setBrush(shade);
        p.drawRoundedRect(can, w * 0.04, w * 0.04);
        p.drawRect(QRectF(w * 0.44, h * 0.16, w * 0.12, h * 0.16));
        p.setBrush(QColor(0xf4f4f4));
        p.drawRect(QRectF(can.left(), h * 0.48, can.width(), h * 0.16));
        p.setBrush(QColor(0x444444));
        p.drawRoundedRect(QRectF(w * 0.43, h * 0.1, w * 0.14, h * 0.07), 2, 2);
        break;
    }
    default: { // a packed box seen from above one corner
        const qreal s = qMin(w, h) * 0.42;
        const QPointF c(w * 0.5, h * 0.5);
        const QPointF top(c.x(), c.y() - s * 0.55), left(c.x() - s * 0.8, c.y() - s * 0.15),
            right(c.x() + s * 0.8, c.y() - s * 0.15), mid(c.x(), c.y() + s * 0.25);
        const QPointF down(0, s * 0.75);
        p.setBrush(body.lighter(130));
        p.drawPolygon(QPolygonF({top, right, mid, left}));
        p.setBrush(body);
        p.drawPolygon(QPolygonF({left, mid, mid + down, left + down}));
        p.setBrush(body.darker(130));
        p.drawPolygon(QPolygonF({mid, right, right + down, mid + down}));
        p.setBrush(withAlpha(Qt::white, 170));
        p.drawPolygon(
            QPolygonF({(top + left) / 2, (top + left) / 2 + QPointF(s * 0.18, s * 0.1),
                       (right + mid) / 2 + QPointF(-s * 0.18, -s * 0.1) + QPointF(0, s * 0.02), (right + mid) / 2}));
        break;
    }
    }
}

static void portrait(QPainter& p, qreal w, qreal h, quint32 seed)
{
    QLinearGradient bg(0, 0, 0, h);
    bg.setColorAt(0, QColor(0xdcebf7));
    bg.setColorAt(1, QColor(0xf6fbff));
    p.fillRect(QRectF(0, 0, w, h), bg);
    const qreal s = qMin(w, h);
    const QPointF head(w * 0.5, h * 0.4);
    p.setPen(Qt::NoPen);
    // White coat over the shoulders, a coloured collar in the neck.
    QPainterPath coat;
    coat.moveTo(w * 0.5 - s * 0.62, h);
    coat.cubicTo(w * 0.5 - s * 0.6, h * 0.7, w * 0.5 - s * 0.3, h * 0.66, w * 0.5, h * 0.66);
    coat.cubicTo(w * 0.5 + s * 0.3, h * 0.66, w * 0.5 + s * 0.6, h * 0.7, w * 0.5 + s * 0.62, h);
    coat.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(coat);
    p.setBrush(QColor(seed % 2 ? 0x5b8fc7 : 0x5fae9a));
    p.drawPolygon(QPolygonF(
        {QPointF(w * 0.5 - s * 0.12, h * 0.66), QPointF(w * 0.5 + s * 0.12, h * 0.66), QPointF(w * 0.5, h * 0.86)}));
    p.setBrush(QColor(0xeec39f));
    p.drawRect(QRectF(w * 0.5 - s * 0.07, h * 0.52, s * 0.14, h * 0.14));
    p.drawEllipse(head, s * 0.17, s * 0.2);
    p.setBrush(QColor(seed % 3 ? 0x2b2522 : 0x55483f));
    QPainterPath hair;
    hair.moveTo(head + QPointF(-s * 0.18, s * 0.02));
    hair.cubicTo(head + QPointF(-s * 0.2, -s * 0.3), head + QPointF(s * 0.2, -s * 0.3),
                 head + QPointF(s * 0.18, s * 0.02));
    hair.quadTo(head + QPointF(s * 0.1, -s * 0.12), head + QPointF(-s * 0.05, -s * 0.1));
    hair.quadTo(head + QPointF(-s * 0.14, -s * 0.06), head + QPointF(-s * 0.18, s * 0.02));
    p.drawPath(hair);
    p.setPen(QPen(QColor(0x9aa7b4), s * 0.025));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(w * 0.5 + s * 0.05, h * 0.72, s * 0.16, s * 0.16), 0, -180 * 16); // stethoscope
}

void drawPhoto(QPainter& p, const QRectF& rect, Photo kind, quint32 seed)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(rect);
    p.translate(rect.topLeft());
    switch (kind) {
    case Photo::Scenery:
        scenery(p, rect.width(), rect.height(), seed);
        break;
    case Photo::Product:
        product(p, rect.width(), rect.height(), seed);
        break;
    case Photo::Portrait:
        portrait(p, rect.width(), rect.height(), seed);
        break;
    }
    p.restore();
}

// ---------------------------------------------------------------- glyphs

void drawGlyph(QPainter& p, const QRectF& box, Glyph glyph, const QColor& colour)
{
    const qreal s = qMin(box.width(), box.height());
    const QRectF b(box.center() - QPointF(s / 2, s / 2), QSizeF(s, s));
    auto at = [&b, s](qreal x, qreal y) { return b.topLeft() + QPointF(x * s, y * s); };
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, s * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Document:
        p.drawPolygon(QPolygonF({at(0.2, 0.08), at(0.62, 0.08), at(0.82, 0.28), at(0.82, 0.92), at(0.2, 0.92)}));
        for (int i = 0; i < 3; ++i)
            p.drawLine(at(0.34, 0.45 + i * 0.15), at(0.68, 0.45 + i * 0.15));
        break;
    case Glyph::Person:
        p.drawEllipse(at(0.5, 0.3), s * 0.17, s * 0.17);
        p.drawArc(QRectF(at(0.16, 0.56), QSizeF(s * 0.68, s * 0.7)), 0, 180 * 16);
        break;
    case Glyph::Mail:
        p.drawRect(QRectF(at(0.1, 0.22), QSizeF(s * 0.8, s * 0.56)));
        p.drawPolyline(QPolygonF({at(0.1, 0.24), at(0.5, 0.55), at(0.9, 0.24)}));
        break;
    case Glyph::Search:
        p.drawEllipse(at(0.42, 0.42), s * 0.26, s * 0.26);
        p.setPen(QPen(colour, s * 0.14, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at(0.62, 0.62), at(0.86, 0.86));
        break;
    case Glyph::Building:
        p.drawPolygon(QPolygonF({at(0.08, 0.36), at(0.5, 0.1), at(0.92, 0.36)}));
        for (int i = 0; i < 4; ++i)
            p.drawLine(at(0.2 + i * 0.2, 0.44), at(0.2 + i * 0.2, 0.78));
        p.drawLine(at(0.08, 0.88), at(0.92, 0.88));
        break;
    case Glyph::Calendar:
        p.drawRoundedRect(QRectF(at(0.1, 0.18), QSizeF(s * 0.8, s * 0.72)), s * 0.06, s * 0.06);
        p.drawLine(at(0.1, 0.38), at(0.9, 0.38));
        p.drawLine(at(0.32, 0.08), at(0.32, 0.26));
        p.drawLine(at(0.68, 0.08), at(0.68, 0.26));
        p.setBrush(colour);
        for (int i = 0; i < 6; ++i)
            p.drawEllipse(at(0.28 + (i % 3) * 0.22, 0.55 + (i / 3) * 0.2), s * 0.03, s * 0.03);
        break;
    case Glyph::Book:
        p.drawPolygon(
            QPolygonF({at(0.5, 0.3), at(0.08, 0.2), at(0.08, 0.8), at(0.5, 0.9), at(0.92, 0.8), at(0.92, 0.2)}));
        p.drawLine(at(0.5, 0.3), at(0.5, 0.9));
        break;
    case Glyph::Heart: {
        QPainterPath heart(at(0.5, 0.86));
        heart.cubicTo(at(0.0, 0.5), at(0.12, 0.08), at(0.5, 0.3));
        heart.cubicTo(at(0.88, 0.08), at(1.0, 0.5), at(0.5, 0.86));
        p.drawPath(heart);
        break;
    }
    }
    p.restore();
}

} // namespace mk
