#include "HttpRules.h"

#include "SiteStore.h"

#include <QHash>

#include <cstdio>
#include <ctime>

namespace HttpRules {

namespace {

QByteArray extensionOf(const QByteArray& fileName)
{
    const qsizetype dot = fileName.lastIndexOf('.');
    const qsizetype slash = fileName.lastIndexOf('/');
    return dot > slash ? fileName.mid(dot + 1).toLower() : QByteArray();
}

} // namespace

Target resolve(const QByteArray& rawPath, const QByteArray& hostSite)
{
    Target t;
    if (rawPath.size() > kMaxTargetLength) {
        t.status = 414;
        return t;
    }
    if (!rawPath.startsWith('/')) {
        t.status = 400;
        return t;
    }
    // An encoded slash, backslash or NUL only ever serves to sneak a separator
    // past a check; the plain backslash is no separator here but is refused too.
    const QByteArray lower = rawPath.toLower();
    if (lower.contains("%2f") || lower.contains("%5c") || lower.contains("%00") || rawPath.contains('\\'))
        return t;
    const QByteArray decoded = QByteArray::fromPercentEncoding(rawPath);
    if (decoded.contains('\\') || decoded.contains('\0'))
        return t;
    QList<QByteArray> segments = decoded.mid(1).split('/');
    if (hostSite.isEmpty()) {
        t.site = segments.takeFirst();
        if (segments.isEmpty()) {
            t.status = 301;
            t.location = '/' + t.site + '/';
        }
    } else {
        t.site = hostSite;
    }
    if (!SiteStore::isValidSiteName(QString::fromLatin1(t.site)))
        return Target();
    if (t.status == 301)
        return t;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        const QByteArray& s = segments.at(i);
        if ((s.isEmpty() && i != segments.size() - 1) || s == "." || s == "..")
            return Target();
    }
    t.status = 200;
    t.relPath = segments.join('/');
    return t;
}

QByteArray siteOfHost(const QByteArray& host, const QByteArray& siteDomain, bool* invalid)
{
    *invalid = false;
    if (siteDomain.isEmpty())
        return {};
    QByteArray name = host.toLower();
    if (name.startsWith('['))
        return {}; // an IPv6 address names no site
    const qsizetype colon = name.lastIndexOf(':');
    if (colon >= 0)
        name.truncate(colon);
    if (name.endsWith('.'))
        name.chop(1);
    const QByteArray suffix = '.' + siteDomain.toLower();
    if (!name.endsWith(suffix))
        return {};
    name.chop(suffix.size());
    *invalid = !SiteStore::isValidSiteName(QString::fromLatin1(name));
    return *invalid ? QByteArray() : name;
}

QByteArray contentType(const QByteArray& fileName)
{
    static const QHash<QByteArray, QByteArray> types = {
        {"htm", "text/html"},
        {"html", "text/html"},
        {"css", "text/css; charset=utf-8"},
        {"js", "text/javascript; charset=utf-8"},
        {"json", "application/json"},
        {"txt", "text/plain; charset=utf-8"},
        {"xml", "application/xml"},
        {"png", "image/png"},
        {"jpg", "image/jpeg"},
        {"jpeg", "image/jpeg"},
        {"gif", "image/gif"},
        {"bmp", "image/bmp"},
        {"webp", "image/webp"},
        {"svg", "image/svg+xml"},
        {"ico", "image/x-icon"},
        {"woff", "font/woff"},
        {"woff2", "font/woff2"},
        {"ttf", "font/ttf"},
        {"otf", "font/otf"},
        {"swf", "application/x-shockwave-flash"},
        {"pdf", "application/pdf"},
        {"mp3", "audio/mpeg"},
        {"mp4", "video/mp4"},
    };
    return types.value(extensionOf(fileName), "application/octet-stream");
}

bool isPage(const QByteArray& fileName)
{
    const QByteArray ext = extensionOf(fileName);
    return ext == "htm" || ext == "html";
}

bool isCompressible(const QByteArray& fileName)
{
    static const QList<QByteArray> kinds = {"htm", "html", "css", "js", "json", "svg", "xml"};
    return kinds.contains(extensionOf(fileName));
}

QByteArray cacheControl(const QByteArray& fileName, int maxAge)
{
    static const QList<QByteArray> kept = {"css", "js",  "png",  "jpg",   "jpeg", "gif", "bmp", "webp",
                                           "svg", "ico", "woff", "woff2", "ttf",  "otf", "swf"};
    if (kept.contains(extensionOf(fileName)))
        return "max-age=" + QByteArray::number(maxAge);
    return "no-cache";
}

