// Site rendering: a generated site of 400 pages, about 5,000 news items and 500
// pictures (one in ten a phone photo), from the database to static files; the half-size
// site shows how it grows. The first rendering resizes every photo ("cold"); the
// measured ones find the copies in the cache, as a site whose pictures did not change.
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
#include <sys/resource.h>
#include <vector>

struct Figures {
    double ms = 0;
    double coldMs = 0;
    int coldResized = 0;
    double cpuMs = 0; // the process's CPU time: what the rendering costs, whatever else the machine runs
    SiteRenderResult result;
};

static double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Every run writes into a folder of its own, all removed when the benchmark ends. The
// file system (ext4 without a journal here) will not reuse an inode freed in the last half
// minute and walks past every such one on each file it creates: renders just after
// thousands of removals measure those removals, whether this benchmark made them or any
// other program using the shared temporary folder did. So the outputs live beside the
// benchmark (or below WEBLARK_BENCH_OUT), and none is removed before the last run.
using Outputs = std::vector<std::unique_ptr<QTemporaryDir>>;

static bool renderOnce(const GeneratedSite& gen, Figures* out, Outputs& outputs)
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
    std::vector<double> runs, cpu;
    const QString cache = app.path() + QStringLiteral("/cache");
    for (int i = -1; i < 3; ++i) {
        outputs.push_back(std::make_unique<QTemporaryDir>(
            qEnvironmentVariable("WEBLARK_BENCH_OUT", QCoreApplication::applicationDirPath()) +
            QStringLiteral("/site-bench-XXXXXX")));
        QTemporaryDir& outDir = *outputs.back();
        QElapsedTimer t;
        const double cpu0 = cpuMs();
        t.start();
        out->result = renderSite({app.workPath() + QStringLiteral("govbuilder.sbd"),
                                  app.workPath(),
                                  app.appPath(),
                                  outDir.path() + QStringLiteral("/www"),
                                  {},
                                  {},
                                  cache});
        if (!out->result.ok)
            return false;
        if (i < 0) {
            out->coldMs = t.nsecsElapsed() / 1e6;
            out->coldResized = out->result.resizedPictures;
            continue;
        }
        runs.push_back(t.nsecsElapsed() / 1e6);
        cpu.push_back(cpuMs() - cpu0);
    }
    std::sort(runs.begin(), runs.end());
    std::sort(cpu.begin(), cpu.end());
    out->ms = runs[1];
    out->cpuMs = cpu[1];
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
    full.photoEvery = 10;
    GeneratedSite half = full;
    half.sections = 5;
    half.pictures = 250;
    Figures f, h;
    Outputs outputs;
    if (!renderOnce(full, &f, outputs) || !renderOnce(half, &h, outputs)) {
        std::fprintf(stderr, "render failed: %s\n", qPrintable(f.result.error + h.result.error));
        return 1;
    }
    std::printf("render_site_ms %.1f ms\n", f.ms);
    std::printf("render_site_cpu_ms %.1f ms\n", f.cpuMs);
    std::printf("render_site_cold_ms %.1f ms\n", f.coldMs);
    std::printf("render_site_resized_cold %d pictures\n", f.coldResized);
    std::printf("render_site_resized_cached %d pictures\n", f.result.resizedPictures);
    std::printf("render_site_pages %d pages\n", f.result.pages);
    std::printf("render_site_pictures %d pictures\n", f.result.pictures);
    std::printf("render_site_half_ms %.1f ms\n", h.ms);
    std::printf("render_site_half_pages %d pages\n", h.result.pages);

    const QString indexer = SiteSearch::findIndexer(QString(), TestAppDir::stagedAppDir());
    if (indexer.isEmpty()) {
        std::fprintf(stderr, "no search indexer: scripts/install-deps.sh bench installs it\n");
        return 1;
    }
    GeneratedSite text = full;
    text.photoEvery = 0; // the index reads the pages only
    const IndexFigures index = indexOnce(text, indexer);
    if (!index.error.isEmpty()) {
        std::fprintf(stderr, "search index failed: %s\n", qPrintable(index.error));
        return 1;
    }
    std::printf("search_index_ms %.1f ms\n", index.ms);
    std::printf("search_index_kb %lld KB\n", static_cast<long long>(index.bytes / 1024));
    return 0;
}
