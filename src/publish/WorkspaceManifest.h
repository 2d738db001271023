#pragma once

#include "publish/SyncManifest.h"

#include <QHash>
#include <QString>

// Content hashes of workspace files, kept by path, size and modification time
// in a file of the per-user data folder (never in the workspace, which is
// packed), so that a publish does not read unchanged pictures again. A file
// changed within two seconds of being hashed is hashed again next time: its
// time stamp cannot tell a later change in the same instant.
class HashCache {
public:
    explicit HashCache(const QString& file);
    static QString fileName() { return QStringLiteral("synchashes.txt"); }

    // The hash of the file at absolutePath; empty when it cannot be read.
    QByteArray hashOf(const QString& absolutePath);
    // Writes the entries asked for since loading (a file gone from the
    // workspace drops out). False when the file cannot be written.
    bool save() const;
    int computed() const { return m_computed; }

private:
    struct Item {
        qint64 size = 0;
        qint64 mtimeNs = 0;
        qint64 hashedAtMs = 0;
        QByteArray hash;
    };
    QString m_file;
    QHash<QString, Item> m_loaded;
    QHash<QString, Item> m_used;
    int m_computed = 0;
};

namespace WorkspaceManifest {

// The manifest of what a full upload of the workspace would publish: the files
// directly in workPath and in its "images" folder, without server scripts and
// without "images.zip" (made from the images folder). The database is hashed
// from the snapshot that will be packed. False when a file cannot be read or a
// name cannot travel in a manifest (the upload is then a full one).
bool build(const QString& workPath, const QString& dbPath, const QByteArray& dbSnapshot, HashCache& cache,
           SyncManifest::List* entries, QString* error);

} // namespace WorkspaceManifest
