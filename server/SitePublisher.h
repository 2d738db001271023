#pragma once

#include <QString>

#include <atomic>
#include <functional>

// Turns a received upload into the published site, all or nothing: the archive
// is unpacked into a staging folder beside the site, and only when every entry
// came out right does it replace DIR/sites/<name>/site/ and ziptest.zip.
namespace SitePublisher {

// A safe relative path for an archive entry, or empty when the entry would land
// outside the destination (absolute, drive letter, "..") or names nothing.
QString safeEntryPath(const QString& entryName);

// What one upload may unpack, its inner images.zip included: bytes written and
// entries (files and folders) made. Each unpack takes its share from it.
struct Budget {
    qint64 bytes = 0;
    qint64 entries = 0;
    const std::atomic<bool>* cancel = nullptr; // set when the server stops: the unpack gives up
};

// Unpacks zipPath into destDir (which must exist). Stops at the first unsafe or
// unreadable entry, or when the budget runs out.
bool unpack(const QString& zipPath, const QString& destDir, Budget& budget, QString* error);

// Moves a file or folder to a path that does not exist (or, for a file, over
// one); with exchange, swaps two existing paths in one step (renameat2). False
// when it could not.
using Move = std::function<bool(const QString& from, const QString& to, bool exchange)>;
bool moveEntry(const QString& from, const QString& to, bool exchange = false);

// Puts the folder staging in the place of target, the previous target going to
// retired (which must not exist) and staying there for the caller to remove.
// The two are exchanged in one step, so target never goes missing; on a file
// system that cannot exchange, two renames, and when the second fails the first
// is undone. `what` names the folder in the error ("site", "rendering").
bool swapIn(const QString& staging, const QString& target, const QString& retired, const QString& what, QString* error,
            const Move& move = {});

// Fills the (existing, empty) staging folder with the new site; false with *error.
using Fill = std::function<bool(const QString& staging, Budget& budget, QString* error)>;

// Publishes the archive at receivedPath (inside siteFolder) as siteFolder +
// "ziptest.zip" and siteFolder + "site/", the inner "images.zip" going to
// "site/images/", the two taking from one budget (or the staging as `fill`
// makes it). On failure the previous site and archive stay as they were and the
// received file is removed. Every move goes through `move` (moveEntry when
// empty). Safe to run on a worker thread; one publish per site at a time.
bool publish(const QString& receivedPath, const QString& siteFolder, Budget budget, QString* error,
             const Move& move = {}, const Fill& fill = {});

} // namespace SitePublisher
