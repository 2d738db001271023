#pragma once

#include <QString>

// The web side of the hosting server renders every published site into
// DIR/sites/<name>/www/ (served by SiteWebServer).
namespace SiteWeb {

// Renders the unpacked upload in siteFolder + "site/" into siteFolder +
// "www.staging/" and swaps it in as siteFolder + "www/", so the previous
// rendering stays online until the new one is complete. On failure the
// previous rendering stays and *error says why; *summary tells what was written.
bool renderWww(const QString& siteFolder, const QString& appPath, QString* error, QString* summary);

} // namespace SiteWeb
