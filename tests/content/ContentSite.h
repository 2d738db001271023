#pragma once

#include "SiteFixture.h"
#include "TestPage.h"
#include "TestPictures.h"
#include "content/insDataFrm.h"
#include "widgets/WebPane.h"

#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QWebEngineView>

#include <memory>

// A site with a page of every format on each level the tests need, and the
// content window over it, driven like a user drives it.
struct ContentSite : SiteFixture {
    QTemporaryDir pictures; // the user's own folder, outside the workspace

    ContentSite()
    {
        const QStringList firstLevel = {"文本页|0|txt",  "图文一|0|imgTxt01", "图文二|0|imgTxt02", "图文三|0|imgTxt03",
                                        "大图|0|bigImg", "新闻|0|news",       "图库|0|imgs",       "产品|0|prod01",
                                        "高级|0|adv",    "未设计|0|",         "栏目A|1|"};
        int order = 0;
        for (const QString& line : firstLevel) {
            const QStringList p = line.split('|');
            insertRow(1, {p[0]}, p[1] == "1", ++order, p[2]);
        }
        insertRow(2, {"栏目A", "二级文本"}, false, 1, "txt");
        insertRow(2, {"栏目A", "栏目B"}, true, 2);
        insertRow(3, {"栏目A", "栏目B", "三级新闻"}, false, 1, "news");
        insertRow(3, {"栏目A", "栏目B", "三级图文"}, false, 2, "imgTxt01");
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
        return TestPictures::write(pictures.filePath(name), width, height, format);
    }

    // value01..valueNN of the page's one row, or how many rows it has.
    QStringList only(int level, const QString& page, int n = 4) const
    {
        const auto rows = contents(level, page);
        return rows.size() == 1 ? contentValues(rows.first(), n)
                                : QStringList{QStringLiteral("%1 rows").arg(rows.size())};
    }

    static QTreeWidgetItem* item(insDataFrm& w, const QString& text)
    {
        const auto found = ctl<QTreeWidget>(w, "tvw_nav")->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    // Presses and releases a mouse button on the node, as the user does.
    static bool release(insDataFrm& w, const QString& text, Qt::MouseButton button = Qt::LeftButton)
    {
        QTreeWidgetItem* it = item(w, text);
        if (!it)
            return false;
        auto* tree = ctl<QTreeWidget>(w, "tvw_nav");
        tree->scrollToItem(it);
        QTest::mouseClick(tree->viewport(), button, {}, tree->visualItemRect(it).center());
        return true;
    }
    static void press(const QObject& w, const QString& button)
    {
        QTest::mouseClick(ctl<QPushButton>(w, button), Qt::LeftButton);
    }
    static QString status(insDataFrm& w, int panel)
    {
        return ctl<QLabel>(w, QStringLiteral("StsBar%1").arg(panel))->text();
    }
    static QString currID(insDataFrm& w)
    {
        return ctl<WebPane>(w, "webMultiData")->pushedValue(QStringLiteral("currID"));
    }

    // Ticks a record's radio button in the live list page.
    static bool tick(insDataFrm& w, qint64 id)
    {
        WebPane* list = ctl<WebPane>(w, "webMultiData");
        if (!QTest::qWaitFor([&] { return list->isLoaded(); }, 20000))
            return false;
        const QString js = QStringLiteral("(function(){var r=document.querySelector(\"input[name='ID'][value='%1']\");"
                                          "if(r){r.click();return true;}return false;})()")
                               .arg(id);
        // The list arrives once the page has run the queued calls: ask again after each answer.
        bool found = false;
        for (QDeadlineTimer deadline(10000); !found && !deadline.hasExpired();)
            found = evalJs(list->view()->page(), js, int(deadline.remainingTime())).toBool();
        return found && QTest::qWaitFor([&] { return currID(w) == QString::number(id); }, 10000);
    }
};
