#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// Packs the workspace for upload: "images.zip" in the workspace from its
// "images" folder, then "ziptest.zip" in the data folder from the files
// lying directly in the workspace (the database, "images.zip", pictures ...).
// Pictures and archives are stored as they are; everything else is deflated.
// Server-side scripts (".asp") are left out of both archives and stay in the
// workspace. Packing touches only files, so it may run on a worker thread.
class SitePacker {
public:
    // Both paths end with "/".
    SitePacker(const QString& dataPath, const QString& workPath);

    struct Result {
        bool ok = false;
        QString error;               // when not ok: "<number> Form1::cmdZip_Click <description>"
        QStringList archiveMessages; // archives the archiver could not write, each shown in a plain box
        QString uploadArchive;       // path of "ziptest.zip"
    };

    static QString packingText() { return QStringLiteral("正在打包压缩数据..."); }
    static QString packedText() { return QStringLiteral("压缩完成。"); }
    static QString imagesArchiveName() { return QStringLiteral("images.zip"); }
    static QString uploadArchiveName() { return QStringLiteral("ziptest.zip"); }

    QString uploadArchivePath() const { return m_dataPath + uploadArchiveName(); }
    QString imagesArchivePath() const { return m_workPath + imagesArchiveName(); }

    // Packs these bytes in place of the file's current content: the database is
    // read on the thread that writes it, so that a save during packing cannot
    // put a half-written database into the archive.
    void useSnapshot(const QString& path, const QByteArray& bytes);

    // Builds both archives. False when an error stopped packing; errorText()
    // then holds the text to show.
    bool zipSiteData();
    // Builds only the upload archive of a sync: the workspace files named by
    // paths ("name", "images/name") under those names, and the manifest. False
    // when it could not be written.
    bool zipChanges(const QStringList& paths, const QByteArray& manifest);
    QString errorText() const { return m_error; }
    QStringList archiveMessages() const { return m_messages; }
    Result result() const { return {m_error.isEmpty(), m_error, m_messages, uploadArchivePath()}; }

    // True for names whose content is already compressed (.jpg, .jpeg, .gif, .png, .zip).
    static bool isStoredAsIs(const QString& fileName);
    // Deflate level for a file that is compressed: bitmaps are large and compress
    // well even at the fastest level, so they get level 1.
    static int deflateLevel(const QString& fileName);

    static bool isServerScript(const QString& fileName);

private:
    bool removeFile(const QString& path);
    struct Item {
        QString entryName;
        QString filePath;  // read from here, or from a snapshot of it
        QByteArray buffer; // when filePath is empty
    };
    // Writes the items into archivePath. Returns the archiver's message, empty on success.
    QString writeArchive(const QString& archivePath, const QList<Item>& items) const;
    // The regular files directly in sourceFolder.
    QString writeFolderArchive(const QString& archivePath, const QString& sourceFolder) const;
    bool fail(int number, const QString& description);

    QString m_dataPath;
    QString m_workPath;
    QString m_error;
    QStringList m_messages;
    QHash<QString, QByteArray> m_snapshots;
};
