#pragma once

#include "structure/CatalogTree.h"

#include <QHash>
#include <QIcon>
#include <QObject>

class AppContext;
class SiteDb;
class QTreeWidget;
class QTreeWidgetItem;

// Shows a CatalogTree in a QTreeWidget and keeps the two in step: one item per
// node, the node's key in the item's KeyRole, folder pictures for the root and
// catalogs (open while expanded), a file picture for pages. Labels change only
// through editItem (no edit triggers). Used by the structure designer and the
// content window.
class CatalogTreeBinding : public QObject {
    Q_OBJECT
public:
    static constexpr int KeyRole = Qt::UserRole;
    // "fclose", "fopen", "file"
    static QIcon icon(const QString& image);

    CatalogTreeBinding(QTreeWidget* widget, CatalogTree& model);

    QTreeWidget* widget() const { return m_widget; }
    CatalogTree& model() const { return m_model; }

    // Clears both, loads the model from the database and shows it. A failure is
    // reported with "不期望的错误！errNo:mdl_nov"; the nodes read so far stay.
    bool reload(const AppContext& ctx);
    // Shows the model as it is.
    void rebuild();
    // Drops every item, before the model is emptied: a large tree is freed
    // before the next one is read rather than after.
    void clear();

    // For a node just added to the model: its item under the parent's item.
    QTreeWidgetItem* addItem(CatalogNode* node);
    // Removes the items of the node and everything below it; the model is left as it is.
    void removeItems(const CatalogNode* node);
    // Shows the node's text as the model now holds it.
    void updateText(const CatalogNode* node);
    void setExpanded(CatalogNode* node, bool expanded);

    CatalogNode* nodeOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* itemOf(const CatalogNode* node) const { return m_items.value(node); }
    // The tree's selected node: the first, in node order, whose item is selected.
    CatalogNode* selectedNode() const;
    void select(CatalogNode* node);

private:
    QTreeWidgetItem* makeItem(CatalogNode* node, QTreeWidgetItem* parentItem);
    void onExpandedChanged(QTreeWidgetItem* item, bool expanded);

    QTreeWidget* m_widget;
    CatalogTree& m_model;
    QHash<const CatalogNode*, QTreeWidgetItem*> m_items;
};
