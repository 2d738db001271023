#pragma once

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

// The organisation's name drawn as a picture in one of the name styles of the
// `font` table ("font01.png" .. "font08.png"). The picture tool draws the style
// samples with the same code, so what the user picks is what the site shows.
namespace NameLettering {

enum class Face { Sans, Serif };
// A font for Chinese text: the first installed of the usual CJK families of the face.
QFont cjkFont(Face face, qreal pixelSize, QFont::Weight weight = QFont::Normal);

int styleCount();
// 0-based style of a `font` row's file name; -1 for a name of no known style.
int styleOf(const QString& fontFile);
// Fonts need a running QGuiApplication; without one nothing can be drawn.
bool canDraw();
// A transparent picture of text in the style, glyphs pixelSize high. With an empty
// canvas the picture fits the text; otherwise the text is centred on a canvas of that size.
QImage draw(const QString& text, int style, int pixelSize = 42, const QSize& canvas = QSize());

} // namespace NameLettering
