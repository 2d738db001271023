#pragma once

#include "SitePublisher.h"
#include "publish/SyncManifest.h"

#include <QHash>
#include <QString>
#include <QStringList>

// The server's side of the sync of changed files (src/publish/SyncManifest.h).
//
// Beside each published site the server keeps DIR/sites/<name>/site.index: per
// file of the site its size, time stamp, inode and SHA-256, written after every
// publish, so that a manifest is answered from it and a few stat calls instead
// of reading the site. An entry whose file no longer matches its stamp counts
// as unknown.
//
// A sync upload holds the changed files and the manifest. The new site is built
// in the staging folder: the received files, and hard links to the published
// files the manifest names and the upload does not carry (the published site is
// never written to). Every manifest entry is checked, size and hash, before the
// swap; a file the manifest does not name is refused. Paths are opened beneath
// the site folder without following links, so no manifest reaches outside it.
namespace SiteSync {

struct Indexed {
    qint64 size = 0;
    qint64 mtimeNs = 0;
    quint64 inode = 0;
    QByteArray hash;
};
using Index = QHash<QString, Indexed>;

Index readIndex(const QString& siteFolder);
bool writeIndex(const QString& siteFolder, const Index& index, QString* error);
// Hashes every file of siteDir a manifest can name.
Index indexSite(const QString& siteDir);
// After a full publish: the index of the site folder's new site. When it cannot
// be written there is none, and the next upload is a full one.
void reindex(const QString& siteFolder);

// The manifest's paths that the published site of siteFolder lacks or holds
// with other contents. False (with *error) when there is no published site or
// no index of it: the program then uploads in full.
bool needed(const QString& siteFolder, const SyncManifest::List& manifest, QStringList* need, QString* error);

// Whether a received archive is a sync upload: it holds the manifest.
bool isSyncArchive(const QString& zipPath);

// Publishes a sync upload received at receivedPath as the site of siteFolder
// (SitePublisher::publish with the staging built as above) and writes its index.
bool publish(const QString& receivedPath, const QString& siteFolder, const SitePublisher::Budget& budget,
             QString* error);

} // namespace SiteSync
