#pragma once

#include <QByteArray>
#include <QString>

class SiteDb;

// Every file the program puts into the workspace folder (pictures of the
// pages, thumbnails, the logo, backgrounds, editor pictures and movies) goes
// through here, so that no file ever replaces a different one that a record
// names. The folder is flat and names are bare, ASCII as chosen.
namespace WorkspaceFiles {

struct Result {
    bool ok = false;
    QString fileName;     // the bare name the file has in the folder: what a record stores
    QString error;        // why it failed, for the user
    bool created = false; // a new file was written (false: an identical one was reused)
};

// A name a record may use for a file directly in the workspace folder: not
// empty, no "/" or "\", no "..", nothing hidden (no leading "."). Every name
// read from the database is checked with this before a file is read, copied
// or deleted by it.
bool isPlainName(const QString& name);

// "a.jpg", 2 -> "a_2.jpg": the number goes before the extension (the last dot).
QString numberedName(const QString& name, int n);

// Copies the file into folder (ending in "/") under its own name. A name taken
// by a different file (letter case ignored) gives way to the first free
// numbered name; a byte-identical file already there is reused, and so is the
// file itself when it was chosen from the folder. A failed copy leaves nothing behind.
Result copyIn(const QString& sourcePath, const QString& folder);
// The same for data made by the program (thumbnails), wanted under wantedName.
Result writeIn(const QByteArray& data, const QString& wantedName, const QString& folder);

// The one way a name read from the database is deleted: folder + name goes
// (also when read-only) only when name is plain and names a file there; any
// other name deletes nothing and the log says why. False with error set only
// when a deletion failed.
bool removeNamed(const QString& folder, const QString& name, QString* error = nullptr);

// True when a row of the settings or content tables names the file, as a bare
// name or inside stored HTML. A failed query counts as named: nothing is
// deleted on a guess.
bool isReferenced(const SiteDb& db, const QString& name);
// removeNamed, unless a record still names the file. False with error set only
// when a deletion failed.
bool removeIfUnused(const SiteDb& db, const QString& folder, const QString& name, QString* error = nullptr);

} // namespace WorkspaceFiles
