#pragma once

#include "TestFiles.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPainter>

// Small pictures made on the spot.
namespace TestPictures {

// A picture with a diagonal, so that scaling has something to smooth.
inline QImage make(int width, int height, const QColor& colour = QColor(40, 120, 200))
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(colour);
    QPainter p(&img);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(0, 0, width, height);
    return img;
}

inline QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

// A 1 x 1 GIF (Qt writes no GIF of its own).
inline QByteArray tinyGif()
{
    return QByteArray::fromBase64("R0lGODlhAQABAIAAAP///wAAACH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==");
}

// Writes data to path and gives the path back.
inline QString write(const QString& path, const QByteArray& data)
{
    writeFile(path, data);
    return path;
}

inline QString write(const QString& path, int width, int height, const char* format = "JPG")
{
    return write(path, encoded(make(width, height), format));
}

} // namespace TestPictures
