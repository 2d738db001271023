#include "SyncManifest.h"

#include "publish/Protocol.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSet>
#include <QUrl>

namespace SyncManifest {

namespace {

QByteArray pathOnWire(const QString& path)
{
    return QUrl::toPercentEncoding(path, "/");
}

QString pathFromWire(const QByteArray& bytes)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(bytes));
}

bool validName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20 ||
            c.isSurrogate())
            return false;
    }
    return true;
}

} // namespace

QString archiveEntryName()
{
    return QStringLiteral(".weblark-sync-manifest");
}

bool isValidPath(const QString& path)
{
    if (path.size() > 1024 || path == archiveEntryName())
        return false;
    const int slash = path.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return validName(path);
    return path.left(slash) == QLatin1String("images") && validName(path.mid(slash + 1));
}

QByteArray encode(const List& entries)
{
    QByteArray out = "1\n";
    for (const Entry& e : entries)
        out += pathOnWire(e.path) + ' ' + QByteArray::number(e.size) + ' ' + hashText(e.hash) + '\n';
    return out;
}

bool decode(const QByteArray& payload, List* entries, QString* error)
{
    const auto fail = [&](const QString& why) {
        *error = why;
        return false;
    };
    if (payload.size() > kMaxBytes)
        return fail(QStringLiteral("manifest larger than %1 bytes").arg(kMaxBytes));
    if (!payload.startsWith("1\n") || !payload.endsWith('\n'))
        return fail(QStringLiteral("not a manifest of format 1"));
    List out;
    QSet<QString> seen;
    const QByteArray body = payload.mid(2);
    const QList<QByteArray> lines = body.isEmpty() ? QList<QByteArray>() : body.chopped(1).split('\n');
    if (lines.size() > kMaxEntries)
        return fail(QStringLiteral("more than %1 entries").arg(kMaxEntries));
    for (const QByteArray& line : lines) {
        const QList<QByteArray> f = line.split(' ');
        bool sizeOk = false;
        Entry e;
        if (f.size() == 3) {
            e.path = pathFromWire(f[0]);
            e.size = f[1].toLongLong(&sizeOk);
            e.hash = hashFromText(f[2]);
        }
        if (!sizeOk || e.size < 0 || f[1] != QByteArray::number(e.size) || e.hash.isEmpty())
            return fail(QStringLiteral("malformed manifest line \"%1\"").arg(QString::fromLatin1(line.left(120))));
        if (!isValidPath(e.path))
            return fail(QStringLiteral("path \"%1\" refused").arg(e.path.left(120)));
        if (seen.contains(e.path))
            return fail(QStringLiteral("path \"%1\" named twice").arg(e.path.left(120)));
        seen.insert(e.path);
        out << e;
    }
    *entries = out;
    return true;
}

QByteArray encodeNeed(const QStringList& paths)
{
    QByteArray out;
    for (const QString& p : paths)
        out += pathOnWire(p) + '\n';
    return out;
}

bool decodeNeed(const QByteArray& payload, QStringList* paths)
{
    QStringList out;
    if (!payload.isEmpty() && !payload.endsWith('\n'))
        return false;
    for (const QByteArray& line : payload.split('\n')) {
        if (line.isEmpty())
            continue;
        const QString path = pathFromWire(line);
        if (!isValidPath(path))
            return false;
        out << path;
    }
    *paths = out;
    return true;
}

QString offerMessage(const List& entries)
{
    return Protocol::tagText(Protocol::Tag::SyncManifest) + QString::fromLatin1(encode(entries));
}

QString needMessage(const QStringList& paths)
{
    return Protocol::tagText(Protocol::Tag::SyncNeed) + QString::fromLatin1(encodeNeed(paths));
}

QByteArray hashFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? hashDevice(&f) : QByteArray();
}

QByteArray hashDevice(QIODevice* device)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    return h.addData(device) ? h.result().left(kHashBytes) : QByteArray();
}

QByteArray hashBytes(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).left(kHashBytes);
}

namespace {
constexpr auto kBase64 = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;
}

QByteArray hashText(const QByteArray& hash)
{
    return hash.toBase64(kBase64);
}

QByteArray hashFromText(const QByteArray& text)
{
    const auto decoded = QByteArray::fromBase64Encoding(text, kBase64);
    // Only the one spelling: what is read is written back the same.
    if (!decoded || decoded.decoded.size() != kHashBytes || hashText(decoded.decoded) != text)
        return {};
    return decoded.decoded;
}

QString sentText(int files, qint64 bytes)
{
    const QString amount = bytes >= 1024 * 1024 ? QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + " MB"
                                                : QString::number(double(bytes) / 1024.0, 'f', 1) + " KB";
    return QStringLiteral("只上传了变化的文件：%1 个，%2").arg(files).arg(amount);
}

} // namespace SyncManifest
