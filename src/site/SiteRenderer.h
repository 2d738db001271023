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

    // The site a workspace folder holds: its govbuilder.sbd and its pictures.
    static SiteRenderRequest forWorkspace(const QString& workPath, const QString& appPath, const QString& outDir);
};

struct SiteRenderResult {
    bool ok = false;
    QString error;
    int pages = 0;
    int pictures = 0;
    QStringList notes; // skipped pictures and other non-fatal findings
};

// Renders the site held in the database dbPath with pictures in workPath, using the
// application directory appPath (themes, name-style fonts, template material) into
// outDir. Opens its own read-only connection under a unique name, so it can run on
// any thread; progress(done, total) is optional.
SiteRenderResult renderSite(const SiteRenderRequest& request, const std::function<void(int, int)>& progress = {});
