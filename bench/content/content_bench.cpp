// Content entry figures: a news page of 5,000 records from the mouse release
// on its node to the list HTML handed to the browser, and the thumbnail of a
// 12-megapixel JPEG (decoded at reduced size, scaled, written as BMP).
#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "content/Pictures.h"
#include "content/insDataFrm.h"
#include "core/AppContext.h"
#include "data/SiteDb.h"
#include "text/Twips.h"
#include "widgets/WebPane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

static double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

static bool newsList(double* result)
{
    TestAppDir app;
    SiteDb db;
    if (!app.isValid() || !db.open(app.workPath()))
        return false;
    RecordingDialogService dlg;
    AppContext ctx(db, dlg);
    ctx.appPath = app.appPath();
    ctx.workPath = app.workPath();
    db.run(QStringLiteral("INSERT INTO firstCatalog(firstCatalog,[catalog],orderID,aspFileName) VALUES"
                          "('新闻动态',0,1,'news'),('关于我们',0,2,'txt')"));
    db.run(QStringLiteral("BEGIN"));
    for (int i = 1; i <= 5000; ++i)
        db.run(QStringLiteral("INSERT INTO content01(firstCatalog,value01,value02,value03,value04) VALUES(?,?,?,?,?)"),
               {QStringLiteral("新闻动态"), QStringLiteral("第%1条新闻：本单位召开年度工作会议 & 总结").arg(i),
                QStringLiteral("2026/%1/%2").arg(i % 12 + 1).arg(i % 28 + 1),
                QStringLiteral("正文内容&nbsp;第一段<br>第二段").repeated(20), QString()});
    db.run(QStringLiteral("COMMIT"));

    insDataFrm w(ctx);
    auto* tvw_nav = w.findChild<QTreeWidget*>(QStringLiteral("tvw_nav"));
    auto* webMultiData = w.findChild<WebPane*>(QStringLiteral("webMultiData"));
    w.resize(900, 600);
    w.show();
    const auto find = [&](const QString& text) {
        return tvw_nav->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    };
    QTreeWidgetItem* news = find(QStringLiteral("新闻动态"));
    QTreeWidgetItem* other = find(QStringLiteral("关于我们"));
    if (!news || !other)
        return false;
    QWidget* viewport = tvw_nav->viewport();
    std::vector<double> times;
    for (int run = 0; run < 15; ++run) {
        // Another page first, so that every run builds the list afresh.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, tvw_nav->visualItemRect(other).center());
        const QPoint at = tvw_nav->visualItemRect(news).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        QElapsedTimer t;
        t.start();
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
        const double ms = t.nsecsElapsed() / 1e6;
        if (webMultiData->lastInnerHtml(QStringLiteral("editID")).count(QStringLiteral("getID(")) != 5000)
            return false;
        times.push_back(ms);
    }
    *result = median(times);
    return true;
}

static bool thumbnail(double* result)
{
    QTemporaryDir dir;
    QImage big(4000, 3000, QImage::Format_RGB32);
    QPainter p(&big);
    for (int y = 0; y < 3000; y += 50)
        p.fillRect(0, y, 4000, 50, QColor::fromHsv((y / 50 * 17) % 360, 160, 220));
    p.setPen(QPen(Qt::white, 9));
    for (int x = 0; x < 4000; x += 120)
        p.drawLine(x, 0, 4000 - x, 3000);
    p.end();
    const QString src = dir.filePath(QStringLiteral("photo.2003.jpg"));
    if (!big.save(src, "JPG", 90))
        return false;
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer t;
        t.start();
        QSize px;
        if (!Pictures::isReadable(src, &px))
            return false;
        const QSize tw = Pictures::thumbnailTwips(Twips::fromPixels(px), 1305);
        const QImage thumb = Pictures::makeThumbnail(src, Twips::toPixels(tw));
        if (!Pictures::saveBmp(thumb, dir.filePath(Pictures::thumbnailName(QStringLiteral("photo.2003.jpg")))))
            return false;
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    *result = median(times);
    return true;
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    double ms = 0;
    if (!newsList(&ms)) {
        std::fprintf(stderr, "news list benchmark failed\n");
        return 1;
    }
    std::printf("news_list_ms_5000 %.1f ms\n", ms);
    if (!thumbnail(&ms)) {
        std::fprintf(stderr, "thumbnail benchmark failed\n");
        return 1;
    }
    std::printf("thumbnail_ms_12mp %.1f ms\n", ms);
    return 0;
}
