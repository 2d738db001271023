#pragma once

#include <QByteArray>
#include <QList>

// The rules the web side answers by, free of sockets: where a request target
// leads, what type, charset and caching a file is sent with, and how a
// conditional or range request is answered.
namespace HttpRules {

// Longest request target accepted; longer ones get 414.
constexpr int kMaxTargetLength = 2048;

// Where a request target leads. For status 200, `site` names the site as the
// URL spells it and `relPath` the file below the site's www folder, as raw bytes
// ("" or ending in "/" asks for a folder).
struct Target {
    int status = 404; // 200 (serve), 301 (to `location`), 400, 404, 414
    QByteArray site;
    QByteArray relPath;
    QByteArray location;
};

// Reads the raw (still percent-encoded) path of a request. With hostSite empty
// the first segment names the site (/<name>/...); otherwise the whole path lies
// inside hostSite. Anything that could step outside the site's folder is
// refused: "." and ".." segments, encoded slashes and backslashes, backslashes,
// NUL, empty segments, and site names that are not plain names.
Target resolve(const QByteArray& rawPath, const QByteArray& hostSite = {});

// The site a Host header names under siteDomain ("Name.sites.example.org:8080"
// under "sites.example.org" gives "Name"); empty when it names none, so the
// path form applies. *invalid is set when it is below the domain but no site name.
QByteArray siteOfHost(const QByteArray& host, const QByteArray& siteDomain, bool* invalid);

// The Content-Type sent for a file name (without charset for pages: that comes
// from the page itself).
QByteArray contentType(const QByteArray& fileName);
bool isPage(const QByteArray& fileName);
// Types worth a pre-compressed copy: pages, style sheets, scripts, JSON, SVG, XML.
bool isCompressible(const QByteArray& fileName);
// Pages and data revalidate on every visit; style sheets, scripts, pictures and
// fonts may be kept for maxAge seconds.
QByteArray cacheControl(const QByteArray& fileName, int maxAge);
// Whether an Accept-Encoding header accepts gzip (q=0 refuses it).
bool acceptsGzip(const QByteArray& acceptEncoding);

// HTTP dates (IMF-fixdate, always English, always GMT).
QByteArray httpDate(qint64 secsSinceEpoch);
// -1 when the text is no IMF-fixdate.
qint64 parseHttpDate(const QByteArray& text);

// What a file is answered with, given the request's conditional and range headers.
struct FileFacts {
    qint64 size = 0;
    qint64 mtime = 0; // seconds
    QByteArray etag;  // with its quotes
};
struct RequestHeaders {
    QByteArray ifNoneMatch, ifModifiedSince, range, ifRange;
};
struct Answer {
    int status = 200; // 200, 206, 304 or 416
    qint64 offset = 0;
    qint64 length = 0;
};
Answer answerFor(const FileFacts& file, const RequestHeaders& request);

} // namespace HttpRules
