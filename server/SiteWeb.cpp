#include "SiteWeb.h"

#include "SitePublisher.h"
#include "SiteStore.h"
#include "site/SiteRenderer.h"

#include <QAbstractHttpServer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpServer>
#include <QThread>
#include <QUrl>

#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SiteWeb {

Target resolve(const QByteArray& rawPath)
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
    const QList<QByteArray> segments = decoded.mid(1).split('/');
    const QString site = QString::fromUtf8(segments.first());
    if (!SiteStore::isValidSiteName(site))
        return t;
    t.site = site;
    if (segments.size() == 1) {
        t.status = 301;
        t.location = '/' + segments.first() + '/';
        return t;
    }
    QStringList rest;
    for (qsizetype i = 1; i < segments.size(); ++i) {
        const QByteArray& s = segments.at(i);
        const bool last = i == segments.size() - 1;
        if ((s.isEmpty() && !last) || s == "." || s == "..")
            return t;
        rest << QString::fromUtf8(s);
    }
    t.status = 200;
    t.relPath = rest.join(QLatin1Char('/'));
    return t;
}

QByteArray contentType(const QString& fileName)
{
    static const QHash<QString, QByteArray> types = {
        {QStringLiteral("htm"), "text/html; charset=utf-8"},
        {QStringLiteral("html"), "text/html; charset=utf-8"},
        {QStringLiteral("css"), "text/css; charset=utf-8"},
        {QStringLiteral("js"), "text/javascript; charset=utf-8"},
        {QStringLiteral("json"), "application/json"},
        {QStringLiteral("txt"), "text/plain; charset=utf-8"},
        {QStringLiteral("xml"), "application/xml"},
        {QStringLiteral("png"), "image/png"},
        {QStringLiteral("jpg"), "image/jpeg"},
        {QStringLiteral("jpeg"), "image/jpeg"},
        {QStringLiteral("gif"), "image/gif"},
        {QStringLiteral("bmp"), "image/bmp"},
        {QStringLiteral("webp"), "image/webp"},
        {QStringLiteral("svg"), "image/svg+xml"},
        {QStringLiteral("ico"), "image/x-icon"},
        {QStringLiteral("woff"), "font/woff"},
        {QStringLiteral("woff2"), "font/woff2"},
        {QStringLiteral("ttf"), "font/ttf"},
        {QStringLiteral("otf"), "font/otf"},
        {QStringLiteral("swf"), "application/x-shockwave-flash"},
        {QStringLiteral("pdf"), "application/pdf"},
        {QStringLiteral("mp3"), "audio/mpeg"},
        {QStringLiteral("mp4"), "video/mp4"},
    };
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const int slash = fileName.lastIndexOf(QLatin1Char('/'));
    if (dot > slash)
        return types.value(fileName.mid(dot + 1).toLower(), "application/octet-stream");
    return "application/octet-stream";
}

bool renderWww(const QString& siteFolder, const QString& appPath, QString* error, QString* summary)
{
    const QString source = siteFolder + QStringLiteral("site/");
    const QString www = siteFolder + QStringLiteral("www");
    const QString staging = siteFolder + QStringLiteral("www.staging");
    const QString retired = siteFolder + QStringLiteral("www.retired");
    QDir(staging).removeRecursively();
    QDir(retired).removeRecursively();
    if (!QDir().mkpath(staging)) {
        *error = QStringLiteral("cannot create %1").arg(staging);
        return false;
    }
    const SiteRenderResult result = renderSite(SiteRenderRequest::forWorkspace(
        source, appPath.endsWith(QLatin1Char('/')) ? appPath : appPath + QLatin1Char('/'), staging + QLatin1Char('/')));
    if (!result.ok) {
        *error = result.error.isEmpty() ? QStringLiteral("rendering failed") : result.error;
        QDir(staging).removeRecursively();
        return false;
    }
    // Two renames: between them, for a moment, the site answers 404 rather than
    // a mixture of old and new pages.
    if (!SitePublisher::swapIn(staging, www, retired, QStringLiteral("rendering"), error)) {
        QDir(staging).removeRecursively();
        return false;
    }
    QDir(retired).removeRecursively();
    *summary = QStringLiteral("%1 pages, %2 pictures").arg(result.pages).arg(result.pictures);
    for (const QString& note : result.notes)
        *summary += QStringLiteral("; ") + note;
    return true;
}

} // namespace SiteWeb

