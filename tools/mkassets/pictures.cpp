// Name styles (fonts/), sample page backgrounds (backGround/) and the start-up picture.
#include "art.h"
#include "site/NameLettering.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

#include <cmath>
#include <functional>
#include <vector>

#ifndef WEBLARK_VERSION
#define WEBLARK_VERSION "3.05"
#endif

namespace mk {
namespace {

// ---------------------------------------------------------------- backgrounds

constexpr int kTile = 256;

// Smooth value noise on a lattice that wraps at the picture edges, so the picture tiles.
class TileNoise {
public:
    TileNoise(int cells, quint32 seed) : m_cells(cells), m_values(size_t(cells * cells))
    {
        QRandomGenerator rng(seed);
        for (double& v : m_values)
            v = rng.generateDouble();
    }
    // u and v in pixels of the 256x256 tile.
    double at(double u, double v) const
    {
        const double x = u * m_cells / kTile, y = v * m_cells / kTile;
        const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
        auto smooth = [](double t) { return t * t * (3 - 2 * t); };
        const double fx = smooth(x - x0), fy = smooth(y - y0);
        auto g = [this](int i, int j) {
            return m_values[size_t(((j % m_cells + m_cells) % m_cells) * m_cells + (i % m_cells + m_cells) % m_cells)];
        };
        const double top = g(x0, y0) + (g(x0 + 1, y0) - g(x0, y0)) * fx;
        const double bottom = g(x0, y0 + 1) + (g(x0 + 1, y0 + 1) - g(x0, y0 + 1)) * fx;
        return top + (bottom - top) * fy;
    }

private:
    int m_cells;
    std::vector<double> m_values;
};

// Several octaves of TileNoise, in 0..1.
double turbulence(const std::vector<TileNoise>& octaves, double u, double v)
{
    double sum = 0, weight = 0, amp = 1;
    for (const TileNoise& n : octaves) {
        sum += amp * n.at(u, v);
        weight += amp;
        amp *= 0.5;
    }
    return sum / weight;
}

std::vector<TileNoise> octaves(std::initializer_list<int> cells, quint32 seed)
{
    std::vector<TileNoise> out;
    for (int c : cells)
        out.emplace_back(c, seed++);
    return out;
}

// Fills the tile pixel by pixel.
QImage shade(const std::function<QColor(int x, int y)>& colourAt)
{
    QImage img(kTile, kTile, QImage::Format_RGB32);
    for (int y = 0; y < kTile; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kTile; ++x)
            line[x] = colourAt(x, y).rgb();
    }
    return img;
}

// Draws `motif` nine times, shifted by a tile in each direction, so shapes cut by an edge
// reappear on the opposite side.
void wrapped(QPainter& p, const std::function<void()>& motif)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            p.save();
            p.translate(dx * kTile, dy * kTile);
            motif();
            p.restore();
        }
}

QColor scaled(const QColor& c, double f)
{
    return QColor(qBound(0, int(c.red() * f), 255), qBound(0, int(c.green() * f), 255),
                  qBound(0, int(c.blue() * f), 255));
}

QImage paperTexture()
{
    const auto body = octaves({4, 8, 16}, 21);
    const auto grain = octaves({64, 128}, 31);
    const QColor base(0xf7, 0xf2, 0xe6);
    QImage img = shade([&](int x, int y) {
        return scaled(base, 1.0 + (turbulence(body, x, y) - 0.5) * 0.05 + (turbulence(grain, x, y) - 0.5) * 0.035);
    });
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(41);
    for (int i = 0; i < 46; ++i) { // fibres
        const QPointF a(rng.bounded(double(kTile)), rng.bounded(double(kTile)));
        const qreal angle = rng.bounded(2 * M_PI), len = 6 + rng.bounded(14.0);
        const QPointF b = a + len * QPointF(qCos(angle), qSin(angle));
        const QPointF bend = (a + b) / 2 + QPointF(rng.bounded(6.0) - 3, rng.bounded(6.0) - 3);
        const QColor ink = i % 3 ? QColor(0xb8, 0xa8, 0x88, 40) : QColor(255, 255, 255, 120);
        wrapped(p, [&] {
            QPainterPath fibre(a);
            fibre.quadTo(bend, b);
            p.strokePath(fibre, QPen(ink, 0.7));
        });
    }
    return img;
}

