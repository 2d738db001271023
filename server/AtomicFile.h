#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <sys/types.h>

// Files the server rewrites (accounts, site owners) are never left half-written:
// the new content goes to a file beside the old one, every write is checked, the
// file is synced and only then renamed over the old one, and the folder is
// synced. Rewrites happen under an advisory lock on FILE.lock, which an operator
// can take too (flock(1)) while editing by hand.
namespace AtomicFile {

// Identifies one version of a file: a rename or an edit changes it.
struct Stamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    bool operator==(const Stamp& o) const
    {
        return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size && mtimeNs == o.mtimeNs;
    }
    bool operator!=(const Stamp& o) const { return !(*this == o); }
};
Stamp stampOf(const QString& path);

// The write(2) the rewrite uses; tests put one in that fails part-way.
using WriteFn = std::function<ssize_t(int fd, const char* data, size_t size)>;

// Holds the advisory lock of path (path + ".lock") while it lives. Waits up to
// waitMs for another holder; locked() is false when it could not be had.
class Lock {
public:
    explicit Lock(const QString& path, int waitMs = 500);
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    bool locked() const { return m_fd >= 0; }
    QString error() const { return m_error; }

private:
    int m_fd = -1;
    QString m_error;
};

// The whole file and its stamp. A missing file reads as empty (stamp.exists false).
bool read(const QString& path, QByteArray* bytes, Stamp* stamp, QString* error);

// Replaces path with bytes as described above, keeping the file's permissions.
// With expected, nothing is replaced when the file is no longer that version (an
// edit made since it was read). On failure the old file is as it was.
bool write(const QString& path, const QByteArray& bytes, QString* error, const Stamp* expected = nullptr,
           const WriteFn& writeFn = {});

} // namespace AtomicFile
