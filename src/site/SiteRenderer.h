#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Turns a site database and its workspace pictures into a static web site: plain
// HTML, CSS and pictures with relative links only, so the output works from
// file://, from a sub-path of a web server and inside the preview window.

struct SiteRenderRequest {
    QString dbPath;   // the site database (govbuilder.sbd)
    QString workPath; // folder holding the site's pictures
    QString appPath;  // application directory: themes, name styles, template material
    QString outDir;   // created; expected empty or missing
    // The site's public address (see SiteFeeds::normalBaseUrl). Without it the
    // sitemap, the feeds and the absolute Open Graph addresses are left out.
    QString baseUrl{};
    // The search indexer run over the output (SiteSearch); empty: the pages get no search box.
    QString searchIndexer{};
    // Where resized copies of the pictures are kept between renderings, so unchanged
    // pictures are not resized again; "" keeps none.
    QString pictureCache{};

    // The site a workspace folder holds: its govbuilder.sbd and its pictures.
    // The folder of the cache of resized copies below a data folder.
    static QString cacheBelow(const QString& folder) { return folder + QStringLiteral("/resizedpictures"); }
    static SiteRenderRequest forWorkspace(const QString& workPath, const QString& appPath, const QString& outDir);
};

// What one rendering may take and produce. A rendering that reaches a limit
// fails and says which; a name too long to draw is shown as text, with a note.
// The defaults are generous, for the desktop program's preview and export; the
// hosting server sets its own.
struct RenderLimits {
    int maxPages = 100000;
    qint64 maxOutputBytes = 16LL << 30; // pages, pictures and copied files
    int maxNameChars = 200;             // a longer organisation name is not drawn as a picture
    int maxReadSeconds = 300;           // reading the site database
    int maxIndexSeconds = 600;          // building the search index
};

struct SiteRenderResult {
    bool ok = false;
    QString error;
    int pages = 0;
    int pictures = 0;
    int resizedPictures = 0; // pictures whose copies were made anew, not taken from the cache
    QStringList notes;       // skipped pictures and other non-fatal findings
};

// Renders the site held in the database dbPath with pictures in workPath, using the
// application directory appPath (themes, name-style fonts, template material) into
// outDir. Opens its own read-only connection under a unique name, so it can run on
// any thread; progress(done, total) is optional.
SiteRenderResult renderSite(const SiteRenderRequest& request, const std::function<void(int, int)>& progress = {},
                            const RenderLimits& limits = {});
