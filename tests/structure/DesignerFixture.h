#pragma once

#include "RecordingDialogService.h"
#include "SiteRows.h"
#include "TestAppDir.h"
#include "app/AppContext.h"
#include "structure/CatalogTreeBinding.h"
#include "structure/designFrm.h"

#include <QObject>
#include <QTest>
#include <QTreeWidget>

#include <memory>

// Stands in for the content window: counts the structure changes the designer announces.
struct ContentWindowStub {
    int refreshes = 0;
};

// A designer over a fresh workspace, with recorded messages and a content-window stub.
struct DesignerFixture {
    TestAppDir app;
    RecordingDialogService dlg;
    SiteDb db{QStringLiteral("designer-test")};
    AppContext ctx{db, dlg};
    ContentWindowStub content;
    std::unique_ptr<designFrm> frm;

    explicit DesignerFixture(const QString& siteName = QStringLiteral("测试网站"))
    {
        db.open(app.workPath());
        db.updateUserInfo(QStringLiteral("webName"), siteName);
        ctx.appPath = app.appPath();
        ctx.workPath = app.workPath();
        ctx.imgPath = app.workPath();
        QObject::connect(&ctx.events, &SiteEvents::structureChanged, [this] { ++content.refreshes; });
    }
    designFrm& open()
    {
        frm = std::make_unique<designFrm>(ctx);
        frm->show();
        return *frm;
    }
    QTreeWidget* tree() const { return frm->findChild<QTreeWidget*>(QStringLiteral("tvw_nav")); }
    CatalogNode* node(const QString& text) const
    {
        for (const auto& n : frm->nodes().nodes())
            if (n->text == text)
                return n.get();
        return nullptr;
    }
    // A real mouse click on the node's label: press (node click) and release (mouse-up handling).
    void click(const QString& text, Qt::MouseButton button = Qt::LeftButton)
    {
        CatalogNode* n = node(text);
        QVERIFY2(n, qPrintable(text));
        QTreeWidgetItem* item = frm->tree().itemOf(n);
        tree()->scrollToItem(item);
        const QPoint at = tree()->visualItemRect(item).center();
        QTest::mouseClick(tree()->viewport(), button, {}, at);
    }
    template <typename T> T* child(const QString& name) const { return frm->findChild<T*>(name); }
    // Rows of a catalog table as "name|parent...|catalog|orderID|aspFileName", in storage order.
    QStringList rows(int level) const
    {
        static const char* sql[] = {
            "SELECT firstCatalog, [catalog], orderID, aspFileName FROM firstCatalog ORDER BY rowid",
            "SELECT secondCatalog, firstCatalog, [catalog], orderID, aspFileName FROM secondCatalog ORDER BY rowid",
            "SELECT thirdCatalog, secondCatalog, firstCatalog, [catalog], orderID, aspFileName FROM thirdCatalog "
            "ORDER BY rowid"};
        QStringList out;
        const SqlResult r = db.run(QString::fromLatin1(sql[level - 1]));
        for (const QSqlRecord& rec : r.rows) {
            QStringList f;
            for (int i = 0; i < rec.count(); ++i)
                f << (rec.value(i).isNull() ? QStringLiteral("NULL") : rec.value(i).toString());
            out << f.join(QLatin1Char('|'));
        }
        return out;
    }
    // The tree as shown: indented texts in display order.
    QStringList shown() const
    {
        QStringList out;
        std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
            out << QString(depth, QLatin1Char('-')) + item->text(0);
            for (int i = 0; i < item->childCount(); ++i)
                walk(item->child(i), depth + 1);
        };
        for (int i = 0; i < tree()->topLevelItemCount(); ++i)
            walk(tree()->topLevelItem(i), 0);
        return out;
    }
    void insertRow(int level, const QStringList& names, bool catalog, int order, const QString& fmt = {})
    {
        const SqlResult r = insertCatalogRow(db, level, names, catalog, order, fmt);
        QVERIFY2(r.ok, qPrintable(r.error));
    }
};
