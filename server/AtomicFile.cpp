#include "AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicFile {

namespace {

QString lastError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The file a path names, through a symbolic link: the link itself stays.
QString realTarget(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

Stamp stampOfFd(int fd)
{
    struct stat st {};
    Stamp s;
    if (::fstat(fd, &st) == 0) {
        s.exists = true;
        s.dev = st.st_dev;
        s.ino = st.st_ino;
        s.size = st.st_size;
        s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
    return s;
}

} // namespace

Stamp stampOf(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const Stamp s = stampOfFd(fd);
    ::close(fd);
    return s;
}

Lock::Lock(const QString& path, int waitMs)
{
    const QByteArray lockPath = QFile::encodeName(realTarget(path) + QStringLiteral(".lock"));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = QStringLiteral("cannot open %1: %2").arg(QFile::decodeName(lockPath), lastError());
        return;
    }
    // Someone editing by hand may hold it for a moment; the server does not wait long.
    for (int waited = 0; ::flock(fd, LOCK_EX | LOCK_NB) != 0; waited += 10) {
        if (errno != EWOULDBLOCK || waited >= waitMs) {
            m_error = QStringLiteral("%1 is locked by another program").arg(QFile::decodeName(lockPath));
            ::close(fd);
            return;
        }
        QThread::msleep(10);
    }
    m_fd = fd;
}

Lock::~Lock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

bool read(const QString& path, QByteArray* bytes, Stamp* stamp, QString* error)
{
    bytes->clear();
    *stamp = Stamp();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        *error = QStringLiteral("cannot read %1: %2").arg(path, lastError());
        return false;
    }
    *stamp = stampOfFd(fd);
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *error = QStringLiteral("cannot read %1: %2").arg(path, lastError());
            ::close(fd);
            return false;
        }
        bytes->append(buf, n);
    }
    ::close(fd);
    return true;
}

bool write(const QString& path, const QByteArray& bytes, QString* error, const Stamp* expected, const WriteFn& writeFn)
{
    const QString target = realTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    QByteArray tempName = targetName + ".new-XXXXXX";
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("cannot create a file beside %1: %2").arg(target, lastError());
        return false;
    }
    const auto fail = [&](const QString& why) {
        *error = why;
        ::close(fd);
        ::unlink(tempName.constData());
        return false;
    };
    struct stat old {};
    if (::stat(targetName.constData(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    const char* p = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        const ssize_t n = writeFn ? writeFn(fd, p, left) : ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(
                QStringLiteral("cannot write %1: %2").arg(target, n < 0 ? lastError() : QStringLiteral("no space")));
        p += n;
        left -= size_t(n);
    }
    if (::fsync(fd) != 0)
        return fail(QStringLiteral("cannot sync %1: %2").arg(target, lastError()));
    if (::close(fd) != 0) {
        *error = QStringLiteral("cannot close %1: %2").arg(target, lastError());
        ::unlink(tempName.constData());
        return false;
    }
    if (expected && stampOf(target) != *expected) {
        ::unlink(tempName.constData());
        *error = QStringLiteral("%1 was changed by someone else meanwhile; nothing was replaced").arg(target);
        return false;
    }
    if (::rename(tempName.constData(), targetName.constData()) != 0) {
        *error = QStringLiteral("cannot replace %1: %2").arg(target, lastError());
        ::unlink(tempName.constData());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int dir =
        ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace AtomicFile
