// Editor figures. Loading a 1 MB stored page into the design view: until its first
// screen is laid out and a key typed there is drawn (first screen), and until
// the whole page is in the document and laid out (load); loading a 100 kB page until
// it is all laid out; for the 1 MB page a design -> code -> design tab round trip,
// and a save (the design view's HTML fetched, stored with one statement).
#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "core/AppContext.h"
#include "data/SiteDb.h"
#include "editor/advEdit.h"
#include "widgets/WebPane.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QTabWidget>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <vector>

static double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

static QString pageOf(int size)
{
    QString s;
    for (int i = 0; s.size() < size; ++i)
        s += QStringLiteral("<p>第%1段：本单位召开年度工作会议，It[&#39;]s <b>粗体</b> 与 <i>斜体</i>。</p>\n"
                            "<table border=\"1\"><tbody><tr><td>甲</td><td>乙</td></tr></tbody></table>\n"
                            "<img src=\"[imgpath]/p%2.jpg\"><hr>\n")
                 .arg(i)
                 .arg(i % 50);
    return s;
}

static QVariant runJs(advEdit& e, const QString& js)
{
    QVariant out = QStringLiteral("<no answer>");
    bool done = false;
    e.findChild<WebPane*>(QStringLiteral("DHTMLEditer"))
        ->view()
        ->page()
        ->runJavaScript(js, QWebEngineScript::ApplicationWorld, [&](const QVariant& v) {
            out = v;
            done = true;
        });
    (void)QTest::qWaitFor([&done] { return done; }, 60000);
    return out;
}

// Waits until the design view holds the whole page and has laid it out.
static bool laidOut(advEdit& e)
{
    return QTest::qWaitFor(
        [&e] {
            return runJs(e, QStringLiteral("!window.weblarkEditorLoading() && document.body.offsetHeight > 0"))
                .toBool();
        },
        60000);
}

// Waits until the first screen is laid out and a key typed at its top is on the screen;
// returns when that frame was drawn (milliseconds since the epoch, as the page's clock
// reads it after the frame), or -1. The time is taken in the page: a question asked
// later would wait behind the layout of parts that arrive after the key.
static double firstScreen(advEdit& e)
{
    if (!runJs(e, QStringLiteral("window.__typedAt=0;document.addEventListener('input',function(){"
                                 "requestAnimationFrame(function(){var c=new MessageChannel();"
                                 "c.port1.onmessage=function(){window.__typedAt=Date.now();};c.port2.postMessage(0);});"
                                 "},{once:true});"
                                 "document.body.focus();getSelection().collapse(document.body,0);"
                                 "document.body.offsetHeight > 0"))
             .toBool())
        return -1;
    QWebEngineView* view = e.findChild<WebPane*>(QStringLiteral("DHTMLEditer"))->view();
    view->setFocus();
    QTest::keyClicks(view->focusProxy(), QStringLiteral("Z"));
    double at = -1;
    (void)QTest::qWaitFor(
        [&] {
            at = runJs(e, QStringLiteral("document.body.textContent.substring(0, 100).indexOf('Z') >= 0 ? "
                                         "window.__typedAt : 0"))
                     .toDouble();
            return at > 0;
        },
        60000);
    return at > 0 ? at : -1;
}

// Waits until the design view holds the whole page and has laid it out; returns when (-1: never).
static double wholePage(advEdit& e)
{
    return laidOut(e) ? double(QDateTime::currentMSecsSinceEpoch()) : -1;
}

// Median time of five loads of a page not shown before, from the load call until the
// moment done(e) returns (milliseconds since the epoch).
template <class Done> static double timeLoads(advEdit& e, const QString& page, Done done)
{
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        e.loadInnerHTML(QString());
        if (!laidOut(e))
            return -1;
        const double start = double(QDateTime::currentMSecsSinceEpoch());
        e.loadInnerHTML(page + QStringLiteral("<p>%1</p>").arg(run));
        const double end = done(e);
        if (end < 0)
            return -1;
        times.push_back(end - start);
    }
    return median(times);
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    TestAppDir dir;
    SiteDb db;
    if (!dir.isValid() || !db.open(dir.workPath()))
        return std::fprintf(stderr, "bench_editor: failed at line %d\n", __LINE__), 1;
    RecordingDialogService dlg;
    AppContext ctx(db, dlg);
    ctx.appPath = dir.appPath();
    ctx.workPath = dir.workPath();
    advEdit e(ctx, advEdit::Kind::Full);
    bool isNew = true;
    e.setSaveTarget([&isNew] { return AdvPageStore::Page{1, QStringLiteral("高级"), QStringLiteral("adv"), isNew}; });
    QObject::connect(&e, &advEdit::saved, [&isNew] { isNew = false; });
    e.resize(1000, 700);
    e.show();
    e.activateWindow();
    if (!QTest::qWaitForWindowActive(&e) || !QTest::qWaitFor([&] { return e.isReady(); }, 60000))
        return std::fprintf(stderr, "bench_editor: failed at line %d\n", __LINE__), 1;
    const QString page = pageOf(1000000);
    // The page's pictures exist, as they do in a workspace.
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    for (int i = 0; i < 50; ++i)
        picture.save(dir.workPath() + QStringLiteral("p%1.jpg").arg(i), "JPG");
    auto* tabs = e.findChild<QTabWidget*>(QStringLiteral("sstb"));
    e.findChild<WebPane*>(QStringLiteral("DHTMLEditer"))->view()->setFocus();

    const double first = timeLoads(e, page, firstScreen);
    const double load = timeLoads(e, page, wholePage);
    const double load100k = timeLoads(e, pageOf(100000), wholePage);
    e.loadInnerHTML(page);
    if (!laidOut(e))
        return std::fprintf(stderr, "bench_editor: failed at line %d\n", __LINE__), 1;
    std::vector<double> tabs_, save;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        tabs->setCurrentIndex(1);
        tabs->setCurrentIndex(0);
        if (!laidOut(e))
            return std::fprintf(stderr, "bench_editor: failed at line %d\n", __LINE__), 1;
        tabs_.push_back(t.elapsed());

        dlg.clear();
        t.restart();
        e.save();
        if (!QTest::qWaitFor([&] { return !dlg.shown.isEmpty(); }, 60000))
            return std::fprintf(stderr, "bench_editor: failed at line %d\n", __LINE__), 1;
        save.push_back(t.elapsed());
    }
    if (first < 0 || load < 0 || load100k < 0) {
        std::fprintf(stderr, "a load did not finish: %.0f %.0f %.0f\n", first, load, load100k);
        return std::fprintf(stderr, "bench_editor: failed at line %d\n", __LINE__), 1;
    }
    std::printf("editor_first_screen_ms_1mb %.0f ms\n", first);
    std::printf("editor_load_ms_1mb %.0f ms\n", load);
    std::printf("editor_load_ms_100kb %.0f ms\n", load100k);
    std::printf("editor_tab_roundtrip_ms_1mb %.0f ms\n", median(tabs_));
    std::printf("editor_save_ms_1mb %.0f ms\n", median(save));
    return dlg.last().text == QStringLiteral("数据保存成功！") ? 0 : 1;
}
