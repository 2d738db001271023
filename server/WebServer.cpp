#include "WebServer.h"

#include "HttpRules.h"
#include "SiteStore.h"
#include "text/HtmlCharset.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <microhttpd.h>
#include <mutex>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <unordered_set>
#include <vector>

using namespace HttpRules;

namespace {

qint64 nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One connection as the reaper sees it: the request head must be complete by
// `deadline` (0 while a request is being answered).
struct Conn {
    int fd = -1;
    std::atomic<qint64> deadline{0};
};

// Closes a descriptor when it goes out of scope.
struct Fd {
    int fd = -1;
    explicit Fd(int f = -1) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { reset(); }
    void reset(int f = -1)
    {
        if (fd >= 0)
            ::close(fd);
        fd = f;
    }
    int release() { return std::exchange(fd, -1); }
};

// Opens path below the folder dirFd and never outside it, whatever links or
// ".." lead there (the kernel checks every step). Non-blocking, so a FIFO
// cannot hold the thread; only regular files are ever read.
int openBeneath(int dirFd, const QByteArray& path)
{
    open_how how{};
    how.flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    const int fd = int(::syscall(SYS_openat2, dirFd, path.constData(), &how, sizeof how));
    if (fd >= 0 || (errno != ENOSYS && errno != EPERM))
        return fd;
    // A kernel without openat2: the real path must lie inside the folder.
    char dir[PATH_MAX], real[PATH_MAX];
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(dirFd);
    const ssize_t n = ::readlink(self.constData(), dir, sizeof dir - 1);
    if (n <= 0)
        return -1;
    dir[n] = 0;
    const QByteArray full = QByteArray(dir) + '/' + path;
    if (!::realpath(full.constData(), real) || !QByteArray(real).startsWith(QByteArray(dir) + '/'))
        return -1;
    return ::open(real, int(how.flags));
}

QByteArray statusBody(int status)
{
    const QByteArray text = QByteArray::number(status) + ' ' + MHD_get_reason_phrase_for(unsigned(status));
    return "<!DOCTYPE html><html><head><title>" + text + "</title></head><body><h1>" + text + "</h1></body></html>\n";
}

void addHeader(MHD_Response* r, const char* name, const QByteArray& value)
{
    MHD_add_response_header(r, name, value.constData());
}

MHD_Result queue(MHD_Connection* c, int status, MHD_Response* r)
{
    if (!r)
        return MHD_NO;
    addHeader(r, "X-Content-Type-Options", "nosniff");
    const MHD_Result ok = MHD_queue_response(c, unsigned(status), r);
    MHD_destroy_response(r);
    return ok;
}

// A short page for an error or a redirect. close: the connection ends after it
// (the request was malformed, or its body was left unread).
MHD_Result queueStatus(MHD_Connection* c, int status, const QByteArray& location = {}, bool close = false)
{
    const QByteArray body = statusBody(status);
    MHD_Response* r = MHD_create_response_from_buffer(size_t(body.size()), const_cast<char*>(body.constData()),
                                                      MHD_RESPMEM_MUST_COPY);
    if (!r)
        return MHD_NO;
    addHeader(r, "Content-Type", "text/html; charset=utf-8");
    if (!location.isEmpty())
        addHeader(r, "Location", location);
    if (status == 405)
        addHeader(r, "Allow", "GET, HEAD");
    if (close)
        addHeader(r, "Connection", "close");
    return queue(c, status, r);
}

QByteArray header(MHD_Connection* c, const char* name)
{
    return QByteArray(MHD_lookup_connection_value(c, MHD_HEADER_KIND, name));
}

QByteArray hex(quint64 n)
{
    return QByteArray::number(n, 16);
}

// The socket the web side listens on; handed to the library, which closes it.
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
    // Connections beyond the limit wait in the backlog until a place is free.
    if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0 ||
        ::bind(fd, reinterpret_cast<sockaddr*>(&ss), len) != 0 || ::listen(fd, SOMAXCONN) != 0) {
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

// A server started with the common soft limit of 1,024 descriptors takes what
// the hard limit allows (capped: nothing here needs more).
rlim_t raiseDescriptorLimit()
{
    rlimit r{};
    if (::getrlimit(RLIMIT_NOFILE, &r) != 0)
        return 1024;
    const rlim_t want = qMin<rlim_t>(r.rlim_max, 65536);
    if (r.rlim_cur < want) {
        r.rlim_cur = want;
        if (::setrlimit(RLIMIT_NOFILE, &r) != 0)
            ::getrlimit(RLIMIT_NOFILE, &r);
    }
    return r.rlim_cur;
}

// The charset of a page, remembered per thread for the file as it is (its inode
// and modification time), so a page is not read again on every request.
QByteArray pageCharset(int fd, const struct stat& st)
{
    struct Known {
        qint64 mtimeNs;
        QByteArray charset;
    };
    thread_local QHash<QPair<quint64, quint64>, Known> known;
    const QPair<quint64, quint64> key(st.st_dev, st.st_ino);
    const qint64 mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    const auto it = known.constFind(key);
    if (it != known.cend() && it->mtimeNs == mtimeNs)
        return it->charset;
    char head[HtmlCharset::kPrescanBytes];
    const ssize_t n = ::pread(fd, head, sizeof head, 0);
    const QByteArray charset = HtmlCharset::of(QByteArray(head, int(qMax<ssize_t>(n, 0))));
    if (known.size() >= 4096)
        known.clear();
    known.insert(key, {mtimeNs, charset});
    return charset;
}

char kRequestRead; // the request's state once its head is accepted: its body, if any, is read and dropped

} // namespace

