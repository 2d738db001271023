#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>

#include <memory>

// The settings of the web side; each is a long option of weblark-hostd.
struct WebOptions {
    int threads = 2;            // --http-threads: serving threads
    int maxConnections = 10000; // --http-max-connections: beyond it new connections wait
    int maxPerAddress = 256;    // --http-max-per-address: beyond it a new connection is closed at once
    int idleTimeoutS = 10;      // --http-idle-timeout: idle keep-alive, and a transfer that stalls
    int headerTimeoutS = 15;    // --http-header-timeout: a request line and headers must be in by then
    int cacheMaxAgeS = 86400;   // --http-cache-max-age: style sheets, scripts, pictures, fonts
    QString siteDomain;         // --site-domain: <name>.<domain> serves site <name>
};

// Fixed limits of one request.
namespace WebLimits {
constexpr int kHeaderLine = 8 * 1024; // one header line; longer: 431
constexpr int kHeaders = 100;         // header lines; more: 431
// Everything one connection holds: buffers, request line and headers (about
// 16 KB of them). Kept whole for every open connection, so it sets what 5,000
// idle ones cost.
constexpr int kConnectionMemory = 24576;
constexpr int kBodyOfGet = 1024;          // a GET or HEAD with a longer body: 413, the body is never read
constexpr int kReservedDescriptors = 128; // kept from the open-file limit for everything else
} // namespace WebLimits

// Serves every site rendered into SITES/<name>/www/ at http://ADDRESS:PORT/<name>/
// (and at http://<name>.DOMAIN/ with a site domain) on threads of its own, so the
// publishing connections on the main thread are never held up by visitors. Files
// are sent from disk as they are (never read whole), with their .gz copy to
// clients that take gzip.
class SiteWebServer : public QObject {
    Q_OBJECT
public:
    SiteWebServer(const QString& sitesDir, const WebOptions& options, QObject* parent = nullptr);
    ~SiteWebServer() override;

    // Listens on address:port (0 picks a free port).
    bool listen(const QHostAddress& address, quint16 port, QString* error);
    quint16 serverPort() const;
    // The connection limit in force: the option, lowered to what the open-file
    // limit allows (every connection may hold a file open besides its socket).
    int connectionLimit() const;

Q_SIGNALS:
    // Emitted on the serving threads.
    void logLine(const QString& line);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
