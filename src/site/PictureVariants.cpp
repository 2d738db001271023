#include "PictureVariants.h"

#include "workspace/FileOps.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>
#include <QTemporaryFile>
#include <QtConcurrent/QtConcurrentMap>

#include <unistd.h>

namespace {

// The format of a picture's own copies, by its name: "" for none besides WebP (WebP
// itself) or for no copies at all (a GIF may move, a still copy would not).
QByteArray ownFormat(const QString& name, bool* any)
{
    const QString ext = QFileInfo(name).suffix().toLower();
    *any = ext != QLatin1String("gif");
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return "jpeg";
    if (ext == QLatin1String("webp"))
        return {};
    return "png";
}

QByteArray encode(const QImage& image, const QByteArray& format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (format == "jpeg")
        writer.setQuality(82);
    else if (format == "webp")
        writer.setQuality(80);
    return writer.write(image) ? bytes : QByteArray();
}

bool writeNew(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush();
}

// A kept copy into the output: a second name for the same file where both lie on one
// file system (no bytes copied, no new file), else a copy.
bool linkOrCopy(const QString& from, const QString& to)
{
    QFile::remove(to);
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ||
           FileOps::copyFileUnsynced(from, to);
}

// Into the cache under its final name in one step, so a rendering running at the same
// time never links a half-written file. Read-only: the output's name for it must not
// let anything change what is kept.
bool keep(const QString& path, const QByteArray& bytes)
{
    QTemporaryFile tmp(QFileInfo(path).path() + QStringLiteral("/XXXXXX.part"));
    if (!tmp.open() || tmp.write(bytes) != bytes.size() || !tmp.flush())
        return false;
    tmp.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (::rename(QFile::encodeName(tmp.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return false;
    tmp.setAutoRemove(false);
    return true;
}

// A copy's name is the picture's with what tells its format added when the picture's own
// does not: "a.jpg", "a.jpg.webp", "a.bmp.png".
QString copySuffix(const QString& name, const QByteArray& format)
{
    if (format == "webp")
        return QStringLiteral(".webp");
    if (format == "png" && !name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return QStringLiteral(".png");
    return {};
}

// Whether a JPEG's bytes reach the end of its picture: its decoder fills what is missing
// with grey and only warns, so a file cut short would otherwise give grey copies. Walks
// the segments to the scan and the scan to the end marker; what follows it (a phone's
// appended movie) does not count.
bool jpegComplete(const QByteArray& b)
{
    const auto at = [&b](qsizetype i) { return uchar(b.at(i)); };
    qsizetype i = 2;
    while (i + 1 < b.size()) {
        if (at(i) != 0xFF)
            return false;
        const uchar marker = at(i + 1);
        if (marker == 0xD9)
            return true;
        if (marker == 0xFF || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            i += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (i + 3 >= b.size())
            return false;
        i += 2 + ((at(i + 2) << 8) | at(i + 3));
        if (marker != 0xDA)
            continue;
        // Entropy-coded data: FF is followed by 00 (a data byte) or a restart marker.
        while (i + 1 < b.size() && !(at(i) == 0xFF && at(i + 1) != 0x00 && (at(i + 1) < 0xD0 || at(i + 1) > 0xD7)))
            ++i;
    }
    return false;
}

struct Job {
    PictureVariants::Copy copy;
    QByteArray format;
    QString out;  // absolute
    QString kept; // absolute, "" without a cache
};

} // namespace

PictureVariants::PictureVariants(const QString& cacheFolder) : m_cache(cacheFolder)
{
    if (!m_cache.isEmpty() && QDir().mkpath(m_cache))
        m_hashes = std::make_unique<HashCache>(m_cache + QStringLiteral("/hashes.txt"));
    else
        m_cache.clear();
}

PictureVariants::~PictureVariants() = default;

QSize PictureVariants::shownSize(const QString& path)
{
    QImageReader reader(path);
    QSize size = reader.size();
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

QList<PictureVariants::Copy> PictureVariants::make(const QString& path, const QSize& size, const QString& outFolder,
                                                   const QString& name, QString* problem)
{
    bool any = false;
    const QByteArray own = ownFormat(name, &any);
    if (!any || !size.isValid() || size.width() <= kWidths[0])
        return {};
    if (qint64(size.width()) * size.height() > kMaxPixels) {
        *problem = QStringLiteral("尺寸过大（%1×%2）").arg(size.width()).arg(size.height());
        return {};
    }
    QByteArray hash;
    if (m_hashes && (hash = m_hashes->hashOf(path)).isEmpty()) {
        *problem = QStringLiteral("无法读取");
        return {};
    }
    QList<Job> jobs;
    for (int width : kWidths) {
        if (width >= size.width())
            break;
        const QSize copySize(width, qMax(1, qRound(double(width) * size.height() / size.width())));
        if (!QDir().mkpath(outFolder + QLatin1Char('/') + QString::number(width))) {
            *problem = QStringLiteral("无法建立文件夹");
            return {};
        }
        for (const QByteArray& format : {own, QByteArray("webp")}) {
            if (format.isEmpty())
                continue;
            Job job;
            job.format = format;
            job.copy.webp = format == "webp";
            job.copy.size = copySize;
            job.copy.file = QString::number(width) + QLatin1Char('/') + name + copySuffix(name, format);
            job.out = outFolder + QLatin1Char('/') + job.copy.file;
            if (!m_cache.isEmpty())
                job.kept = QStringLiteral("%1/%2-%3.%4")
                               .arg(m_cache, QString::fromLatin1(hash.toHex()))
                               .arg(width)
                               .arg(QString::fromLatin1(format == "jpeg" ? "jpg" : format));
            jobs.append(job);
        }
    }
    QList<Job*> missing;
    for (Job& job : jobs) {
        if (job.kept.isEmpty() || !QFileInfo::exists(job.kept) || !linkOrCopy(job.kept, job.out))
            missing.append(&job);
    }
    if (!missing.isEmpty()) {
        // One decoding, at the widest size asked for; the narrower copies are made from it.
        QSize widest;
        for (const Job* job : missing)
            widest = widest.width() < job->copy.size.width() ? job->copy.size : widest;
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        QBuffer source;
        source.setData(bytes);
        QImageReader reader(&source);
        if (reader.format() == "jpeg" && !jpegComplete(bytes)) {
            *problem = QStringLiteral("不完整");
            return {};
        }
        reader.setAutoTransform(true);
        reader.setAllocationLimit(256);
        reader.setScaledSize(reader.transformation() & QImageIOHandler::TransformationRotate90 ? widest.transposed()
                                                                                               : widest);
        const QImage image = reader.read();
        if (image.isNull()) {
            *problem = QStringLiteral("无法解码（%1）").arg(reader.errorString());
            return {};
        }
        QMutex mutex;
        bool failed = false;
        QtConcurrent::blockingMap(missing, [&](Job* job) {
            const QImage scaled = image.size() == job->copy.size
                                      ? image
                                      : image.scaled(job->copy.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const QByteArray bytes = encode(scaled, job->format);
            const bool ok =
                !bytes.isEmpty() && (job->kept.isEmpty() ? writeNew(job->out, bytes)
                                                         : (keep(job->kept, bytes) || QFileInfo::exists(job->kept)) &&
                                                               linkOrCopy(job->kept, job->out));
            if (!ok) {
                QMutexLocker lock(&mutex);
                failed = true;
            }
        });
        if (failed) {
            for (const Job& job : jobs)
                QFile::remove(job.out);
            *problem = QStringLiteral("无法写入缩小的副本");
            return {};
        }
        ++m_resized;
    }
    QList<Copy> copies;
    for (const Job& job : jobs) {
        if (!job.kept.isEmpty())
            m_used.insert(QFileInfo(job.kept).fileName());
        copies.append(job.copy);
    }
    return copies;
}

void PictureVariants::finish()
{
    if (m_cache.isEmpty())
        return;
    m_hashes->save();
    // Copies of pictures no longer used go; so do pieces left by a rendering that was
    // stopped while writing, once no rendering can still be writing them.
    const QFileInfoList kept = QDir(m_cache).entryInfoList(QDir::Files);
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo& file : kept) {
        const QString name = file.fileName();
        if (name.endsWith(QLatin1String(".part")) ? file.lastModified() < hourAgo
                                                  : name.contains(QLatin1Char('-')) && !m_used.contains(name))
            QFile::remove(file.filePath());
    }
}
