// Site rendering: a generated site of 400 pages, about 5,000 news items and 500
// pictures, from the database to static files; the half-size site shows how it grows.
#include "GeneratedSite.h"
#include "TestAppDir.h"
#include "site/SiteRenderer.h"
#include "site/SiteSearch.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

struct Figures {
    double ms = 0;
    SiteRenderResult result;
};

static bool renderOnce(const GeneratedSite& gen, Figures* out)
{
    TestAppDir app;
    SiteDb db(QStringLiteral("bench-site"));
    if (!app.isValid() || !db.open(app.workPath()))
        return false;
    db.updateUserInfo(QStringLiteral("webName"), QStringLiteral("示范单位网站"));
    db.updateUserInfo(QStringLiteral("gov_name"), QStringLiteral("示范单位"));
    db.updateUserInfo(QStringLiteral("defaultFont"), QStringLiteral("font02.png"));
    db.updateUserInfo(QStringLiteral("headFont"), QStringLiteral("font05.png"));
    gen.write(db, app.workPath());
    db.close();
    std::vector<double> runs;
    // Every run writes into a folder of its own and all are removed at the end: removing
    // thousands of files just before a run makes the file system's inode allocation search
    // past the freshly freed ones, which would be measured as rendering time.
    std::vector<std::unique_ptr<QTemporaryDir>> outputs;
    for (int i = 0; i < 3; ++i) {
        outputs.push_back(std::make_unique<QTemporaryDir>());
        QTemporaryDir& outDir = *outputs.back();
        QElapsedTimer t;
        t.start();
        out->result = renderSite({app.workPath() + QStringLiteral("govbuilder.sbd"), app.workPath(), app.appPath(),
                                  outDir.path() + QStringLiteral("/www")});
        runs.push_back(t.nsecsElapsed() / 1e6);
        if (!out->result.ok)
            return false;
    }
    std::sort(runs.begin(), runs.end());
    out->ms = runs[1];
    return true;
}

// The site search index of a rendered site: the indexer's time (the middle of three
// runs) and the size of what it adds to the site.
struct IndexFigures {
    double ms = 0;
    qint64 bytes = 0;
    QString error;
};

static IndexFigures indexOnce(const GeneratedSite& gen, const QString& indexer)
{
    IndexFigures f;
    TestAppDir app;
    SiteDb db(QStringLiteral("bench-index"));
    QTemporaryDir out;
    if (!app.isValid() || !db.open(app.workPath()) || !out.isValid())
        return {0, 0, QStringLiteral("no workspace")};
    gen.write(db, app.workPath());
    db.close();
    const QString site = out.path() + QStringLiteral("/www");
    const SiteRenderResult r =
        renderSite({app.workPath() + QStringLiteral("govbuilder.sbd"), app.workPath(), app.appPath(), site});
    if (!r.ok)
        return {0, 0, r.error};
    std::vector<double> runs;
    for (int i = 0; i < 3 && f.error.isEmpty(); ++i) {
        QElapsedTimer t;
        t.start();
        SiteSearch::buildIndex(indexer, site, 600, &f.error);
        runs.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(runs.begin(), runs.end());
    f.ms = runs[runs.size() / 2];
    for (QDirIterator it(site + QStringLiteral("/pagefind"), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        f.bytes += it.nextFileInfo().size();
    return f;
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    GeneratedSite full;
    full.sections = 10;
    full.pagesPerSection = 10; // 10 x 4 x 10 = 400 pages
    full.newsPerPage = 19;     // 267 news pages x 19 = 5,073 items
    full.pictures = 500;
    GeneratedSite half = full;
    half.sections = 5;
    half.pictures = 250;
    Figures f, h;
    if (!renderOnce(full, &f) || !renderOnce(half, &h)) {
        std::fprintf(stderr, "render failed: %s\n", qPrintable(f.result.error + h.result.error));
        return 1;
    }
    std::printf("render_site_ms %.1f ms\n", f.ms);
    std::printf("render_site_pages %d pages\n", f.result.pages);
    std::printf("render_site_pictures %d pictures\n", f.result.pictures);
    std::printf("render_site_half_ms %.1f ms\n", h.ms);
    std::printf("render_site_half_pages %d pages\n", h.result.pages);

    const QString indexer = SiteSearch::findIndexer(QString(), TestAppDir::stagedAppDir());
    if (indexer.isEmpty()) {
        std::fprintf(stderr, "no search indexer: scripts/install-deps.sh bench installs it\n");
        return 1;
    }
    const IndexFigures index = indexOnce(full, indexer);
    if (!index.error.isEmpty()) {
        std::fprintf(stderr, "search index failed: %s\n", qPrintable(index.error));
        return 1;
    }
    std::printf("search_index_ms %.1f ms\n", index.ms);
    std::printf("search_index_kb %lld KB\n", static_cast<long long>(index.bytes / 1024));
    return 0;
}
