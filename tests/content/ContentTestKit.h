#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QString>

// Small pictures made on the spot for the content tests.
namespace ContentTestKit {

// A picture with a diagonal, so that scaling has something to smooth.
inline QImage makePicture(int width, int height, const QColor& colour = QColor(40, 120, 200))
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(colour);
    QPainter p(&img);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(0, 0, width, height);
    p.end();
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

inline QString writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    f.write(data);
    return path;
}

inline QString writePicture(const QString& path, int width, int height, const char* format = "JPG",
                            const QColor& colour = QColor(40, 120, 200))
{
    return writeFile(path, encoded(makePicture(width, height, colour), format));
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace ContentTestKit
