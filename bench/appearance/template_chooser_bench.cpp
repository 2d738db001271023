// Opening the home-page template chooser on a category of N templates, until every
// thumbnail is placed and the window has painted (pictures are decoded as they come
// into view). Each cold run names its pictures afresh, so nothing is served from the
// thumbnail cache; the warm figure reopens the same category.
#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "appearance/TemplateChooser.h"
#include "appearance/tmpl.h"
#include "core/AppContext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString kCategory = QStringLiteral("000基准"); // sorts first, so it opens with the chooser

bool fillCategory(const TestAppDir& dir, const SiteDb& db, int count, const QString& prefix)
{
    const QString source = dir.appPath() + QStringLiteral("template/D0101.png");
    db.run(QStringLiteral("BEGIN"));
    db.run(QStringLiteral("DELETE FROM defaultTmpl WHERE tmplType=?"), {kCategory});
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("%1%2.png").arg(prefix).arg(i, 3, 10, QLatin1Char('0'));
        if (!QFile::copy(source, dir.appPath() + QStringLiteral("template/") + name))
            return false;
        db.run(QStringLiteral("INSERT INTO defaultTmpl (tmplType, tmplName) VALUES (?, ?)"), {kCategory, name});
    }
    return db.run(QStringLiteral("COMMIT")).ok;
}

double openOnce(AppContext& ctx, int expected)
{
    QElapsedTimer t;
    t.start();
    TemplateChooser chooser(ctx, TemplateChooser::Kind::Home);
    chooser.show();
    QApplication::processEvents(); // the first paint belongs to the opening
    const double ms = t.nsecsElapsed() / 1e6;
    if (chooser.thumbnails().size() != expected || !chooser.thumbnails().first()->hasPicture()) {
        std::fprintf(stderr, "placed %d thumbnails, expected %d, or the first one shows no picture\n",
                     int(chooser.thumbnails().size()), expected);
        return -1;
    }
    return ms;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool measure(int count)
{
    TestAppDir dir;
    SiteDb db(QStringLiteral("bench-%1").arg(count));
    RecordingDialogService dialogs;
    AppContext ctx(db, dialogs);
    ctx.appPath = dir.appPath();
    ctx.workPath = dir.workPath();
    if (!dir.isValid() || !db.open(dir.workPath()))
        return false;
    std::vector<double> cold, warm;
    for (int run = 0; run < 5; ++run) {
        if (!fillCategory(dir, db, count, QStringLiteral("C%1_").arg(run)))
            return false;
        cold.push_back(openOnce(ctx, count));
        warm.push_back(openOnce(ctx, count));
    }
    if (*std::min_element(cold.begin(), cold.end()) < 0 || *std::min_element(warm.begin(), warm.end()) < 0 ||
        !dialogs.shown.isEmpty())
        return false;
    std::printf("template_chooser_ms_%d %.1f ms\n", count, median(cold));
    std::printf("template_chooser_warm_ms_%d %.1f ms\n", count, median(warm));
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    for (int count : {50, 100, 200}) {
        if (!measure(count)) {
            std::fprintf(stderr, "cannot measure %d templates\n", count);
            return 1;
        }
    }
    return 0;
}