QImage blueGradient()
{
    const QColor light(0xee, 0xf5, 0xfc), deep(0xd3, 0xe5, 0xf6);
    const auto haze = octaves({4, 8}, 51);
    return shade([&](int x, int y) {
        // Cosine ramps come back to their start at the edge, so the tile joins without a seam.
        const double t = 0.5 - 0.5 * std::cos(2 * M_PI * y / kTile);
        const double sheen = 0.5 + 0.5 * std::sin(2 * M_PI * (x + y) / kTile);
        return scaled(mix(light, deep, t * 0.85 + sheen * 0.15), 1.0 + (turbulence(haze, x, y) - 0.5) * 0.02);
    });
}

QImage faintGrid()
{
    QImage img(kTile, kTile, QImage::Format_RGB32);
    img.fill(QColor(0xfb, 0xfc, 0xfe));
    QPainter p(&img);
    for (int k = 0; k < kTile; k += 16) {
        const QColor c = k % 64 == 0 ? QColor(0xd4, 0xdf, 0xeb) : QColor(0xe9, 0xef, 0xf6);
        p.fillRect(k, 0, 1, kTile, c);
        p.fillRect(0, k, kTile, 1, c);
    }
    return img;
}

QImage damaskDots()
{
    QImage img(kTile, kTile, QImage::Format_RGB32);
    img.fill(QColor(0xf9, 0xf4, 0xeb));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QColor petal(0xec, 0xdf, 0xc8), dot(0xef, 0xe4, 0xd1);
    auto flower = [&p, &petal](const QPointF& c) {
        p.setBrush(petal);
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(c);
            p.rotate(i * 45);
            p.drawEllipse(QPointF(0, -9), i % 2 ? 2.2 : 3.4, i % 2 ? 5.0 : 7.0);
            p.restore();
        }
        p.setBrush(petal.darker(104));
        p.drawEllipse(c, 4, 4);
    };
    wrapped(p, [&] {
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 4; ++i) {
                flower(QPointF(32 + 64 * i, 32 + 64 * j));
                p.setBrush(dot);
                p.drawEllipse(QPointF(64 * i, 64 * j), 3, 3);
                p.drawEllipse(QPointF(64 * i + 32, 64 * j), 1.6, 1.6);
                p.drawEllipse(QPointF(64 * i, 64 * j + 32), 1.6, 1.6);
            }
    });
    return img;
}

QImage beigeStripes()
{
    const auto grain = octaves({64, 128}, 61);
    const QColor base(0xf6, 0xef, 0xdf), band(0xf0, 0xe6, 0xcf), rule(0xe8, 0xdb, 0xbf);
    return shade([&](int x, int y) {
        const int phase = x % 32;
        const QColor c = phase < 13 ? band : phase < 15 ? rule : phase == 24 ? band : base;
        return scaled(c, 1.0 + (turbulence(grain, x, y) - 0.5) * 0.025);
    });
}

QImage paleClouds()
{
    const auto sky = octaves({4, 8, 16, 32}, 71);
    const QColor blue(0xe4, 0xee, 0xf9), white(0xfd, 0xfe, 0xff);
    return shade([&](int x, int y) {
        const double n = turbulence(sky, x, y);
        const double t = qBound(0.0, (n - 0.38) / 0.3, 1.0);
        return mix(blue, white, t * t * (3 - 2 * t));
    });
}

// ---------------------------------------------------------------- splash

} // namespace

// A crested lark in flight, facing right, about two units long.
QPainterPath larkPath()
{
    QPainterPath bird;
    bird.setFillRule(Qt::WindingFill);
    QPainterPath body(QPointF(1.02, -0.3)); // beak tip
    body.lineTo(0.8, -0.4);
    body.quadTo(0.72, -0.5, 0.6, -0.5);
    body.lineTo(0.42, -0.72); // crest
    body.lineTo(0.5, -0.46);
    body.cubicTo(0.2, -0.4, -0.3, -0.2, -0.72, -0.08);
    body.lineTo(-1.08, -0.26); // forked tail
    body.lineTo(-0.92, -0.02);
    body.lineTo(-1.06, 0.2);
    body.lineTo(-0.7, 0.06);
    body.cubicTo(-0.2, 0.22, 0.45, 0.12, 0.74, -0.2);
    body.lineTo(1.02, -0.3);
    bird.addPath(body);
    QPainterPath wing(QPointF(0.32, -0.34));
    wing.cubicTo(0.22, -0.75, -0.1, -1.0, -0.5, -1.12);
    wing.cubicTo(-0.36, -0.86, -0.32, -0.58, -0.22, -0.24);
    wing.closeSubpath();
    bird.addPath(wing);
    return bird;
}