struct SiteWebServer::Private {
    SiteWebServer* q;
    QByteArray sitesDir; // ends with "/"
    WebOptions options;
    QByteArray siteDomain;
    int limit = 0;
    quint16 port = 0;
    MHD_Daemon* daemon = nullptr;

    // Open connections, watched by the reaper for request heads that take too long.
    std::mutex connMutex;
    std::unordered_set<Conn*> conns;
    std::condition_variable wake;
    bool stopping = false;
    std::thread reaper;

    // The site folders: lower-case name -> name as claimed, read again when the
    // folder holding them changes.
    std::mutex namesMutex;
    timespec namesTime{};
    QHash<QByteArray, QByteArray> names;

    struct LogCount {
        qint64 last = 0;
        int times = 0;
    };
    std::mutex logMutex;
    QHash<QString, LogCount> logCounts;

    void reap();
    QByteArray storedName(const QByteArray& name);
    MHD_Result answer(MHD_Connection* c, const char* url, const char* version);
    MHD_Result serve(MHD_Connection* c, const QByteArray& rawPath, const QByteArray& hostSite);
    MHD_Result sendFile(MHD_Connection* c, int rootFd, const QByteArray& rel, Fd& fd, struct stat st, int status);
    MHD_Result notFound(MHD_Connection* c, int rootFd, const QByteArray& rel);

    static MHD_Result onAccess(void* cls, MHD_Connection* c, const char* url, const char* method, const char* version,
                               const char* upload, size_t* uploadSize, void** state);
    static void onConnection(void* cls, MHD_Connection* c, void** socketContext, MHD_ConnectionNotificationCode code);
    static void onCompleted(void* cls, MHD_Connection* c, void** state, MHD_RequestTerminationCode code);
    static size_t keepEscapes(void*, MHD_Connection*, char* s) { return std::strlen(s); }
    static void onLibraryLog(void* cls, const char* format, va_list ap);
};

void SiteWebServer::Private::reap()
{
    std::unique_lock<std::mutex> lock(connMutex);
    qint64 closed = 0, lastLog = 0;
    while (!stopping) {
        wake.wait_for(lock, std::chrono::seconds(1));
        const qint64 now = nowMs();
        for (Conn* c : conns) {
            const qint64 deadline = c->deadline.load();
            if (deadline && deadline < now) {
                // The library sees the end of the stream and closes the connection itself.
                ::shutdown(c->fd, SHUT_RDWR);
                c->deadline = 0;
                ++closed;
            }
        }
        // At most one line a minute, so a slow attack cannot flood the log.
        if (closed && now - lastLog >= 60000) {
            Q_EMIT q->logLine(QStringLiteral("http: %1 connection(s) closed: no complete request within %2 s")
                                  .arg(closed)
                                  .arg(options.headerTimeoutS));
            closed = 0;
            lastLog = now;
        }
    }
}

