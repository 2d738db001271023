#pragma once

#include "site/SiteRenderer.h"

#include <QString>
#include <QStringList>

// The web side of the hosting server renders every published site into
// DIR/sites/<name>/www/ (served by SiteWebServer). The rendering runs in a child
// process (RenderJobs): the server itself only swaps the finished one in.
namespace SiteWeb {

// What a rendering of the web side is given besides the site's folder.
struct RenderInput {
    QString appPath;
    RenderLimits limits;
    QString baseUrl;       // the site's public address, or empty
    QString searchIndexer; // or empty
};

// The public address of site under the server's public address publicUrl
// (URL/<site>/, or URL with {site} replaced by the site's name); empty when
// publicUrl is, or when it makes no valid address.
QString siteBaseUrl(const QString& publicUrl, const QString& site);

// Renders the unpacked upload in siteFolder + "site/" into siteFolder +
// "www.staging/" (emptied first), then indexes it for search. False with *error
// when it fails or reaches a limit; *summary tells what was written.
bool renderStaging(const QString& siteFolder, const RenderInput& input, QString* error, QString* summary);

// Puts siteFolder + "www.staging/" in the place of siteFolder + "www/" in one
// step, so a visitor gets either the previous rendering or the new one, never a
// 404 or a mixture; the previous rendering is then removed.
bool swapStaging(const QString& siteFolder, QString* error);

// The render child: arguments FOLDER APPDIR PAGES BYTES NAMECHARS READSECONDS
// INDEXSECONDS BASEURL INDEXER (the limits in that order; the last two may be
// empty). Prints the summary on standard output, the reason of a failure on
// standard error; returns the exit code (0 rendered).
QStringList childArguments(const QString& siteFolder, const RenderInput& input);
int runChild(const QStringList& arguments);

} // namespace SiteWeb
