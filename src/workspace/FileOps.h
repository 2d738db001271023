#pragma once

#include <QString>

// File and folder operations with the failure's description for the user.
namespace FileOps {

// Copies every file and subfolder of src into dst (created when missing),
// replacing files of the same name, read-only ones included.
bool copyFolder(const QString& src, const QString& dst, QString* error);
// Copies one file, replacing the target (also when it is read-only).
bool copyFile(const QString& src, const QString& dst, QString* error);
// Copies one file without syncing it to disk, replacing the target: for output
// written in bulk (QFile::copy syncs every copy, which costs more than rendering
// a whole site). No description; false when it failed.
bool copyFileUnsynced(const QString& src, const QString& dst);
// Deletes one file, also when it is read-only; a missing file counts as deleted.
bool removeFile(const QString& path, QString* error);
// Deletes a folder with everything in it, read-only items included.
bool removeFolder(const QString& path, QString* error);
// Moves every entry of folder into target (created), leaving folder empty.
bool moveContents(const QString& folder, const QString& target, QString* error);
bool isEmptyFolder(const QString& path);

// Makes path durable: every file and folder under it, and path itself, is
// synced to the disk (fsync). Needed before a folder put together from copies
// takes the place of another: otherwise a power cut right after the swap can
// leave the new folder empty and the old one gone.
bool syncTree(const QString& path, QString* error);
// Syncs one file, or one folder's own entries (a rename in it), not what lies below.
bool syncEntry(const QString& path, QString* error);
// The call that syncs one open descriptor; tests replace it to see a failing disk.
extern int (*syncCall)(int fd);

} // namespace FileOps
