#pragma once

#include "site/SiteRenderer.h"

#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

// How the web side's renderings run: each in a child process (the server run
// again as "PROGRAM render ..."), a few at a time, each bounded in time, CPU,
// memory and file size, so a crafted upload cannot hang or exhaust the server.
struct RenderOptions {
    QString program;                              // the executable that takes the render sub-command
    int wallSeconds = 60;                         // killed after this long
    int cpuSeconds = 60;                          // RLIMIT_CPU
    int memoryMb = 1024;                          // RLIMIT_AS
    int jobs = 2;                                 // renderings at once; others wait their turn
    qint64 maxFileBytes = 0;                      // RLIMIT_FSIZE; 0: the output limit
    RenderLimits limits{2000, 4LL << 30, 64, 10}; // output: four times the upload limit
    // The web side's public address (--public-url): URL/<site>/, or URL with {site}
    // replaced by the site's name. Empty: the sites get no sitemap and no feeds.
    QString publicUrl;
    QString searchIndexer; // run over each rendering; empty: no site search
};

// Renders sites for the web side, one child per site at a time. A rendering
// asked for while one of the same site runs follows it (the upload changed).
// The finished rendering is swapped in; one that fails or is killed leaves the
// previous one online. Nobody waits for a rendering.
class RenderJobs : public QObject {
    Q_OBJECT
public:
    RenderJobs(const QString& appPath, const RenderOptions& options, QObject* parent = nullptr);
    ~RenderJobs() override; // kills whatever runs

    void request(const QString& site, const QString& siteFolder);
    int running() const { return int(m_running.size()); }

Q_SIGNALS:
    void logLine(const QString& line);
    void rendered(const QString& site, bool ok);

private:
    struct Job;
    void startNext();
    void finish(const QString& site, const QString& failure, const QString& summary);

    QString m_appPath;
    RenderOptions m_options;
    QStringList m_queue;              // sites waiting, in order
    QMap<QString, QString> m_folders; // site -> folder, of waiting and running ones
    QSet<QString> m_again;            // running sites asked for again
    std::map<QString, std::unique_ptr<Job>> m_running;
};
