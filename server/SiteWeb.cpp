#include "SiteWeb.h"

#include "SitePublisher.h"
#include "site/SiteFeeds.h"

#include <QDir>
#include <QUrl>

#include <cstdio>

namespace SiteWeb {

QString siteBaseUrl(const QString& publicUrl, const QString& site)
{
    if (publicUrl.isEmpty())
        return {};
    const QString name = QString::fromLatin1(QUrl::toPercentEncoding(site));
    QString url = publicUrl;
    if (url.contains(QLatin1String("{site}")))
        url.replace(QLatin1String("{site}"), name);
    else
        url += (url.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + name + QLatin1Char('/');
    QString error;
    return SiteFeeds::normalBaseUrl(url, &error);
}

bool renderStaging(const QString& siteFolder, const RenderInput& input, QString* error, QString* summary)
{
    const QString& appPath = input.appPath;
    const QString staging = siteFolder + QStringLiteral("www.staging");
    QDir(staging).removeRecursively();
    if (!QDir().mkpath(staging)) {
        *error = QStringLiteral("cannot create %1").arg(staging);
        return false;
    }
    SiteRenderRequest request = SiteRenderRequest::forWorkspace(
        siteFolder + QStringLiteral("site/"), appPath.endsWith(QLatin1Char('/')) ? appPath : appPath + QLatin1Char('/'),
        staging + QLatin1Char('/'));
    request.pictureCache = SiteRenderRequest::cacheBelow(siteFolder);
    request.baseUrl = input.baseUrl;
    request.searchIndexer = input.searchIndexer;
    const SiteRenderResult result = renderSite(request, {}, input.limits);
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

QStringList childArguments(const QString& siteFolder, const RenderInput& input)
{
    const RenderLimits& limits = input.limits;
    return {siteFolder,
            input.appPath,
            QString::number(limits.maxPages),
            QString::number(limits.maxOutputBytes),
            QString::number(limits.maxNameChars),
            QString::number(limits.maxReadSeconds),
            QString::number(limits.maxIndexSeconds),
            input.baseUrl,
            input.searchIndexer};
}

int runChild(const QStringList& arguments)
{
    RenderInput input;
    RenderLimits& limits = input.limits;
    bool ok = arguments.size() == 9;
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
    limits.maxIndexSeconds = int(number(6));
    input.appPath = arguments.value(1);
    input.baseUrl = arguments.value(7);
    input.searchIndexer = arguments.value(8);
    QString error = QStringLiteral("usage: render FOLDER APPDIR PAGES BYTES NAMECHARS READSECONDS INDEXSECONDS BASEURL "
                                   "INDEXER"),
            summary;
    if (ok && renderStaging(arguments[0], input, &error, &summary)) {
        std::fputs(summary.toUtf8().constData(), stdout);
        return 0;
    }
    std::fputs(error.toUtf8().constData(), stderr);
    return 1;
}

} // namespace SiteWeb
