#include "SiteWeb.h"

#include "SitePublisher.h"

#include <QDir>

#include <cstdio>

namespace SiteWeb {

bool renderStaging(const QString& siteFolder, const QString& appPath, const RenderLimits& limits, QString* error,
                   QString* summary)
{
    const QString staging = siteFolder + QStringLiteral("www.staging");
    QDir(staging).removeRecursively();
    if (!QDir().mkpath(staging)) {
        *error = QStringLiteral("cannot create %1").arg(staging);
        return false;
    }
    const SiteRenderResult result = renderSite(
        SiteRenderRequest::forWorkspace(siteFolder + QStringLiteral("site/"),
                                        appPath.endsWith(QLatin1Char('/')) ? appPath : appPath + QLatin1Char('/'),
                                        staging + QLatin1Char('/'), SiteRenderRequest::cacheBelow(siteFolder)),
        {}, limits);
    if (!result.ok) {
        *error = result.error;
        QDir(staging).removeRecursively();
        return false;
    }
    *summary = QStringLiteral("%1 pages, %2 pictures").arg(result.pages).arg(result.pictures);
    for (const QString& note : result.notes)
        *summary += QStringLiteral("; ") + note;
    return true;
}

bool swapStaging(const QString& siteFolder, QString* error)
{
    const QString staging = siteFolder + QStringLiteral("www.staging");
    const QString retired = siteFolder + QStringLiteral("www.retired");
    QDir(retired).removeRecursively();
    if (!SitePublisher::swapIn(staging, siteFolder + QStringLiteral("www"), retired, QStringLiteral("rendering"),
                               error)) {
        QDir(staging).removeRecursively();
        return false;
    }
    QDir(retired).removeRecursively();
    return true;
}

QStringList childArguments(const QString& siteFolder, const QString& appPath, const RenderLimits& limits)
{
    return {siteFolder,
            appPath,
            QString::number(limits.maxPages),
            QString::number(limits.maxOutputBytes),
            QString::number(limits.maxNameChars),
            QString::number(limits.maxReadSeconds)};
}

int runChild(const QStringList& arguments)
{
    RenderLimits limits;
    bool ok = arguments.size() == 6;
    const auto number = [&](int i) {
        bool good = false;
        const qint64 n = arguments.value(i).toLongLong(&good);
        ok = ok && good && n > 0;
        return n;
    };
    limits.maxPages = int(number(2));
    limits.maxOutputBytes = number(3);
    limits.maxNameChars = int(number(4));
    limits.maxReadSeconds = int(number(5));
    QString error = QStringLiteral("usage: render FOLDER APPDIR PAGES BYTES NAMECHARS READSECONDS"), summary;
    if (ok && renderStaging(arguments[0], arguments[1], limits, &error, &summary)) {
        std::fputs(summary.toUtf8().constData(), stdout);
        return 0;
    }
    std::fputs(error.toUtf8().constData(), stderr);
    return 1;
}

} // namespace SiteWeb
