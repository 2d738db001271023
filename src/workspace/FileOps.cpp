#include "FileOps.h"
#include "core/Messages.h"
#include "text/ErrorText.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace FileOps {

static void makeWritable(const QString& path)
{
    QFile f(path);
    f.setPermissions(f.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

bool removeFile(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.exists())
        return true;
    makeWritable(path);
    if (f.remove())
        return true;
    if (error)
        *error = ErrorText::file(f);
    return false;
}

bool copyFile(const QString& src, const QString& dst, QString* error)
{
    if (QFileInfo::exists(dst)) {
        makeWritable(dst);
        if (!QFile::remove(dst)) {
            if (error)
                *error = QStringLiteral("无法覆盖文件“%1”。").arg(QDir::toNativeSeparators(dst));
            return false;
        }
    }
    QFile in(src);
    if (!in.copy(dst)) {
        if (error)
            *error = QStringLiteral("无法复制文件“%1”：%2").arg(QDir::toNativeSeparators(src), ErrorText::file(in));
        return false;
    }
    return true;
}

bool copyFileUnsynced(const QString& src, const QString& dst)
{
    std::error_code ec;
    return std::filesystem::copy_file(std::filesystem::path(QFile::encodeName(src).toStdString()),
                                      std::filesystem::path(QFile::encodeName(dst).toStdString()),
                                      std::filesystem::copy_options::overwrite_existing, ec) &&
           !ec;
}

bool copyFolder(const QString& src, const QString& dst, QString* error)
{
    const QDir from(src);
    if (!from.exists()) {
        if (error)
            *error = QStringLiteral("文件夹“%1”不存在。").arg(QDir::toNativeSeparators(src));
        return false;
    }
    if (!QDir().mkpath(dst)) {
        if (error)
            *error = Messages::cannotCreateFolder(QDir::toNativeSeparators(dst));
        return false;
    }
    const auto entries = from.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& fi : entries) {
        const QString target = dst + QLatin1Char('/') + fi.fileName();
        const bool ok = fi.isDir() && !fi.isSymLink() ? copyFolder(fi.absoluteFilePath(), target, error)
                                                      : copyFile(fi.absoluteFilePath(), target, error);
        if (!ok)
            return false;
    }
    return true;
}

bool removeFolder(const QString& path, QString* error)
{
    QDir dir(path);
    if (!dir.exists())
        return true;
    makeWritable(path);
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        makeWritable(it.filePath());
    }
    if (!dir.removeRecursively()) {
        if (error)
            *error = QStringLiteral("无法删除文件夹“%1”。").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

bool moveContents(const QString& folder, const QString& target, QString* error)
{
    const QDir from(folder);
    if (!QDir().mkpath(target)) {
        if (error)
            *error = Messages::cannotCreateFolder(QDir::toNativeSeparators(target));
        return false;
    }
    const auto entries = from.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& fi : entries) {
        const QString dst = target + QLatin1Char('/') + fi.fileName();
        if (QDir().rename(fi.absoluteFilePath(), dst))
            continue;
        // Another file system: copy, then remove the original.
        const bool copied =
            fi.isDir() ? copyFolder(fi.absoluteFilePath(), dst, error) : copyFile(fi.absoluteFilePath(), dst, error);
        if (!copied)
            return false;
        const bool removed =
            fi.isDir() ? removeFolder(fi.absoluteFilePath(), error) : QFile::remove(fi.absoluteFilePath());
        if (!removed) {
            if (error && error->isEmpty())
                *error = QStringLiteral("无法移动“%1”。").arg(QDir::toNativeSeparators(fi.absoluteFilePath()));
            return false;
        }
    }
    return true;
}

bool isEmptyFolder(const QString& path)
{
    return QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

int (*syncCall)(int fd) = ::fsync;

bool syncEntry(const QString& path, QString* error)
{
    const bool folder = QFileInfo(path).isDir();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
    const int rc = fd < 0 ? -1 : syncCall(fd);
    const int err = errno;
    if (fd >= 0)
        ::close(fd);
    if (rc == 0)
        return true;
    if (error)
        *error = QStringLiteral("无法把“%1”写入磁盘：%2")
                     .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(err)));
    return false;
}

bool syncTree(const QString& path, QString* error)
{
    QDirIterator it(path, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        if (!fi.isSymLink() && !syncEntry(fi.filePath(), error))
            return false;
    }
    return syncEntry(path, error);
}

} // namespace FileOps