bool acceptsGzip(const QByteArray& acceptEncoding)
{
    for (const QByteArray& item : acceptEncoding.split(',')) {
        const QList<QByteArray> parts = item.split(';');
        const QByteArray coding = parts.first().trimmed().toLower();
        if (coding != "gzip" && coding != "*")
            continue;
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QByteArray p = parts.at(i).trimmed().toLower();
            if (p.startsWith("q=") && p.mid(2).toDouble() <= 0)
                return false;
        }
        return true;
    }
    return false;
}

namespace {
const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
} // namespace

QByteArray httpDate(qint64 secsSinceEpoch)
{
    const time_t t = time_t(secsSinceEpoch);
    tm g{};
    gmtime_r(&t, &g);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[g.tm_wday], g.tm_mday,
                  kMonths[g.tm_mon], g.tm_year + 1900, g.tm_hour, g.tm_min, g.tm_sec);
    return buf;
}

qint64 parseHttpDate(const QByteArray& text)
{
    // "Sun, 06 Nov 1994 08:49:37 GMT"
    char day[4] = {}, month[4] = {}, zone[4] = {};
    int mday = 0, year = 0, hour = 0, min = 0, sec = 0;
    if (std::sscanf(text.constData(), "%3s, %d %3s %d %d:%d:%d %3s", day, &mday, month, &year, &hour, &min, &sec,
                    zone) != 8 ||
        qstrcmp(zone, "GMT") != 0)
        return -1;
    int mon = -1;
    for (int i = 0; i < 12; ++i) {
        if (qstrcmp(month, kMonths[i]) == 0)
            mon = i;
    }
    if (mon < 0 || mday < 1 || mday > 31 || year < 1970 || hour > 23 || min > 59 || sec > 60)
        return -1;
    tm g{};
    g.tm_mday = mday;
    g.tm_mon = mon;
    g.tm_year = year - 1900;
    g.tm_hour = hour;
    g.tm_min = min;
    g.tm_sec = sec;
    return qint64(timegm(&g));
}

namespace {

// If-None-Match compares weakly: W/"x" matches "x".
bool noneMatchHits(const QByteArray& header, const QByteArray& etag)
{
    for (QByteArray tag : header.split(',')) {
        tag = tag.trimmed();
        if (tag == "*")
            return true;
        if (tag.startsWith("W/"))
            tag = tag.mid(2);
        if (tag == etag)
            return true;
    }
    return false;
}

// One "bytes=first-last", "bytes=first-" or "bytes=-suffix". False when the
// header is anything else (several ranges, other units, garbage): the whole
// file is then sent, as a server may always do.
bool parseRange(const QByteArray& header, qint64 size, qint64* first, qint64* last, bool* satisfiable)
{
    if (!header.startsWith("bytes=") || header.contains(','))
        return false;
    const QByteArray bytes = header.mid(6).trimmed();
    const qsizetype dash = bytes.indexOf('-');
    if (dash < 0)
        return false;
    const QByteArray a = bytes.left(dash).trimmed(), b = bytes.mid(dash + 1).trimmed();
    bool okA = true, okB = true;
    const qint64 from = a.isEmpty() ? -1 : a.toLongLong(&okA);
    const qint64 to = b.isEmpty() ? -1 : b.toLongLong(&okB);
    if (!okA || !okB || (from < 0 && to < 0) || (a.isEmpty() && to < 0) || (from >= 0 && to >= 0 && to < from) ||
        a.startsWith('-') || b.startsWith('-') || a.startsWith('+') || b.startsWith('+'))
        return false;
    if (from < 0) { // the last `to` bytes
        *satisfiable = to > 0 && size > 0;
        *first = qMax<qint64>(0, size - to);
        *last = size - 1;
        return true;
    }
    *satisfiable = from < size;
    *first = from;
    *last = to < 0 ? size - 1 : qMin(to, size - 1);
    return true;
}

} // namespace

Answer answerFor(const FileFacts& file, const RequestHeaders& request)
{
    Answer a;
    a.length = file.size;
    if (!request.ifNoneMatch.isEmpty()) {
        if (noneMatchHits(request.ifNoneMatch, file.etag))
            a.status = 304;
    } else if (!request.ifModifiedSince.isEmpty()) {
        const qint64 since = parseHttpDate(request.ifModifiedSince);
        if (since >= 0 && file.mtime <= since)
            a.status = 304;
    }
    if (a.status == 304 || request.range.isEmpty())
        return a;
    // If-Range: the range only applies to the representation the client has.
    if (!request.ifRange.isEmpty() && request.ifRange != file.etag &&
        !(request.ifRange == httpDate(file.mtime) && !request.ifRange.startsWith('"')))
        return a;
    qint64 first = 0, last = 0;
    bool satisfiable = false;
    if (!parseRange(request.range, file.size, &first, &last, &satisfiable))
        return a;
    if (!satisfiable) {
        a.status = 416;
        a.length = 0;
        return a;
    }
    a.status = 206;
    a.offset = first;
    a.length = last - first + 1;
    return a;
}

} // namespace HttpRules
