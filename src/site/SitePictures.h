#pragma once

#include "PictureVariants.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

// One picture as the site uses it.
struct SitePicture {
    QString src; // the original's address relative to the site ("pictures/a.jpg"), "" when it cannot be used
    QSize size;  // as a browser shows the original; invalid when its header does not tell
    QList<PictureVariants::Copy> copies; // resized copies, narrowest first, addressed below the pictures folder
    bool copiesTried = false;
};

// The workspace pictures a rendered site uses: each copied once, under a stable
// ASCII name, on first use. A missing or damaged picture is never copied; the
// first use notes it and every use gets "" so the page leaves it out. A picture
// that is there but cannot be read or copied (a full disk) is a failure.
// Content pictures also get resized copies (PictureVariants), on the first use
// that asks for them; a picture that cannot be resized keeps only its original.
class SitePictures {
public:
    // How a page shows a picture, which tells the browser which copy to fetch.
    enum class Shown { Content, Card, Full };

    SitePictures(const QString& workPath, const QString& outFolder, const QString& prefix, const QString& cacheFolder,
                 QStringList& notes);

    // The picture's address relative to the site ("pictures/a.jpg"), or "" when it cannot be used.
    // what names the use in the note.
    QString use(const QString& name, const QString& what) { return picture(name, what, false).src; }
    const SitePicture& picture(const QString& name, const QString& what, bool withCopies);
    // The picture's markup: an <img> with its size and, with copies, inside a <picture> offering
    // them in WebP and in its own format. attributes: the tag's others (alt), already escaped;
    // withSize: width and height from the picture (else attributes name them).
    QString html(const SitePicture& pic, Shown shown, const QString& attributes, bool withSize = true) const;
    int copied() const { return m_copied; }
    int resized() const { return m_variants.resized(); }
    qint64 bytes() const { return m_bytes; }
    // Why a picture could not be used, empty when all went well.
    QString failure() const { return m_failure; }
    // Keeps what the cache of resized copies learnt; after a rendering that succeeded.
    void finish() { m_variants.finish(); }

private:
    QString outputName(const QString& name);

    QString m_workPath;
    QString m_outFolder;
    QString m_prefix;
    QStringList& m_notes;
    PictureVariants m_variants;
    QHash<QString, SitePicture> m_used; // workspace name -> picture, src "" for refused
    QHash<QString, QString> m_outNames; // workspace name -> output name
    QSet<QString> m_taken;              // output names, lower case
    int m_copied = 0;
    qint64 m_bytes = 0;
    QString m_failure;
};