namespace {

QByteArray statusText(int status)
{
    switch (status) {
    case 200:
        return "200 OK";
    case 301:
        return "301 Moved Permanently";
    case 400:
        return "400 Bad Request";
    case 405:
        return "405 Method Not Allowed";
    case 414:
        return "414 URI Too Long";
    default:
        return "404 Not Found";
    }
}

// One file as last read: sent again while its inode, size and time are unchanged.
struct CachedFile {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    qint64 mtimeNs = 0;
    QByteArray type;
    QByteArray body;
};

constexpr qint64 kCacheFileLimit = 1024 * 1024;
constexpr qint64 kCacheTotalLimit = 64 * 1024 * 1024;

QByteArray realPath(const QByteArray& path)
{
    char buf[PATH_MAX];
    return ::realpath(path.constData(), buf) ? QByteArray(buf) : QByteArray();
}

// One listening socket per worker, all on the same port: the kernel spreads the
// connections over them.
int openListener(const QHostAddress& address, quint16 port, QString* error)
{
    sockaddr_storage ss{};
    socklen_t len = 0;
    const bool v6 = address.protocol() == QAbstractSocket::IPv6Protocol;
    if (v6) {
        auto* a = reinterpret_cast<sockaddr_in6*>(&ss);
        a->sin6_family = AF_INET6;
        a->sin6_port = htons(port);
        const Q_IPV6ADDR ip = address.toIPv6Address();
        std::memcpy(&a->sin6_addr, ip.c, 16);
        len = sizeof(sockaddr_in6);
    } else {
        auto* a = reinterpret_cast<sockaddr_in*>(&ss);
        a->sin_family = AF_INET;
        a->sin_port = htons(port);
        a->sin_addr.s_addr = htonl(address.toIPv4Address());
        len = sizeof(sockaddr_in);
    }
    const int fd = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int one = 1;
    if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0 ||
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEPORT, &one, sizeof one) != 0 ||
        ::bind(fd, reinterpret_cast<sockaddr*>(&ss), len) != 0 || ::listen(fd, 1024) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

quint16 boundPort(int fd)
{
    sockaddr_storage ss{};
    socklen_t len = sizeof ss;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&ss), &len);
    return ss.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&ss)->sin6_port)
                                    : ntohs(reinterpret_cast<sockaddr_in*>(&ss)->sin_port);
}

} // namespace

struct SiteWebServer::Worker : QAbstractHttpServer {
    QByteArray sitesDir; // ends with "/"
    QHash<QByteArray, CachedFile> cache;
    qint64 cached = 0;

    explicit Worker(const QString& dir) : sitesDir(QFile::encodeName(dir)) {}