void drawGlobe(QPainter& p, const QPointF& c, qreal r, int alpha)
{
    p.setPen(QPen(QColor(255, 255, 255, alpha), qMax<qreal>(1, r / 40)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    for (qreal k : {0.35, 0.72})
        p.drawEllipse(c, r * k, r);
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    for (qreal k : {-0.5, 0.0, 0.5}) {
        const qreal half = r * std::sqrt(1 - k * k);
        p.drawLine(QPointF(c.x() - half, c.y() + k * r), QPointF(c.x() + half, c.y() + k * r));
    }
}

namespace {

QImage splash()
{
    QImage img(480, 300, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 480, 300);
    sky.setColorAt(0, QColor(0x0c, 0x3b, 0x8c));
    sky.setColorAt(0.55, QColor(0x17, 0x74, 0xcc));
    sky.setColorAt(1, QColor(0x2a, 0xb2, 0xd6));
    p.fillRect(img.rect(), sky);
    QRadialGradient light(390, 30, 260);
    light.setColorAt(0, QColor(255, 255, 255, 70));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(img.rect(), light);
    drawGlobe(p, QPointF(430, 270), 170, 22);
    QRandomGenerator rng(5);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        const QPointF c(rng.bounded(480.0), rng.bounded(300.0));
        const qreal r = 4 + rng.bounded(18.0);
        QRadialGradient g(c, r);
        g.setColorAt(0, QColor(255, 255, 255, 40));
        g.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    }

    // The emblem: a web globe with a lark flying across it.
    const QPointF centre(92, 122);
    QRadialGradient orb(centre - QPointF(18, 20), 80);
    orb.setColorAt(0, QColor(255, 255, 255, 90));
    orb.setColorAt(1, QColor(255, 255, 255, 15));
    p.setBrush(orb);
    p.drawEllipse(centre, 54, 54);
    drawGlobe(p, centre, 54, 170);
    QTransform place;
    place.translate(centre.x() + 6, centre.y() + 4);
    place.rotate(-16);
    place.scale(44, 44);
    const QPainterPath lark = place.map(larkPath());
    p.fillPath(lark.translated(2, 3), QColor(0, 20, 60, 90));
    p.fillPath(lark, Qt::white);
    p.setBrush(QColor(0xff, 0xb3, 0x47));
    p.drawEllipse(place.map(QPointF(0.66, -0.36)), 2.2, 2.2);

    QFont title = cjkFont(Face::Sans, 29, QFont::Bold);
    QPainterPath name;
    name.addText(168, 118, title, QStringLiteral("Weblark自动建站软件"));
    p.fillPath(name.translated(2, 2), QColor(0, 20, 60, 100));
    p.fillPath(name, Qt::white);
    p.setFont(cjkFont(Face::Sans, 15));
    p.setPen(QColor(255, 255, 255, 230));
    p.drawText(QPointF(170, 150), QStringLiteral("让每个单位轻松拥有自己的网站"));
    p.fillRect(QRectF(170, 166, 270, 1), QColor(255, 255, 255, 90));
    p.fillRect(QRectF(170, 166, 60, 2), QColor(0xff, 0xb3, 0x47));
    p.setFont(cjkFont(Face::Sans, 13));
    p.setPen(QColor(255, 255, 255, 220));
    p.drawText(QRectF(0, 262, 456, 24), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("版本 %1").arg(QLatin1String(WEBLARK_VERSION)));
    return img;
}

} // namespace

// The samples are drawn by the renderer's own lettering, so a site shows the style the user picked.
void makeNameStyles(AssetWriter& out)
{
    for (int n = 0; n < NameLettering::styleCount(); ++n)
        out.saveImage(QStringLiteral("fonts/font%1.png").arg(n + 1, 2, 10, QLatin1Char('0')),
                      NameLettering::draw(QStringLiteral("单位名称"), n, 42, QSize(400, 60)), "PNG");
}

void makeBackgrounds(AssetWriter& out)
{
    const std::function<QImage()> makers[] = {paperTexture, blueGradient, faintGrid,
                                              damaskDots,   beigeStripes, paleClouds};
    int n = 0;
    for (const auto& make : makers)
        out.saveImage(QStringLiteral("backGround/%1.JPG").arg(++n, 4, 10, QLatin1Char('0')), make(), "JPG", 92);
}

void makeSplash(AssetWriter& out)
{
    out.saveImage(QStringLiteral("splash.png"), splash(), "PNG");
}

} // namespace mk
