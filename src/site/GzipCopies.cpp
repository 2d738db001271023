#include "GzipCopies.h"

#include <QDirIterator>
#include <QFile>
#include <QMutex>
#include <QStringList>
#include <QtConcurrent/QtConcurrentMap>

#include <zlib.h>

namespace {

// Below this a response is a packet either way.
constexpr qint64 kMinSize = 256;

bool compressible(const QString& name)
{
    static const QStringList suffixes = {QStringLiteral(".htm"), QStringLiteral(".html"), QStringLiteral(".css"),
                                         QStringLiteral(".js"),  QStringLiteral(".json"), QStringLiteral(".svg"),
                                         QStringLiteral(".xml")};
    for (const QString& s : suffixes) {
        if (name.endsWith(s, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// gzip of data at the highest level: written once, sent many times.
QByteArray gzip(const QByteArray& data)
{
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    QByteArray out(qsizetype(deflateBound(&z, uLong(data.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.truncate(qsizetype(z.total_out));
    deflateEnd(&z);
    return rc == Z_STREAM_END ? out : QByteArray();
}

// Empty when done, else why not.
QString writeCopy(const QString& path)
{
    const QString copy = path + QStringLiteral(".gz");
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, in.errorString());
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return QStringLiteral("cannot read %1: %2").arg(path, in.errorString());
    const QByteArray packed = data.size() >= kMinSize ? gzip(data) : QByteArray();
    if (packed.isEmpty() || packed.size() >= data.size()) {
        if (QFile::exists(copy) && !QFile::remove(copy))
            return QStringLiteral("cannot remove the stale %1").arg(copy);
        return {};
    }
    QFile out(copy);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(packed) != packed.size() || !out.flush()) {
        const QString why = out.errorString();
        out.close();
        QFile::remove(copy);
        return QStringLiteral("cannot write %1: %2").arg(copy, why);
    }
    return {};
}

} // namespace

bool writeGzipCopies(const QString& dir, QString* error)
{
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (compressible(path))
            files << path;
    }
    QMutex mutex;
    QString first;
    QtConcurrent::blockingMap(files, [&](const QString& path) {
        const QString why = writeCopy(path);
        if (!why.isEmpty()) {
            QMutexLocker lock(&mutex);
            if (first.isEmpty())
                first = why;
        }
    });
    if (!first.isEmpty() && error)
        *error = first;
    return first.isEmpty();
}
