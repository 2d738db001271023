#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class QThread;

// The web side of the hosting server: every published site, rendered into
// DIR/sites/<name>/www/, is served at http://ADDRESS:PORT/<name>/.
namespace SiteWeb {

// Longest request target accepted; longer ones get 414.
constexpr int kMaxTargetLength = 2048;

// Where a request target leads. For Serve, `site` and `relPath` name the file
// below the site's www folder (relPath "" or ending in "/" asks for a folder).
struct Target {
    int status = 404; // 200 (serve), 301 (to `location`), 400, 404, 414
    QString site;
    QString relPath;
    QByteArray location;
};

// Reads the raw (still percent-encoded) path of a request. Anything that could
// step outside the site's folder is refused: "." and ".." segments, encoded
// slashes and backslashes, backslashes, NUL, empty segments, and site names that
// are not plain names.
Target resolve(const QByteArray& rawPath);

// The Content-Type sent for a file name.
QByteArray contentType(const QString& fileName);

// Renders the unpacked upload in siteFolder + "site/" into siteFolder +
// "www.staging/" and swaps it in as siteFolder + "www/", so the previous
// rendering stays online until the new one is complete. On failure the
// previous rendering stays and *error says why; *summary tells what was written.
bool renderWww(const QString& siteFolder, const QString& appPath, QString* error, QString* summary);

} // namespace SiteWeb

// Serves the sites below sitesDir on a few threads of its own, so the publishing
// connections on the main thread are never held up by visitors.
class SiteWebServer : public QObject {
    Q_OBJECT
public:
    explicit SiteWebServer(const QString& sitesDir, QObject* parent = nullptr);
    ~SiteWebServer() override;

    // Listens on address:port (0 picks a free port) with `threads` workers
    // sharing the port.
    bool listen(const QHostAddress& address, quint16 port, int threads, QString* error);
    quint16 serverPort() const { return m_port; }

private:
    struct Worker;
    QString m_sitesDir;
    quint16 m_port = 0;
    QList<QThread*> m_threads;
};
