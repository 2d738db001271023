#pragma once

#include <QString>

#include <functional>

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

// Moves a file or folder to a path that does not exist (or, for a file, over
// one); false when it could not.
using Move = std::function<bool(const QString& from, const QString& to)>;
bool moveEntry(const QString& from, const QString& to);

// Puts the folder staging in the place of target in two renames, the previous
// target going to retired (which must not exist) and staying there for the caller
// to remove. When a move fails the ones before it are undone, so target stays as
// it was; `what` names the folder in the error ("site", "rendering").
bool swapIn(const QString& staging, const QString& target, const QString& retired, const QString& what, QString* error,
            const Move& move = {});

// Fills the (existing, empty) staging folder with the new site; false with *error.
using Fill = std::function<bool(const QString& staging, QString* error)>;

// Publishes the archive at receivedPath (inside siteFolder) as siteFolder +
// "ziptest.zip" and siteFolder + "site/", the inner "images.zip" going to
// "site/images/" (or the staging as `fill` makes it). On failure the previous
// site and archive stay as they were and the received file is removed. Every
// move goes through `move` (moveEntry when empty). Safe to run on a worker
// thread; one publish per site at a time.
bool publish(const QString& receivedPath, const QString& siteFolder, qint64 maxUnpacked, QString* error,
             const Move& move = {}, const Fill& fill = {});

} // namespace SitePublisher
