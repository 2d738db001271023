#pragma once

#include <QString>

// Site search: an index of the rendered pages' titles and texts, built after
// rendering by the search indexer (Pagefind's extended build, which segments
// Chinese) into the site's "pagefind/" folder; the results page searches it in
// the visitor's browser. Without the indexer the site has no search box.
namespace SiteSearch {

// The indexer to use: `given` when it is not empty (a path that names no
// program means no search), else the environment variable WEBLARK_PAGEFIND
// likewise, else "pagefind_extended" in the application directory appPath (the
// build puts one there when it has it), else on PATH. Empty: none.
QString findIndexer(const QString& given, const QString& appPath);

// Indexes the pages of siteDir into siteDir/pagefind/. False with *error when
// the indexer fails or runs longer than timeoutSeconds; what it left is removed.
bool buildIndex(const QString& indexer, const QString& siteDir, int timeoutSeconds, QString* error);

} // namespace SiteSearch
