#pragma once

#include "SiteFixture.h"
#include "structure/CatalogTreeBinding.h"
#include "structure/designFrm.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

// A designer over a fresh workspace; counts the structure changes it announces.
struct DesignerFixture : SiteFixture {
    std::unique_ptr<designFrm> frm;
    int refreshes = 0;

    DesignerFixture()
    {
        QObject::connect(&ctx.events, &SiteEvents::structureChanged, [this] { ++refreshes; });
    }
    designFrm& open()
    {
        frm = std::make_unique<designFrm>(ctx);
        frm->show();
        return *frm;
    }
    template <typename T = QWidget> T* child(const QString& name) const { return frm->findChild<T*>(name); }
    QTreeWidget* tree() const { return child<QTreeWidget>(QStringLiteral("tvw_nav")); }
    CatalogNode* selNode() const { return frm->editor().selNode(); }
    CatalogNode* root() const { return frm->editor().tree().root(); }
    QTreeWidgetItem* item(const QString& text) const
    {
        const auto found = tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    // A real mouse click on the node's label: press (node click) and release (mouse-up handling).
    void click(const QString& text, Qt::MouseButton button = Qt::LeftButton)
    {
        QTreeWidgetItem* it = item(text);
        QVERIFY2(it, qPrintable(text));
        tree()->scrollToItem(it);
        QTest::mouseClick(tree()->viewport(), button, {}, tree()->visualItemRect(it).center());
    }
    void press(const QString& button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
    QString status() const { return child<QLabel>(QStringLiteral("StsBar_panel1"))->text(); }
    // The tree as shown: indented texts in display order.
    QStringList shown() const
    {
        QStringList out;
        std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* it, int depth) {
            out << QString(depth, QLatin1Char('-')) + it->text(0);
            for (int i = 0; i < it->childCount(); ++i)
                walk(it->child(i), depth + 1);
        };
        for (int i = 0; i < tree()->topLevelItemCount(); ++i)
            walk(tree()->topLevelItem(i), 0);
        return out;
    }
};