QByteArray SiteWebServer::Private::storedName(const QByteArray& name)
{
    struct stat st {};
    if (::stat(sitesDir.constData(), &st) != 0)
        return {};
    std::lock_guard<std::mutex> lock(namesMutex);
    if (st.st_mtim.tv_sec != namesTime.tv_sec || st.st_mtim.tv_nsec != namesTime.tv_nsec) {
        names.clear();
        if (DIR* dir = ::opendir(sitesDir.constData())) {
            while (const dirent* e = ::readdir(dir)) {
                const QByteArray n(e->d_name);
                if (SiteStore::isValidSiteName(QString::fromLatin1(n)))
                    names.insert(n.toLower(), n);
            }
            ::closedir(dir);
        }
        namesTime = st.st_mtim;
    }
    return names.value(name.toLower());
}

MHD_Result SiteWebServer::Private::onAccess(void* cls, MHD_Connection* c, const char* url, const char* method,
                                            const char* version, const char*, size_t* uploadSize, void** state)
{
    auto* d = static_cast<Private*>(cls);
    if (*state == &kRequestRead) {
        if (*uploadSize) { // a small body nobody needs: dropped as it comes
            *uploadSize = 0;
            return MHD_YES;
        }
        return d->answer(c, url, version);
    }
    // The head is complete. Answering before the request is read to its end closes
    // the connection afterwards, which is what a refused body needs: it is never read.
    const bool getOrHead =
        std::strcmp(method, MHD_HTTP_METHOD_GET) == 0 || std::strcmp(method, MHD_HTTP_METHOD_HEAD) == 0;
    if (!getOrHead)
        return queueStatus(c, 405);
    const QByteArray length = header(c, MHD_HTTP_HEADER_CONTENT_LENGTH);
    bool ok = true;
    const qint64 n = length.isEmpty() ? 0 : length.toLongLong(&ok);
    if (!header(c, MHD_HTTP_HEADER_TRANSFER_ENCODING).isEmpty() || !ok || n < 0 || n > WebLimits::kBodyOfGet)
        return queueStatus(c, 413);
    *state = &kRequestRead;
    return MHD_YES;
}

MHD_Result SiteWebServer::Private::answer(MHD_Connection* c, const char* url, const char* version)
{
    if (const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_SOCKET_CONTEXT)) {
        if (auto* conn = static_cast<Conn*>(info->socket_context))
            conn->deadline = 0;
    }
    struct Head {
        int count = 0;
        size_t longest = 0;
        int hosts = 0;
    } head;
    MHD_get_connection_values_n(
        c, MHD_HEADER_KIND,
        [](void* cls, MHD_ValueKind, const char* key, size_t keySize, const char*, size_t valueSize) {
            auto* h = static_cast<Head*>(cls);
            ++h->count;
            h->longest = qMax(h->longest, keySize + 2 + valueSize);
            if (keySize == 4 && strncasecmp(key, "host", 4) == 0)
                ++h->hosts;
            return MHD_YES;
        },
        &head);
    if (head.count > WebLimits::kHeaders || head.longest > size_t(WebLimits::kHeaderLine))
        return queueStatus(c, 431, {}, true);
    // HTTP/1.1 requires exactly one Host.
    if (head.hosts > 1 || (head.hosts == 0 && std::strcmp(version, MHD_HTTP_VERSION_1_1) == 0))
        return queueStatus(c, 400, {}, true);

    bool badHost = false;
    const QByteArray hostSite = siteOfHost(header(c, MHD_HTTP_HEADER_HOST), siteDomain, &badHost);
    if (badHost)
        return queueStatus(c, 404);
    return serve(c, QByteArray(url), hostSite);
}

