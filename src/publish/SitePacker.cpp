#include "SitePacker.h"

#include "publish/SyncManifest.h"
#include "text/ErrorText.h"
#include "workspace/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <algorithm>

namespace {

// Error numbers as the error box shows them.
constexpr int kPermissionDenied = 70;

QFileInfoList filesIn(const QString& folder)
{
    return QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The files of a folder that go into its archive.
QFileInfoList packedFilesIn(const QString& folder)
{
    QFileInfoList files = filesIn(folder);
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const QFileInfo& fi) { return SitePacker::isServerScript(fi.fileName()); }),
                files.end());
    return files;
}

QString zipErrorText(zip_error_t* error)
{
    return ErrorText::zip(error);
}

} // namespace

SitePacker::SitePacker(const QString& dataPath, const QString& workPath) : m_dataPath(dataPath), m_workPath(workPath) {}

void SitePacker::useSnapshot(const QString& path, const QByteArray& bytes)
{
    m_snapshots.insert(QFileInfo(path).absoluteFilePath(), bytes);
}

bool SitePacker::isServerScript(const QString& fileName)
{
    return QFileInfo(fileName).suffix().compare(QLatin1String("asp"), Qt::CaseInsensitive) == 0;
}

bool SitePacker::isStoredAsIs(const QString& fileName)
{
    static const QStringList kinds = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("gif"),
                                      QStringLiteral("png"), QStringLiteral("zip")};
    return kinds.contains(QFileInfo(fileName).suffix(), Qt::CaseInsensitive);
}

int SitePacker::deflateLevel(const QString& fileName)
{
    return QFileInfo(fileName).suffix().compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0 ? 1 : 6;
}

bool SitePacker::fail(int number, const QString& description)
{
    m_error = QString::number(number) + QStringLiteral(" Form1::cmdZip_Click ") + description;
    return false;
}

bool SitePacker::removeFile(const QString& path)
{
    QString why;
    if (FileOps::removeFile(path, &why))
        return true;
    return fail(kPermissionDenied, QStringLiteral("无法删除文件 %1：%2").arg(QDir::toNativeSeparators(path), why));
}

QString SitePacker::writeFolderArchive(const QString& archivePath, const QString& sourceFolder) const
{
    // Server-side scripts of the user's own never reach the server; they stay in the workspace.
    const QString archiveAbs = QFileInfo(archivePath).absoluteFilePath();
    QList<Item> items;
    for (const QFileInfo& fi : packedFilesIn(sourceFolder)) {
        if (fi.absoluteFilePath() != archiveAbs)
            items.append({fi.fileName(), fi.absoluteFilePath(), {}});
    }
    if (items.isEmpty())
        return QStringLiteral("没有要压缩的文件：%1").arg(QDir::toNativeSeparators(sourceFolder));
    return writeArchive(archivePath, items);
}

QString SitePacker::writeArchive(const QString& archivePath, const QList<Item>& items) const
{
    int openError = 0;
    zip_t* za = zip_open(QFile::encodeName(archivePath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &openError);
    if (!za) {
        zip_error_t error;
        zip_error_init_with_code(&error, openError);
        const QString text =
            QStringLiteral("无法创建压缩文件 %1：%2").arg(QDir::toNativeSeparators(archivePath), zipErrorText(&error));
        zip_error_fini(&error);
        return text;
    }

    for (const Item& item : items) {
        // The data is read from the file while the archive is written, one entry at a time.
        const auto snapshot = m_snapshots.constFind(item.filePath);
        const QByteArray* bytes = item.filePath.isEmpty()          ? &item.buffer
                                  : snapshot != m_snapshots.cend() ? &*snapshot
                                                                   : nullptr;
        zip_source_t* src = bytes ? zip_source_buffer(za, bytes->constData(), zip_uint64_t(bytes->size()), 0)
                                  : zip_source_file(za, QFile::encodeName(item.filePath).constData(), 0, 0);
        if (!src) {
            const QString text = QStringLiteral("无法读取文件 %1：%2")
                                     .arg(QDir::toNativeSeparators(item.filePath), zipErrorText(zip_get_error(za)));
            zip_discard(za);
            return text;
        }
        // UTF-8 names carry the language-encoding flag, so Chinese names survive.
        const zip_int64_t idx =
            zip_file_add(za, item.entryName.toUtf8().constData(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (idx < 0) {
            zip_source_free(src);
            const QString text =
                QStringLiteral("无法加入文件 %1：%2").arg(item.entryName, zipErrorText(zip_get_error(za)));
            zip_discard(za);
            return text;
        }
        const QString fileName = item.entryName.section(QLatin1Char('/'), -1);
        if (isStoredAsIs(fileName))
            zip_set_file_compression(za, zip_uint64_t(idx), ZIP_CM_STORE, 0);
        else
            zip_set_file_compression(za, zip_uint64_t(idx), ZIP_CM_DEFLATE, zip_uint32_t(deflateLevel(fileName)));
    }
    if (zip_close(za) != 0) {
        const QString text = QStringLiteral("压缩文件 %1 写入失败：%2")
                                 .arg(QDir::toNativeSeparators(archivePath), zipErrorText(zip_get_error(za)));
        zip_discard(za);
        return text;
    }
    return {};
}

bool SitePacker::zipSiteData()
{
    m_error.clear();
    m_messages.clear();

    if (!removeFile(uploadArchivePath()))
        return false;

    const QString imagesFolder = m_workPath + QStringLiteral("images/");
    if (QFileInfo(imagesFolder).isDir()) {
        if (!removeFile(imagesArchivePath()))
            return false;
        if (!packedFilesIn(imagesFolder).isEmpty()) {
            const QString message = writeFolderArchive(imagesArchivePath(), imagesFolder);
            if (!message.isEmpty())
                m_messages << message; // the site can still go up without its images archive
        }
    }

    const QString message = writeFolderArchive(uploadArchivePath(), m_workPath);
    if (!message.isEmpty()) {
        m_messages << message;
        // Without the upload archive there is nothing to send; going on would
        // announce a missing file as an empty site.
        return fail(75, QStringLiteral("没有生成上传文件 %1").arg(QDir::toNativeSeparators(uploadArchivePath())));
    }

    return true;
}

bool SitePacker::zipChanges(const QStringList& paths, const QByteArray& manifest)
{
    m_error.clear();
    m_messages.clear();
    if (!removeFile(uploadArchivePath()))
        return false;
    QList<Item> items;
    for (const QString& path : paths)
        items.append({path, QFileInfo(m_workPath + path).absoluteFilePath(), {}});
    items.append({SyncManifest::archiveEntryName(), QString(), manifest});
    const QString message = writeArchive(uploadArchivePath(), items);
    if (!message.isEmpty())
        return fail(75, message);
    return true;
}
