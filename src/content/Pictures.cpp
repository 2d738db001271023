#include "Pictures.h"

#include "core/DialogService.h"
#include "core/Messages.h"
#include "text/TextCodec.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

namespace Pictures {

QString imageFilter()
{
    return QStringLiteral("图像文件(*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif");
}

QString nonAsciiNameMessage()
{
    return Messages::text(Messages::Id::NonAsciiName);
}

QString unreadableMessage()
{
    return QStringLiteral("所选择的文件不是完整的图片，无法读取，请选择其它图片！");
}

namespace {

// A JPEG is whole when an end-of-image marker follows its last scan.
// Marker bytes cannot occur inside the entropy-coded data, so searching is enough.
bool jpegComplete(const QByteArray& data)
{
    const qsizetype sos = data.lastIndexOf(QByteArrayView("\xFF\xDA", 2));
    return sos >= 0 && data.indexOf(QByteArrayView("\xFF\xD9", 2), sos + 2) > sos;
}

// A GIF is whole when its blocks can be walked up to the trailer.
bool gifComplete(const QByteArray& d)
{
    const auto byte = [&d](qsizetype i) { return static_cast<unsigned char>(d.at(i)); };
    qsizetype p = 13;
    if (d.size() < p)
        return false;
    if (byte(10) & 0x80)
        p += 3 * (qsizetype(1) << ((byte(10) & 7) + 1));
    const auto skipSubBlocks = [&]() {
        while (p < d.size()) {
            const int len = byte(p++);
            if (len == 0)
                return true;
            p += len;
        }
        return false;
    };
    while (p < d.size()) {
        const unsigned char kind = byte(p++);
        if (kind == 0x3B)
            return true;
        if (kind == 0x21) {
            ++p; // label
            if (!skipSubBlocks())
                return false;
        } else if (kind == 0x2C) {
            if (p + 9 > d.size())
                return false;
            const unsigned char flags = byte(p + 8);
            p += 9;
            if (flags & 0x80)
                p += 3 * (qsizetype(1) << ((flags & 7) + 1));
            ++p; // LZW minimum code size
            if (!skipSubBlocks())
                return false;
        } else {
            return false;
        }
    }
    return false;
}

// A BMP is whole when the file holds all the pixel rows its header promises.
bool bmpComplete(const QByteArray& d)
{
    if (d.size() < 54)
        return false;
    const auto* u = reinterpret_cast<const uchar*>(d.constData());
    const quint32 offBits = qFromLittleEndian<quint32>(u + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(u + 14);
    if (headerSize < 40) // OS/2 headers: leave it to the decoder
        return true;
    const qint64 width = qFromLittleEndian<qint32>(u + 18);
    const qint64 height = qAbs(qint64(qFromLittleEndian<qint32>(u + 22)));
    const quint16 bits = qFromLittleEndian<quint16>(u + 28);
    const quint32 compression = qFromLittleEndian<quint32>(u + 30);
    const quint32 sizeImage = qFromLittleEndian<quint32>(u + 34);
    qint64 need = 0;
    if (compression == 0 || compression == 3)
        need = ((width * bits + 31) / 32) * 4 * height;
    else
        need = sizeImage;
    return qint64(offBits) + need <= d.size();
}

// A PNG is whole when it ends with its IEND chunk.
bool pngComplete(const QByteArray& d)
{
    return d.size() >= 12 && d.right(12).startsWith(QByteArrayView("\0\0\0\0IEND", 8));
}

bool wholeFile(const QByteArray& data, const QByteArray& format)
{
    if (format == "jpeg" || format == "jpg")
        return jpegComplete(data);
    if (format == "gif")
        return gifComplete(data);
    if (format == "bmp")
        return bmpComplete(data);
    if (format == "png")
        return pngComplete(data);
    return true; // the decoders of other formats refuse truncated data themselves
}

// Reads the file once and checks it; the reader decodes from the buffer.
struct Source {
    QByteArray data;
    QBuffer buffer;
    QImageReader reader;
    bool ok = false;

    explicit Source(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return;
        data = f.readAll();
        if (data.isEmpty())
            return;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
        reader.setDecideFormatFromContent(true);
        reader.setAutoTransform(false);
        const QByteArray format = reader.format();
        ok = !format.isEmpty() && reader.size().isValid() && !reader.size().isEmpty() && wholeFile(data, format);
    }
};

} // namespace

bool isReadable(const QString& path, QSize* sizePx)
{
    Source src(path);
    if (src.ok && sizePx)
        *sizePx = src.reader.size();
    return src.ok;
}

QImage load(const QString& path)
{
    Source src(path);
    return src.ok ? src.reader.read() : QImage();
}

QImage loadFitted(const QString& path, const QSize& bound)
{
    Source src(path);
    if (!src.ok)
        return {};
    const QSize full = src.reader.size();
    if (full.width() > bound.width() || full.height() > bound.height())
        src.reader.setScaledSize(full.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return src.reader.read();
}

Choice askForPicture(DialogService& dialogs)
{
    const FileChoice picked = dialogs.openFile(imageFilter());
    if (!picked.ok())
        return {};
    const QString name = QFileInfo(picked.path).fileName();
    if (!cls_func().isEng(name)) {
        dialogs.message(nonAsciiNameMessage(), Messages::notice(), MsgIcon::Information);
        return {};
    }
    // Decoding a small version proves the data as well as the header.
    QSize size;
    if (!isReadable(picked.path, &size) || loadFitted(picked.path, QSize(64, 64)).isNull()) {
        dialogs.message(unreadableMessage(), Messages::notice(), MsgIcon::Critical);
        return {};
    }
    return {picked.path, name, size};
}

void Slot::loadStored(const QString& name)
{
    newName.clear();
    oldName = name;
    storedName = name;
    ownsOld = false;
}

WorkspaceFiles::Result Slot::place(const QString& chosenPath, const SiteDb& db, const QString& workPath,
                                   const QStringList& inUse)
{
    const WorkspaceFiles::Result placed = WorkspaceFiles::copyIn(chosenPath, workPath);
    if (placed.ok)
        adopt(placed, db, workPath, inUse);
    return placed;
}

void Slot::adopt(const WorkspaceFiles::Result& placed, const SiteDb& db, const QString& workPath,
                 const QStringList& inUse)
{
    if (ownsOld && oldName != placed.fileName && oldName != storedName && !inUse.contains(oldName))
        WorkspaceFiles::removeIfUnused(db, workPath, oldName);
    newName = placed.fileName;
    oldName = placed.fileName;
    ownsOld = placed.created;
}

void Slot::stored(const QString& name, const SiteDb& db, const QString& workPath, const QStringList& inUse)
{
    if (storedName != name && !inUse.contains(storedName))
        WorkspaceFiles::removeIfUnused(db, workPath, storedName);
    storedName = name;
    ownsOld = false;
}

QString thumbnailName(const QString& fileName)
{
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
    return (dot < 0 ? fileName : fileName.left(dot)) + QStringLiteral("_small.bmp");
}

QSize thumbnailTwips(const QSize& pictureTwips, int boxHeightTwips)
{
    constexpr double kWidth = 2000.0;
    if (pictureTwips.width() <= 0 || pictureTwips.height() <= 0)
        return {};
    const double scaledHeight = pictureTwips.height() * kWidth / pictureTwips.width();
    const double heightLimit = scaledHeight >= kWidth ? kWidth : boxHeightTwips;
    if (scaledHeight < heightLimit)
        return {int(kWidth), qRound(scaledHeight)};
    return {qRound(pictureTwips.width() * heightLimit / pictureTwips.height()), qRound(heightLimit)};
}

QImage makeThumbnail(const QString& path, const QSize& sizePx)
{
    Source src(path);
    if (!src.ok || sizePx.isEmpty())
        return {};
    src.reader.setScaledSize(sizePx);
    const QImage picture = src.reader.read();
    if (picture.isNull())
        return {};
    QImage thumb(sizePx, QImage::Format_RGB32);
    thumb.fill(Qt::white);
    QPainter p(&thumb);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(QPoint(0, 0), sizePx), picture);
    p.end();
    return thumb;
}

bool saveBmp(const QImage& image, const QString& path)
{
    return !image.isNull() && image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

QByteArray bmpBytes(const QImage& image)
{
    QByteArray data;
    QBuffer buffer(&data);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) ||
        !image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"))
        return {};
    return data;
}

} // namespace Pictures
