#pragma once

#include "ContentTestKit.h"
#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "app/AppContext.h"
#include "content/insDataFrm.h"
#include "data/SiteDb.h"
#include "widgets/WebPane.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

// A site with a page of every format on each level the tests need, and the
// content window over it, driven like a user drives it.
struct ContentSite {
    TestAppDir app;
    SiteDb db;
    RecordingDialogService dlg;
    AppContext ctx{db, dlg};
    QTemporaryDir pictures; // the user's own folder, outside the workspace

    ContentSite()
    {
        db.open(app.workPath());
        ctx.appPath = app.appPath();
        ctx.workPath = app.workPath();
        ctx.imgPath = app.workPath();
        db.run(QStringLiteral("UPDATE user_info SET webName='测试网站'"));
        const QStringList firstLevel = {"文本页|0|txt",   "图文一|0|imgTxt01", "图文二|0|imgTxt02", "图文三|0|imgTxt03",
                                        "大图|0|bigImg",  "新闻|0|news",       "图库|0|imgs",       "产品|0|prod01",
                                        "高级|0|adv",     "未设计|0|",         "栏目A|1|"};
        int order = 0;
        for (const QString& line : firstLevel) {
            const QStringList p = line.split('|');
            db.run(QStringLiteral("INSERT INTO firstCatalog(firstCatalog,[catalog],orderID,aspFileName) VALUES(?,?,?,?)"),
                   {p[0], p[1].toInt(), ++order, p[2].isEmpty() ? QVariant() : QVariant(p[2])});
        }
        db.run(QStringLiteral("INSERT INTO secondCatalog(firstCatalog,secondCatalog,[catalog],orderID,aspFileName) "
                              "VALUES('栏目A','二级文本',0,1,'txt'),('栏目A','栏目B',1,2,NULL)"));
        db.run(QStringLiteral("INSERT INTO thirdCatalog(firstCatalog,secondCatalog,thirdCatalog,[catalog],orderID,"
                              "aspFileName) VALUES('栏目A','栏目B','三级新闻',0,1,'news'),"
                              "('栏目A','栏目B','三级图文',0,2,'imgTxt01')"));
    }

    std::unique_ptr<insDataFrm> openWindow()
    {
        auto w = std::make_unique<insDataFrm>(ctx);
        w->resize(900, 640);
        w->show();
        return w;
    }

    // A picture in the user's own folder.
    QString picture(const QString& name, int width = 120, int height = 90, const char* format = "JPG")
    {
        return ContentTestKit::writePicture(pictures.filePath(name), width, height, format);
    }
    QString inWork(const QString& name) const { return app.workPath() + name; }

    static QTreeWidgetItem* item(insDataFrm& w, const QString& text)
    {
        const auto found = w.tvw_nav->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    // Presses and releases a mouse button on the node, as the user does.
    static bool release(insDataFrm& w, const QString& text, Qt::MouseButton button = Qt::LeftButton)
    {
        QTreeWidgetItem* it = item(w, text);
        if (!it)
            return false;
        w.tvw_nav->scrollToItem(it);
        const QPoint at = w.tvw_nav->visualItemRect(it).center();
        QTest::mouseClick(w.tvw_nav->viewport(), button, {}, at);
        return true;
    }

    // Ticks a record's radio button in the live list page.
    static bool tick(insDataFrm& w, qint64 id)
    {
        if (!QTest::qWaitFor([&] { return w.webMultiData->isLoaded(); }, 20000))
            return false;
        const QString js = QStringLiteral("(function(){var r=document.querySelector(\"input[name='ID'][value='%1']\");"
                                          "if(r){r.click();return true;}return false;})()")
                               .arg(id);
        bool found = false;
        const auto attempt = [&] {
            w.webMultiData->view()->page()->runJavaScript(js, [&](const QVariant& v) { found = v.toBool(); });
        };
        // The list arrives once the page has run the queued calls.
        for (int i = 0; i < 40 && !found; ++i) {
            attempt();
            QTest::qWait(100);
        }
        return found && QTest::qWaitFor([&] { return w.currID() == QString::number(id); }, 10000);
    }

    QList<QSqlRecord> rows(int level, const QString& page) const { return db.selectContents(level, page).rows; }
};
