#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// The workspace pictures a rendered site uses: each copied once, under a stable
// ASCII name, on first use. A missing or damaged picture is never copied; the
// first use notes it and every use gets "" so the page leaves it out. A picture
// that is there but cannot be read or copied (a full disk) is a failure.
class SitePictures {
public:
    SitePictures(const QString& workPath, const QString& outFolder, const QString& prefix, QStringList& notes);

    // The picture's address relative to the site ("pictures/a.jpg"), or "" when it cannot be used.
    // what names the use in the note.
    QString use(const QString& name, const QString& what);
    int copied() const { return m_copied; }
    qint64 bytes() const { return m_bytes; }
    // Why a picture could not be used, empty when all went well.
    QString failure() const { return m_failure; }

private:
    QString outputName(const QString& name);

    QString m_workPath;
    QString m_outFolder;
    QString m_prefix;
    QStringList& m_notes;
    QHash<QString, QString> m_used; // workspace name -> address, "" for refused
    QSet<QString> m_taken;          // output names, lower case
    int m_copied = 0;
    qint64 m_bytes = 0;
    QString m_failure;
};
