#include "GzipCopies.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMutex>
#include <QStringList>
#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>

#include <zlib.h>

namespace {

// Below this a response is a packet either way.
constexpr qint64 kMinSize = 256;
// Files compressed by one worker task, and tasks under way before the renderer waits for
// the oldest: enough to keep the workers busy, little memory held.
constexpr int kBatch = 16;
constexpr int kMaxJobs = 8;

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

// gzip of data at zlib's default level: on the site's pages the highest level saves
// half a percent of the bytes and takes nearly twice the time.
QByteArray gzip(const QByteArray& data)
{
    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
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

// The copy of data, the bytes of path. Empty when done, else why not.
QString writeCopy(const QString& path, const QByteArray& data)
{
    const QString copy = path + QStringLiteral(".gz");
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

QString readAndWriteCopy(const QString& path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, in.errorString());
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return QStringLiteral("cannot read %1: %2").arg(path, in.errorString());
    return writeCopy(path, data);
}

} // namespace

GzipCopies::~GzipCopies()
{
    for (QFuture<QString>& job : m_jobs)
        job.waitForFinished();
}

void GzipCopies::add(const QString& path, const QByteArray& data)
{
    if (!compressible(path))
        return;
    const QString clean = QDir::cleanPath(path);
    m_added.insert(clean);
    m_batch.append({clean, data});
    if (m_batch.size() >= kBatch)
        startBatch();
}

void GzipCopies::startBatch()
{
    if (m_batch.isEmpty())
        return;
    m_jobs.append(QtConcurrent::run([batch = std::move(m_batch)] {
        for (const auto& [path, data] : batch) {
            const QString why = writeCopy(path, data);
            if (!why.isEmpty())
                return why;
        }
        return QString();
    }));
    m_batch.clear();
    if (m_jobs.size() > kMaxJobs)
        collect(m_jobs.front());
    while (!m_jobs.isEmpty() && m_jobs.front().isFinished())
        collect(m_jobs.front());
}

void GzipCopies::collect(QFuture<QString>& job)
{
    const QString why = job.result();
    if (m_error.isEmpty())
        m_error = why;
    m_jobs.removeFirst();
}

bool GzipCopies::finish(const QString& dir, QString* error)
{
    startBatch();
    QStringList rest;
    QDirIterator it(QDir::cleanPath(dir), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (compressible(path) && !m_added.contains(path))
            rest << path;
    }
    QMutex mutex;
    QString first;
    QtConcurrent::blockingMap(rest, [&](const QString& path) {
        const QString why = readAndWriteCopy(path);
        if (!why.isEmpty()) {
            QMutexLocker lock(&mutex);
            if (first.isEmpty())
                first = why;
        }
    });
    while (!m_jobs.isEmpty())
        collect(m_jobs.front());
    if (m_error.isEmpty())
        m_error = first;
    if (!m_error.isEmpty() && error)
        *error = m_error;
    return m_error.isEmpty();
}
