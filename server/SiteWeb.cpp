#include "SiteWeb.h"

#include "SitePublisher.h"
#include "site/SiteRenderer.h"

#include <QDir>

namespace SiteWeb {

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
