// Loading a large site into the structure designer's tree: 20 level-1 catalogs x 20
// level-2 catalogs x N level-3 pages, timed through the designer's refresh command
// (database read, tree model, tree widget, and the repaint that follows).
#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "core/AppContext.h"
#include "structure/designFrm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

static bool fillSite(SiteDb& db, int pagesPerCatalog)
{
    if (!db.run(QStringLiteral("BEGIN")).ok)
        return false;
    for (int i = 1; i <= 20; ++i) {
        const QString first = QStringLiteral("栏目%1").arg(i);
        db.run(QStringLiteral("INSERT INTO firstCatalog(firstCatalog,[catalog],orderID) VALUES(?,1,?)"), {first, i});
        for (int j = 1; j <= 20; ++j) {
            const QString second = QStringLiteral("栏目%1-%2").arg(i).arg(j);
            db.run(QStringLiteral("INSERT INTO secondCatalog(firstCatalog,secondCatalog,[catalog],orderID) "
                                  "VALUES(?,?,1,?)"),
                   {first, second, j});
            for (int k = 1; k <= pagesPerCatalog; ++k)
                db.run(QStringLiteral("INSERT INTO thirdCatalog(firstCatalog,secondCatalog,thirdCatalog,[catalog],"
                                      "orderID,aspFileName) VALUES(?,?,?,0,?,'txt')"),
                       {first, second, QStringLiteral("页面%1-%2-%3").arg(i).arg(j).arg(k), k});
        }
    }
    return db.run(QStringLiteral("COMMIT")).ok;
}

static int measure(int pagesPerCatalog)
{
    TestAppDir dir;
    SiteDb db(QStringLiteral("bench-%1").arg(pagesPerCatalog));
    if (!dir.isValid() || !db.open(dir.workPath()) || !fillSite(db, pagesPerCatalog)) {
        std::fprintf(stderr, "cannot prepare the site\n");
        return 1;
    }
    RecordingDialogService dialogs;
    AppContext ctx(db, dialogs);
    ctx.appPath = dir.appPath();
    ctx.workPath = dir.workPath();
    designFrm frm(ctx);
    auto* refresh = frm.findChild<QPushButton*>(QStringLiteral("cmd_refresh"));
    frm.resize(900, 600);
    frm.show();
    QApplication::processEvents();
    const int expected = 1 + 20 + 400 + 400 * pagesPerCatalog;
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer t;
        t.start();
        refresh->click();
        QApplication::processEvents(); // the repaint of the new tree belongs to the load
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    if (frm.editor().tree().count() != expected || !dialogs.shown.isEmpty()) {
        std::fprintf(stderr, "loaded %d nodes, expected %d\n", frm.editor().tree().count(), expected);
        return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("tree_load_ms_%d %.1f ms\n", expected, times[times.size() / 2]);
    std::fflush(stdout);
    return 0;
}

int main(int argc, char** argv)
{
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").isEmpty())
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    return measure(20) || measure(40);
}
