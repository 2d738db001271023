#pragma once

#include "core/Outcome.h"
#include "structure/CatalogTree.h"
#include "structure/PageRef.h"

#include <QObject>

class SiteDb;
class SiteEvents;

// Which pop-up menu items the designer offers for a node. The buttons follow
// the sibling rules (moveUp, moveDown) only.
struct PopupItems {
    bool addCat = true;
    bool addFile = true;
    bool del = true;
    bool ren = true;
    bool refresh = true;
    bool moveUp = false;
    bool moveDown = false;
};
PopupItems popupItems(const CatalogNode& node);

// The site tree of the structure designer with its current node, and the
// commands that change it. Windows show what it reports; everything they
// display of the tree follows its signals.
class StructureEditor : public QObject {
    Q_OBJECT
public:
    StructureEditor(const SiteDb& conn, SiteEvents& events, QObject* parent = nullptr);

    CatalogTree& tree() { return m_tree; }
    const CatalogTree& tree() const { return m_tree; }
    // The current node; every command acts on it.
    CatalogNode* selNode() const { return m_selNode; }
    void setSelNode(CatalogNode* node);
    // The node as a format dialog keeps it.
    PageRef selectedPage() const;
    // The code last shown as a sample.
    QString currentFormat() const { return m_currentFormat; }
    void setCurrentFormat(const QString& code) { m_currentFormat = code; }

    // Reads the tree afresh; the root becomes current.
    Outcome reload();
    // Tells the other windows that the tree changed.
    void announceChange();

    // New rows below the current node: a catalog under the root or a level-1
    // node, a page under the root, a level-1 or a level-2 node. Below deeper
    // nodes nothing is added but the command counts as done.
    Outcome addCatalog(const QString& name);
    Outcome addPage(const QString& name, const QString& code);
    // A refusal for the root; otherwise no notice and the confirmation question.
    Outcome deleteRefusal() const;
    QString deleteQuestion() const;
    // After the question: when confirmed, deletes the current node's row and its
    // subtree; either way the other windows hear of it.
    Outcome deleteCurrent(bool confirmed);
    // Exchanges the current node with its previous (up) or next sibling; the
    // tree is read again afterwards.
    Outcome move(bool up);
    // The label of source was edited to newText.
    Outcome rename(CatalogNode* source, const QString& newText);
    // Clears the content fields of page and gives it the format code.
    Outcome changeFormat(const PageRef& page, const QString& code);

Q_SIGNALS:
    // The tree is about to be emptied and read again; its nodes are about to go.
    void aboutToReload();
    void reloaded();
    void nodeAdded(CatalogNode* node);
    void nodeAboutToBeRemoved(CatalogNode* node);
    void nodeRenamed(CatalogNode* node);
    void formatChanged(const QString& code);

private:
    Outcome addChild(const QString& name, bool catalog, const QString& code);
    // The sort number for a new child of the current node, or -1 after adding why not.
    int nextChildOrderID(const QString& unknownMessage, Outcome& out) const;

    const SiteDb& m_conn;
    SiteEvents& m_events;
    CatalogTree m_tree;
    CatalogNode* m_selNode = nullptr;
    QString m_currentFormat;
};
