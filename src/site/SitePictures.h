#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// The workspace pictures a rendered site uses: each copied once, under a stable
// ASCII name, on first use. A missing or unreadable picture is never copied; the
// first use notes it and every use gets "" so the page leaves it out.
class SitePictures {
public:
    SitePictures(const QString& workPath, const QString& outFolder, const QString& prefix, QStringList& notes);

    // The picture's address relative to the site ("pictures/a.jpg"), or "" when it cannot be used.
    // what names the use in the note.
    QString use(const QString& name, const QString& what);
    int copied() const { return m_copied; }

private:
    QString outputName(const QString& name);

    QString m_workPath;
    QString m_outFolder;
    QString m_prefix;
    QStringList& m_notes;
    QHash<QString, QString> m_used; // workspace name -> address, "" for refused
    QSet<QString> m_taken;          // output names, lower case
    int m_copied = 0;
};
