// A small GIF89a writer: Qt reads GIF but cannot write it.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVector>

namespace mk {

// A picture reduced to a palette of at most 256 opaque colours.
struct IndexedImage {
    int width = 0;
    int height = 0;
    QVector<QRgb> palette;
    QByteArray indices; // one palette index per pixel, rows top to bottom
};

// Exact when the picture has at most 256 colours, median cut otherwise. Alpha is dropped.
IndexedImage quantize(const QImage& image);

// A single-frame GIF89a file with a global colour table and LZW-compressed pixels.
QByteArray encodeGif(const IndexedImage& image);

// Decodes `gif` with Qt's reader and compares it with `expected`; returns what went wrong,
// or an empty string. Skipped (empty result) when Qt has no GIF reader.
QString checkGif(const QByteArray& gif, const IndexedImage& expected);

} // namespace mk
