#pragma once

#include <QString>

// Turns a received upload into the published site, all or nothing: the archive
// is unpacked into a staging folder beside the site, and only when every entry
// came out right does it replace DIR/sites/<name>/site/ and ziptest.zip.
namespace SitePublisher {

// A safe relative path for an archive entry, or empty when the entry would land
// outside the destination (absolute, drive letter, "..") or names nothing.
QString safeEntryPath(const QString& entryName);

// Unpacks zipPath into destDir (which must exist). Stops at the first unsafe or
// unreadable entry, or when more than maxTotal bytes would be written.
bool unpack(const QString& zipPath, const QString& destDir, qint64 maxTotal, QString* error);

// Publishes the archive at receivedPath (inside siteFolder) as siteFolder +
// "ziptest.zip" and siteFolder + "site/", the inner "images.zip" going to
// "site/images/". On failure nothing published before changes and the received
// file is removed.
bool publish(const QString& receivedPath, const QString& siteFolder, qint64 maxUnpacked, QString* error);

} // namespace SitePublisher