    void respond(QHttpServerResponder& r, bool head, int status, const QByteArray& type, const QByteArray& body,
                 const QByteArray& location = {})
    {
        r.writeStatusLine(QHttpServerResponder::StatusCode(status));
        r.writeHeader("Content-Type", type);
        r.writeHeader("Content-Length", QByteArray::number(body.size()));
        if (!location.isEmpty())
            r.writeHeader("Location", location);
        if (status == 405)
            r.writeHeader("Allow", "GET, HEAD");
        r.writeHeader("X-Content-Type-Options", "nosniff");
        r.writeBody(head ? QByteArray() : body);
    }
    void fail(QHttpServerResponder& r, bool head, int status, const QByteArray& location = {})
    {
        const QByteArray text = statusText(status);
        respond(r, head, status, "text/html; charset=utf-8",
                "<!DOCTYPE html><html><head><title>" + text + "</title></head><body><h1>" + text +
                    "</h1></body></html>\n",
                location);
    }

    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        QHttpServerResponder r = makeResponder(request, socket);
        const auto method = request.method();
        const bool head = method == QHttpServerRequest::Method::Head;
        if (method != QHttpServerRequest::Method::Get && !head) {
            fail(r, head, 405);
            return true;
        }
        SiteWeb::Target t = SiteWeb::resolve(request.url().path(QUrl::FullyEncoded).toUtf8());
        const QByteArray root = sitesDir + QFile::encodeName(t.site) + "/www/";
        struct stat st {};
        if (t.status == 301 && ::stat(root.constData(), &st) != 0)
            t.status = 404; // no such site: nothing to send the visitor on to
        if (t.status != 200) {
            fail(r, head, t.status, t.location);
            return true;
        }
        QByteArray path = root + QFile::encodeName(t.relPath);
        if (t.relPath.isEmpty() || t.relPath.endsWith(QLatin1Char('/')))
            path += "index.htm";
        if (::stat(path.constData(), &st) != 0) {
            fail(r, head, 404);
            return true;
        }
        if (S_ISDIR(st.st_mode)) {
            // A folder named without its slash: relative links inside it need one.
            fail(r, head, 301, request.url().path(QUrl::FullyEncoded).toUtf8() + '/');
            return true;
        }
        if (!S_ISREG(st.st_mode)) {
            fail(r, head, 404);
            return true;
        }
        const qint64 mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        auto it = cache.find(path);
        if (it != cache.end() && it->dev == st.st_dev && it->ino == st.st_ino && it->size == st.st_size &&
            it->mtimeNs == mtimeNs) {
            respond(r, head, 200, it->type, it->body);
            return true;
        }
        // Only a file whose real path lies inside the site's www folder is served,
        // whatever links lead there.
        const QByteArray real = realPath(path);
        const QByteArray realRoot = realPath(root);
        if (real.isEmpty() || realRoot.isEmpty() || !real.startsWith(realRoot + '/')) {
            fail(r, head, 404);
            return true;
        }
        QFile f(QFile::decodeName(path));
        if (!f.open(QIODevice::ReadOnly)) {
            fail(r, head, 404);
            return true;
        }
        CachedFile file;
        file.dev = st.st_dev;
        file.ino = st.st_ino;
        file.size = st.st_size;
        file.mtimeNs = mtimeNs;
        file.type = SiteWeb::contentType(t.relPath.isEmpty() ? QStringLiteral("index.htm") : t.relPath);
        file.body = f.readAll();
        respond(r, head, 200, file.type, file.body);
        if (file.body.size() <= kCacheFileLimit && file.body.size() == st.st_size) {
            if (it != cache.end())
                cached -= it->body.size();
            if (cached + file.body.size() > kCacheTotalLimit) {
                cache.clear();
                cached = 0;
            }
            cached += file.body.size();
            cache.insert(path, std::move(file));
        }
        return true;
    }
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        QHttpServerResponder r = makeResponder(request, socket);
        fail(r, request.method() == QHttpServerRequest::Method::Head, 404);
    }
};

SiteWebServer::SiteWebServer(const QString& sitesDir, QObject* parent)
    : QObject(parent), m_sitesDir(QDir(sitesDir).absolutePath() + QLatin1Char('/'))
{
}

SiteWebServer::~SiteWebServer()
{
    for (QThread* t : std::as_const(m_threads)) {
        t->quit();
        t->wait();
        delete t;
    }
}

bool SiteWebServer::listen(const QHostAddress& address, quint16 port, int threads, QString* error)
{
    for (int i = 0; i < qMax(1, threads); ++i) {
        const int fd = openListener(address, port, error);
        if (fd < 0)
            return false;
        port = boundPort(fd); // the others join the port the first one got
        auto* thread = new QThread;
        thread->setObjectName(QStringLiteral("http-%1").arg(i));
        auto* worker = new Worker(m_sitesDir);
        worker->moveToThread(thread);
        QObject::connect(thread, &QThread::finished, worker, &QObject::deleteLater);
        thread->start();
        m_threads << thread;
        // The socket's notifiers belong to the thread that serves it.
        QMetaObject::invokeMethod(
            worker,
            [worker, fd] {
                auto* tcp = new QTcpServer(worker);
                tcp->setSocketDescriptor(fd);
                worker->bind(tcp);
            },
            Qt::BlockingQueuedConnection);
    }
    m_port = port;
    return true;
}
