// Shared drawing helpers of weblark-mkassets and the entry points of its picture groups.
#pragma once

#include "site/NameLettering.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <stdexcept>

class QPainter;

namespace mk {

// Any failure that must stop the build: unwritable output, an encoder that fails its check.
struct AssetError : std::runtime_error {
    explicit AssetError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Writes files below the output directory, creating folders on the way.
class AssetWriter {
public:
    explicit AssetWriter(const QString& root);
    void saveImage(const QString& relPath, const QImage& image, const char* format, int quality = -1);
    void saveData(const QString& relPath, const QByteArray& data);
    const QStringList& written() const { return m_written; }

private:
    QString prepare(const QString& relPath);
    QString m_root;
    QStringList m_written;
};

// The fonts of the pictures are those of the name lettering drawn on the sites.
using NameLettering::cjkFont;
using NameLettering::Face;

QColor mix(const QColor& a, const QColor& b, qreal t);
QColor withAlpha(QColor c, int alpha);

QPainterPath starPath(const QPointF& centre, qreal outer, qreal inner, int points = 5, qreal rotationDeg = -90);
// Outline of a text, its ink box centred on `centre`.
QPainterPath centredTextPath(const QString& text, const QFont& font, const QPointF& centre);

// Lines of "greeked" text: rounded grey bars in paragraphs, the last line of each one short.
void textBars(QPainter& p, const QRectF& area, qreal rowHeight, QRandomGenerator& rng, const QColor& colour);

// Smooth downscale of a full picture with a 1px grey frame.
QImage thumbnail(const QImage& full, const QSize& size);

enum class Emblem { Star, Orbit, Shield, Cross };
void drawEmblem(QPainter& p, const QPointF& centre, qreal radius, Emblem kind, const QColor& main,
                const QColor& accent);

enum class Photo { Scenery, Product, Portrait };
void drawPhoto(QPainter& p, const QRectF& rect, Photo kind, quint32 seed);

enum class Glyph { Document, Person, Mail, Search, Building, Calendar, Book, Heart };
void drawGlyph(QPainter& p, const QRectF& box, Glyph glyph, const QColor& colour);

// The program's emblem: a lark (about two units long, facing right) and a web globe in white lines.
QPainterPath larkPath();
void drawGlobe(QPainter& p, const QPointF& c, qreal r, int alpha);

// The picture groups, one per output folder.
void makeNameStyles(AssetWriter& out);    // fonts/
void makeBackgrounds(AssetWriter& out);   // backGround/
void makeChooserImages(AssetWriter& out); // images/
void makeSplash(AssetWriter& out);        // splash.png
void makeSkins(AssetWriter& out);         // skin/
void makeIcons(AssetWriter& out);         // hicolor/SIZExSIZE/apps/weblark.png (weblark-mkassets --icons)

} // namespace mk
