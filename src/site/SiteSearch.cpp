#include "SiteSearch.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace SiteSearch {

namespace {

QString program(const QString& path)
{
    const QFileInfo fi(path);
    return fi.isFile() && fi.isExecutable() ? fi.absoluteFilePath() : QString();
}

} // namespace

QString findIndexer(const QString& given, const QString& appPath)
{
    if (!given.isEmpty())
        return program(given);
    if (qEnvironmentVariableIsSet("WEBLARK_PAGEFIND"))
        return program(qEnvironmentVariable("WEBLARK_PAGEFIND"));
    const QString beside = program(QDir(appPath).filePath(QStringLiteral("pagefind_extended")));
    return beside.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("pagefind_extended")) : beside;
}

bool buildIndex(const QString& indexer, const QString& siteDir, int timeoutSeconds, QString* error)
{
    const QString bundle = QDir(siteDir).filePath(QStringLiteral("pagefind"));
    QDir(bundle).removeRecursively();
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    // Dies with whoever runs it: a rendering killed for a limit takes its indexer along. It
    // reserves far more address space than it touches (a few hundred MB resident for
    // thousands of pages), so it takes all a limit's hard value allows. Between fork and
    // exec: system calls only.
    p.setChildProcessModifier([] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        struct rlimit space {};
        if (::getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != space.rlim_max) {
            space.rlim_cur = space.rlim_max;
            ::setrlimit(RLIMIT_AS, &space);
        }
    });
    // The generated pages lie at the top; pictures and installed material below are not indexed.
    p.start(indexer, {QStringLiteral("--site"), siteDir, QStringLiteral("--glob"), QStringLiteral("*.htm"),
                      QStringLiteral("--silent")});
    QString why;
    if (!p.waitForStarted(10000))
        why = QStringLiteral("无法运行站内搜索索引程序 %1：%2").arg(indexer, p.errorString());
    else if (!p.waitForFinished(timeoutSeconds * 1000)) {
        p.kill();
        p.waitForFinished(2000);
        why = QStringLiteral("站内搜索索引超过 %1 秒，已停止").arg(timeoutSeconds);
    } else if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 ||
               !QFileInfo(QDir(bundle).filePath(QStringLiteral("pagefind-ui.js"))).isFile()) {
        why = QStringLiteral("站内搜索索引失败：%1").arg(QString::fromUtf8(p.readAll()).trimmed().right(300));
    }
    if (why.isEmpty())
        return true;
    QDir(bundle).removeRecursively();
    *error = why;
    return false;
}

} // namespace SiteSearch