MHD_Result SiteWebServer::Private::serve(MHD_Connection* c, const QByteArray& rawPath, const QByteArray& hostSite)
{
    const Target t = resolve(rawPath, hostSite);
    if (t.status != 200 && t.status != 301)
        return queueStatus(c, t.status, {}, t.status != 404);
    Fd root(::open((sitesDir + t.site + "/www").constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (root.fd < 0) {
        // Names are claimed without regard to case: a host name reaches the site
        // as it is, a path is sent on to the claimed spelling.
        const QByteArray stored = errno == ENOENT ? storedName(t.site) : QByteArray();
        if (stored.isEmpty() || stored == t.site)
            return queueStatus(c, 404);
        if (hostSite.isEmpty())
            return queueStatus(c, 301, '/' + stored + (t.status == 301 ? "/" : rawPath.mid(rawPath.indexOf('/', 1))));
        root.reset(::open((sitesDir + stored + "/www").constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (root.fd < 0)
            return queueStatus(c, 404);
    }
    if (t.status == 301)
        return queueStatus(c, 301, t.location);
    const bool folder = t.relPath.isEmpty() || t.relPath.endsWith('/');
    const QByteArray rel = folder ? t.relPath + "index.htm" : t.relPath;
    Fd fd(openBeneath(root.fd, rel));
    struct stat st {};
    if (fd.fd < 0 || ::fstat(fd.fd, &st) != 0)
        return notFound(c, root.fd, rel);
    if (S_ISDIR(st.st_mode)) // a folder named without its slash: relative links inside it need one
        return queueStatus(c, 301, rawPath + '/');
    if (!S_ISREG(st.st_mode))
        return notFound(c, root.fd, rel);
    return sendFile(c, root.fd, rel, fd, st, 200);
}

// A missing path inside a site gets the site's own 404.htm when it has one. Its
// links are relative to the site's root, so below a folder (rel, the path asked
// for) it is sent with a <base> that leads back there.
MHD_Result SiteWebServer::Private::notFound(MHD_Connection* c, int rootFd, const QByteArray& rel)
{
    Fd fd(openBeneath(rootFd, "404.htm"));
    struct stat st {};
    if (fd.fd < 0 || ::fstat(fd.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return queueStatus(c, 404);
    const qsizetype depth = rel.count('/');
    constexpr qint64 kLargestRebased = 1 << 20;
    if (depth == 0 || st.st_size > kLargestRebased)
        return sendFile(c, rootFd, "404.htm", fd, st, 404);
    QByteArray page(qsizetype(st.st_size), Qt::Uninitialized);
    if (::pread(fd.fd, page.data(), size_t(page.size()), 0) != st.st_size)
        return queueStatus(c, 404);
    const qsizetype head = page.indexOf("<head>");
    page.insert(head < 0 ? 0 : head + 6, "<base href=\"" + QByteArray("../").repeated(depth) + "\">");
    MHD_Response* r = MHD_create_response_from_buffer(size_t(page.size()), const_cast<char*>(page.constData()),
                                                      MHD_RESPMEM_MUST_COPY);
    if (!r)
        return MHD_NO;
    addHeader(r, "Content-Type", "text/html; charset=" + pageCharset(fd.fd, st));
    addHeader(r, "Cache-Control", "no-cache");
    return queue(c, 404, r);
}

// Sends the regular file fd (at rel below rootFd, described by st) from disk.
// With status 200 the request's conditional and range headers apply; another
// status sends it whole. (The descriptor stays non-blocking: that means nothing
// to reading a regular file.)
MHD_Result SiteWebServer::Private::sendFile(MHD_Connection* c, int rootFd, const QByteArray& rel, Fd& fd,
                                            struct stat st, int status)
{
    QByteArray type = contentType(rel);
    if (isPage(rel))
        type += "; charset=" + pageCharset(fd.fd, st);
    const bool compressible = isCompressible(rel);
    bool gzipped = false;
    if (compressible && acceptsGzip(header(c, MHD_HTTP_HEADER_ACCEPT_ENCODING))) {
        Fd gz(openBeneath(rootFd, rel + ".gz"));
        struct stat gst {};
        if (gz.fd >= 0 && ::fstat(gz.fd, &gst) == 0 && S_ISREG(gst.st_mode)) {
            fd.reset(gz.release());
            st = gst;
            gzipped = true;
        }
    }

    FileFacts facts;
    facts.size = st.st_size;
    facts.mtime = st.st_mtim.tv_sec;
    facts.etag = '"' + hex(quint64(st.st_size)) + '-' +
                 hex(quint64(st.st_mtim.tv_sec) * 1000000000ULL + quint64(st.st_mtim.tv_nsec)) +
                 (gzipped ? "-gz\"" : "\"");
    Answer a;
    a.length = facts.size;
    if (status == 200) {
        a = answerFor(facts, {header(c, MHD_HTTP_HEADER_IF_NONE_MATCH), header(c, MHD_HTTP_HEADER_IF_MODIFIED_SINCE),
                              header(c, MHD_HTTP_HEADER_RANGE), header(c, MHD_HTTP_HEADER_IF_RANGE)});
        status = a.status;
    }
    MHD_Response* r = nullptr;
    if (status == 304 || status == 416) {
        r = MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT);
    } else {
        r = MHD_create_response_from_fd_at_offset64(quint64(a.length), fd.fd, quint64(a.offset));
        if (r)
            fd.release(); // the response closes it
    }
    if (!r)
        return MHD_NO;
    if (status == 416) {
        addHeader(r, "Content-Range", "bytes */" + QByteArray::number(facts.size));
        return queue(c, status, r);
    }
    if (status != 304)
        addHeader(r, "Content-Type", type);
    if (status == 206)
        addHeader(r, "Content-Range",
                  "bytes " + QByteArray::number(a.offset) + '-' + QByteArray::number(a.offset + a.length - 1) + '/' +
                      QByteArray::number(facts.size));
    if (gzipped)
        addHeader(r, "Content-Encoding", "gzip");
    if (compressible)
        addHeader(r, "Vary", "Accept-Encoding");
    if (status == 404) {
        addHeader(r, "Cache-Control", "no-cache");
        return queue(c, status, r);
    }
    addHeader(r, "ETag", facts.etag);
    addHeader(r, "Last-Modified", httpDate(facts.mtime));
    addHeader(r, "Cache-Control", cacheControl(rel, options.cacheMaxAgeS));
    addHeader(r, "Accept-Ranges", "bytes");
    return queue(c, status, r);
}

void SiteWebServer::Private::onConnection(void* cls, MHD_Connection* c, void** socketContext,
                                          MHD_ConnectionNotificationCode code)
{
    auto* d = static_cast<Private*>(cls);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
        auto* conn = new Conn;
        conn->fd = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CONNECTION_FD)->connect_fd;
        conn->deadline = nowMs() + qint64(d->options.headerTimeoutS) * 1000;
        std::lock_guard<std::mutex> lock(d->connMutex);
        d->conns.insert(conn);
        *socketContext = conn;
    } else if (auto* conn = static_cast<Conn*>(*socketContext)) {
        // Still open here, so the reaper never shuts a descriptor that was reused.
        std::lock_guard<std::mutex> lock(d->connMutex);
        d->conns.erase(conn);
        delete conn;
        *socketContext = nullptr;
    }
}

// The next request's head is due within the header timeout.
void SiteWebServer::Private::onCompleted(void* cls, MHD_Connection* c, void**, MHD_RequestTerminationCode)
{
    auto* d = static_cast<Private*>(cls);
    if (const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_SOCKET_CONTEXT)) {
        if (auto* conn = static_cast<Conn*>(info->socket_context))
            conn->deadline = nowMs() + qint64(d->options.headerTimeoutS) * 1000;
    }
}

// The library's messages, each at most once a minute with how often it came, so
// an attack cannot flood the log.
void SiteWebServer::Private::onLibraryLog(void* cls, const char* format, va_list ap)
{
    auto* d = static_cast<Private*>(cls);
    char text[512];
    std::vsnprintf(text, sizeof text, format, ap);
    const QString line = QString::fromLocal8Bit(text).trimmed();
    const qint64 now = nowMs();
    int times = 0;
    {
        std::lock_guard<std::mutex> lock(d->logMutex);
        LogCount& seen = d->logCounts[line];
        ++seen.times;
        if (seen.last && now - seen.last < 60000)
            return;
        times = std::exchange(seen.times, 0);
        seen.last = now;
    }
    Q_EMIT d->q->logLine(
        QStringLiteral("http: %1%2")
            .arg(line, times > 1 ? QStringLiteral(" (%1 times since last said)").arg(times) : QString()));
}

SiteWebServer::SiteWebServer(const QString& sitesDir, const WebOptions& options, QObject* parent)
    : QObject(parent), d(std::make_unique<Private>())
{
    d->q = this;
    d->sitesDir = QFile::encodeName(QDir(sitesDir).absolutePath() + QLatin1Char('/'));
    d->options = options;
    d->siteDomain = options.siteDomain.toLower().toUtf8();
}

SiteWebServer::~SiteWebServer()
{
    if (d->daemon)
        MHD_stop_daemon(d->daemon);
    if (d->reaper.joinable()) {
        {
            std::lock_guard<std::mutex> lock(d->connMutex);
            d->stopping = true;
        }
        d->wake.notify_all();
        d->reaper.join();
    }
}

bool SiteWebServer::listen(const QHostAddress& address, quint16 port, QString* error)
{
    const rlim_t descriptors = raiseDescriptorLimit();
    const rlim_t room = descriptors > rlim_t(2 * WebLimits::kReservedDescriptors)
                            ? (descriptors - WebLimits::kReservedDescriptors) / 2
                            : descriptors / 4;
    // Each serving thread takes its share of the limit.
    d->limit = int(qMax<rlim_t>(rlim_t(qMax(1, d->options.threads)),
                                qMin<rlim_t>(rlim_t(qMax(1, d->options.maxConnections)), room)));
    const int fd = openListener(address, port, error);
    if (fd < 0)
        return false;
    d->port = boundPort(fd);
    unsigned flags = MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_ERROR_LOG;
    if (address.protocol() == QAbstractSocket::IPv6Protocol)
        flags |= MHD_USE_IPv6;
    const auto fn = [](auto f) { return reinterpret_cast<intptr_t>(f); };
    std::vector<MHD_OptionItem> items = {
        {MHD_OPTION_EXTERNAL_LOGGER, fn(&Private::onLibraryLog), d.get()},
        {MHD_OPTION_LISTEN_SOCKET, fd, nullptr},
        {MHD_OPTION_CONNECTION_LIMIT, d->limit, nullptr},
        {MHD_OPTION_PER_IP_CONNECTION_LIMIT, qMax(0, d->options.maxPerAddress), nullptr},
        {MHD_OPTION_CONNECTION_TIMEOUT, qMax(1, d->options.idleTimeoutS), nullptr},
        {MHD_OPTION_CONNECTION_MEMORY_LIMIT, WebLimits::kConnectionMemory, nullptr},
        {MHD_OPTION_NOTIFY_CONNECTION, fn(&Private::onConnection), d.get()},
        {MHD_OPTION_NOTIFY_COMPLETED, fn(&Private::onCompleted), d.get()},
        {MHD_OPTION_UNESCAPE_CALLBACK, fn(&Private::keepEscapes), nullptr},
    };
    if (d->options.threads > 1)
        items.push_back({MHD_OPTION_THREAD_POOL_SIZE, d->options.threads, nullptr});
    items.push_back({MHD_OPTION_END, 0, nullptr});
    d->daemon = MHD_start_daemon(flags, 0, nullptr, nullptr, &Private::onAccess, d.get(), MHD_OPTION_ARRAY,
                                 items.data(), MHD_OPTION_END);
    if (!d->daemon) {
        ::close(fd);
        *error = QStringLiteral("the HTTP library could not start");
        return false;
    }
    d->reaper = std::thread([this] { d->reap(); });
    return true;
}

quint16 SiteWebServer::serverPort() const
{
    return d->port;
}

int SiteWebServer::connectionLimit() const
{
    return d->limit;
}
