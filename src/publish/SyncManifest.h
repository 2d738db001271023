#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

// The sync of changed files, an extension of the upload. After login and a site
// name the program offers "<#syncManifest#>" + the manifest of the files a full
// upload would publish; a server that knows the extension answers
// "<#syncNeed#>" + the paths it lacks or holds with other contents. The program
// then uploads, with "<#sendFileInfo#>N" as always, a zip of those files, the
// database and the manifest (entry archiveEntryName()); the server answers
// "<#syncDone#>" once the new site is in place, or "<#errMsg#>", after which
// the program uploads everything as described. A server that does not answer
// the offer within a few seconds gets the described upload.
//
// Manifest payload: "1\n" then one line per file, "path SP size SP hash\n",
// the hash being the first 128 bits of the content's SHA-256 in unpadded
// base64url (22 characters).
// Need payload: one path per line. Paths are percent-encoded UTF-8 ('/' kept),
// so no payload contains '<', a blank or a line break.
namespace SyncManifest {

struct Entry {
    QString path; // "name" or "images/name", as the full upload publishes it
    qint64 size = 0;
    QByteArray hash; // kHashBytes bytes
    bool operator==(const Entry& o) const { return path == o.path && size == o.size && hash == o.hash; }
};
using List = QList<Entry>;

// Bounds that keep a manifest inside one message of the server (1 MB).
constexpr int kMaxEntries = 10000;
constexpr qsizetype kMaxBytes = 960 * 1024;
constexpr int kHashBytes = 16;

// The manifest's name inside a sync upload; never a published file.
QString archiveEntryName();

// A path the sync may name: one file of the site's top folder or of its
// "images" folder. No "..", no absolute paths, no separators tricks.
bool isValidPath(const QString& path);

QByteArray encode(const List& entries);
// False (with *error) for anything malformed, over the bounds, or naming a path
// twice or one that isValidPath refuses.
bool decode(const QByteArray& payload, List* entries, QString* error);

QByteArray encodeNeed(const QStringList& paths);
bool decodeNeed(const QByteArray& payload, QStringList* paths);

QString offerMessage(const List& entries); // "<#syncManifest#>" + encode()
QString needMessage(const QStringList& paths);

// The hash of a file's or device's content; empty when it cannot be read.
QByteArray hashFile(const QString& path);
QByteArray hashDevice(QIODevice* device);
QByteArray hashBytes(const QByteArray& bytes);
// The hash as text, and back (empty when the text is not one).
QByteArray hashText(const QByteArray& hash);
QByteArray hashFromText(const QByteArray& text);

// The status line after a sync: "只上传了变化的文件：3 个，1.2 MB".
QString sentText(int files, qint64 bytes);

} // namespace SyncManifest
