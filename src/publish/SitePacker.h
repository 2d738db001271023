#pragma once

#include <QObject>
#include <QString>

// Packs the workspace for upload: "images.zip" in the workspace from its
// "images" folder, then "ziptest.zip" in the application folder from the files
// lying directly in the workspace (the database, "images.zip", pictures ...).
// Pictures and archives are stored as they are; everything else is deflated.
class SitePacker : public QObject {
    Q_OBJECT
public:
    // Both paths end with "/".
    SitePacker(const QString& appPath, const QString& workPath, QObject* parent = nullptr);

    static QString packingText() { return QStringLiteral("正在打包压缩数据..."); }
    static QString packedText() { return QStringLiteral("压缩完成。"); }
    static QString imagesArchiveName() { return QStringLiteral("images.zip"); }
    static QString uploadArchiveName() { return QStringLiteral("ziptest.zip"); }

    QString uploadArchivePath() const { return m_appPath + uploadArchiveName(); }
    QString imagesArchivePath() const { return m_workPath + imagesArchiveName(); }

    // Builds both archives. False when an error stopped packing; errorText()
    // then holds the text to show ("<number> Form1::cmdZip_Click <description>").
    bool zipSiteData();
    QString errorText() const { return m_error; }

    // True for names whose content is already compressed (.jpg, .jpeg, .gif, .png, .zip).
    static bool isStoredAsIs(const QString& fileName);
    // Deflate level for a file that is compressed: bitmaps are large and compress
    // well even at the fastest level, so they get level 1.
    static int deflateLevel(const QString& fileName);

Q_SIGNALS:
    // Activity text for the status bar: packingText() at the start, packedText() at the end.
    void statusText(const QString& text);
    // The archiver could not write one archive; the text is shown in a plain box.
    void archiveMessage(const QString& text);

private:
    bool removeFile(const QString& path);
    bool removeAspFiles(const QString& folder);
    // Writes the regular files directly in sourceFolder into archivePath.
    // Returns the archiver's message, empty on success.
    QString writeArchive(const QString& archivePath, const QString& sourceFolder) const;
    bool fail(int number, const QString& description);

    QString m_appPath;
    QString m_workPath;
    QString m_error;
};
