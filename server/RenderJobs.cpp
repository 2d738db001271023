#include "RenderJobs.h"

#include "SiteWeb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

struct RenderJobs::Job {
    QProcess process;
    QTimer limit;
    QElapsedTimer clock;
    bool timedOut = false;
};

RenderJobs::RenderJobs(const QString& appPath, const RenderOptions& options, QObject* parent)
    : QObject(parent), m_appPath(appPath), m_options(options)
{
}

RenderJobs::~RenderJobs()
{
    for (auto& [site, job] : m_running) {
        job->process.disconnect(this);
        job->process.kill();
        job->process.waitForFinished(2000);
    }
}

void RenderJobs::request(const QString& site, const QString& siteFolder)
{
    m_folders.insert(site, siteFolder);
    if (m_running.count(site))
        m_again.insert(site);
    else if (!m_queue.contains(site))
        m_queue.append(site);
    startNext();
}

void RenderJobs::startNext()
{
    for (int i = 0; i < m_queue.size() && int(m_running.size()) < m_options.jobs;) {
        const QString site = m_queue[i];
        if (m_running.count(site)) {
            ++i;
            continue;
        }
        m_queue.removeAt(i);
        auto owned = std::make_unique<Job>();
        Job* job = owned.get();
        m_running.emplace(site, std::move(owned));
        const rlim_t cpu = rlim_t(m_options.cpuSeconds);
        const rlim_t memory = rlim_t(m_options.memoryMb) << 20;
        const rlim_t fileSize =
            rlim_t(m_options.maxFileBytes > 0 ? m_options.maxFileBytes : m_options.limits.maxOutputBytes);
        // Runs in the child between fork and exec: only async-signal-safe calls.
        job->process.setChildProcessModifier([cpu, memory, fileSize] {
            const struct rlimit cpuLimit = {cpu, cpu + 2}; // SIGXCPU first, SIGKILL two seconds later
            // The search indexer (SiteSearch) raises its own soft limit to the hard one:
            // it reserves address space it never touches.
            const struct rlimit memoryLimit = {memory, memory * 4};
            const struct rlimit fileLimit = {fileSize, fileSize};
            ::setrlimit(RLIMIT_CPU, &cpuLimit);
            ::setrlimit(RLIMIT_AS, &memoryLimit);
            ::setrlimit(RLIMIT_FSIZE, &fileLimit);
        });
        job->limit.setSingleShot(true);
        connect(&job->limit, &QTimer::timeout, this, [job] {
            job->timedOut = true;
            job->process.kill();
        });
        connect(&job->process, &QProcess::finished, this, [this, site, job](int code, QProcess::ExitStatus status) {
            job->limit.stop();
            const QString out = QString::fromUtf8(job->process.readAllStandardOutput());
            const QString err = QString::fromUtf8(job->process.readAllStandardError()).trimmed().right(500);
            QString failure;
            if (job->timedOut)
                failure = QStringLiteral("killed after %1 s, the limit").arg(m_options.wallSeconds);
            else if (status == QProcess::CrashExit)
                failure = QStringLiteral("stopped after %1 s by a limit of CPU time, memory or file size%2")
                              .arg(job->clock.elapsed() / 1000)
                              .arg(err.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(err));
            else if (code != 0)
                failure = err.isEmpty() ? QStringLiteral("rendering failed (exit code %1)").arg(code) : err;
            finish(site, failure, out);
        });
        connect(&job->process, &QProcess::errorOccurred, this, [this, site, job](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart)
                finish(site, QStringLiteral("cannot run %1: %2").arg(m_options.program, job->process.errorString()),
                       QString());
        });
        QStringList arguments{QStringLiteral("render")};
        SiteWeb::RenderInput input{m_appPath, m_options.limits, SiteWeb::siteBaseUrl(m_options.publicUrl, site),
                                   m_options.searchIndexer};
        // The index is built inside the child, within its time.
        input.limits.maxIndexSeconds = m_options.wallSeconds;
        arguments += SiteWeb::childArguments(m_folders.value(site), input);
        job->clock.start();
        job->limit.start(m_options.wallSeconds * 1000);
        job->process.start(m_options.program, arguments);
    }
}

void RenderJobs::finish(const QString& site, const QString& failure, const QString& summary)
{
    const auto it = m_running.find(site);
    if (it == m_running.end())
        return;
    QString why = failure;
    const QString folder = m_folders.value(site);
    if (why.isEmpty() && !SiteWeb::swapStaging(folder, &why) && why.isEmpty())
        why = QStringLiteral("cannot put the rendering in place");
    if (!why.isEmpty()) // what a killed rendering left
        QDir(folder + QStringLiteral("www.staging")).removeRecursively();
    if (why.isEmpty())
        Q_EMIT logLine(QStringLiteral("site %1 rendered for the web: %2").arg(site, summary));
    else
        Q_EMIT logLine(
            QStringLiteral("site %1 could not be rendered for the web, the previous rendering stays online: %2")
                .arg(site, why));
    // The process object is not deleted inside its own signal.
    Job* done = it->second.release();
    QTimer::singleShot(0, [done] { delete done; });
    m_running.erase(it);
    if (m_again.remove(site))
        m_queue.prepend(site);
    else
        m_folders.remove(site);
    Q_EMIT rendered(site, why.isEmpty());
    startNext();
}
