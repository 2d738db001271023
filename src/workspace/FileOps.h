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

} // namespace FileOps
