// Editor figures for a 1 MB stored page: loading it into the design view until
// it is laid out, a design -> code -> design tab round trip, and a save
// (the design view's HTML fetched, stored with one statement).
#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "core/AppContext.h"
#include "data/SiteDb.h"
#include "editor/advEdit.h"
#include "widgets/WebPane.h"

#include <QApplication>
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

static QString page1mb()
{
    QString s;
    for (int i = 0; s.size() < 1000000; ++i)
        s += QStringLiteral("<p>第%1段：本单位召开年度工作会议，It[&#39;]s <b>粗体</b> 与 <i>斜体</i>。</p>\n"
                            "<table border=\"1\"><tbody><tr><td>甲</td><td>乙</td></tr></tbody></table>\n"
                            "<img src=\"[imgpath]/p%2.jpg\"><hr>\n")
                 .arg(i)
                 .arg(i % 50);
    return s;
}

// Waits until the design view has run everything asked of it so far and laid the page out.
static bool laidOut(advEdit& e)
{
    bool done = false;
    e.findChild<WebPane*>(QStringLiteral("DHTMLEditer"))
        ->view()
        ->page()
        ->runJavaScript(QStringLiteral("document.body.offsetHeight"), QWebEngineScript::ApplicationWorld,
                        [&done](const QVariant&) { done = true; });
    return QTest::qWaitFor([&done] { return done; }, 60000);
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
        return 1;
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
    if (!QTest::qWaitFor([&] { return e.isReady(); }, 60000))
        return 1;
    const QString page = page1mb();
    // The page's pictures exist, as they do in a workspace.
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    for (int i = 0; i < 50; ++i)
        picture.save(dir.workPath() + QStringLiteral("p%1.jpg").arg(i), "JPG");
    auto* tabs = e.findChild<QTabWidget*>(QStringLiteral("sstb"));

    std::vector<double> load, tabs_, save;
    for (int run = 0; run < 5; ++run) {
        e.loadInnerHTML(QString());
        laidOut(e);
        QElapsedTimer t;
        t.start();
        // A page not shown before, so that the code view has to take it in too.
        e.loadInnerHTML(page + QStringLiteral("<p>%1</p>").arg(run));
        if (!laidOut(e))
            return 1;
        load.push_back(t.elapsed());

        t.restart();
        tabs->setCurrentIndex(1);
        tabs->setCurrentIndex(0);
        if (!laidOut(e))
            return 1;
        tabs_.push_back(t.elapsed());

        dlg.clear();
        t.restart();
        e.save();
        if (!QTest::qWaitFor([&] { return !dlg.shown.isEmpty(); }, 60000))
            return 1;
        save.push_back(t.elapsed());
    }
    std::printf("editor_load_ms_1mb %.0f ms\n", median(load));
    std::printf("editor_tab_roundtrip_ms_1mb %.0f ms\n", median(tabs_));
    std::printf("editor_save_ms_1mb %.0f ms\n", median(save));
    return dlg.last().text == QStringLiteral("数据保存成功！") ? 0 : 1;
}
