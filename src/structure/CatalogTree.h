#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

class QRandomGenerator;

// One node of the site tree: the root (the site name) or a catalog row.
struct CatalogNode {
    QString key;   // first three characters give the level: "roo", "fst", "snd", "thd"
    QString text;  // the row's name; every statement addresses the row by it
    QString image; // "fclose" (root, catalogs) or "file" (pages)
    QVariant tag;  // the row's catalog flag; invalid (empty) for the root
    int index = 0; // 1-based, in order of addition
    CatalogNode* parent = nullptr;
    QList<CatalogNode*> children;
    bool expanded = false;

    QString prefix() const { return key.left(3); }
    // 0 root, 1..3 catalog levels, -1 unknown
    int level() const;
    bool isRoot() const { return parent == nullptr; }
    // A page: a tag that is set and false.
    bool isPage() const { return tag.isValid() && !tag.toBool(); }
    // The tag compares equal to false: pages, and the root whose tag is empty.
    bool tagIsFalse() const { return !tag.isValid() || !tag.toBool(); }
    bool isFirstSibling() const;
    bool isLastSibling() const;
    CatalogNode* previousSibling() const;
    CatalogNode* nextSibling() const;
};

// The in-memory tree: nodes in order of addition, looked up by key and text in
// constant time. Keys are unique; texts are counted so that nameExists stays cheap.
class CatalogTree {
public:
    CatalogTree() = default;
    CatalogTree(const CatalogTree&) = delete;
    CatalogTree& operator=(const CatalogTree&) = delete;

    static QString levelPrefix(int level); // 0 "roo", 1 "fst", 2 "snd", 3 "thd"
    static int levelOf(const QString& keyOrPrefix);

    void clear();
    int count() const { return int(m_nodes.size()); }
    bool isEmpty() const { return m_nodes.empty(); }
    CatalogNode* root() const { return m_nodes.empty() ? nullptr : m_nodes.front().get(); }
    // 1-based, as the nodes were added; nullptr outside 1..count.
    CatalogNode* node(int index) const;
    CatalogNode* nodeByKey(const QString& key) const { return m_byKey.value(key); }
    bool containsKey(const QString& key) const { return m_byKey.contains(key); }
    // Any node, the root included, whose text equals name exactly.
    bool containsText(const QString& name) const { return m_textCount.value(name) > 0; }

    // parent == nullptr adds the root (only into an empty tree). Returns nullptr
    // when the key is taken or the parent is not part of this tree.
    CatalogNode* addNode(CatalogNode* parent, const QString& key, const QString& text, const QString& image,
                         const QVariant& tag = QVariant());
    // Removes the node and everything below it; later nodes move up in the numbering.
    void removeNode(CatalogNode* node);
    void setText(CatalogNode* node, const QString& text);

    // prefix + "_" + r with r drawn from 0..10000, drawn again while the key is taken.
    QString randomKey(const QString& prefix, QRandomGenerator& rng) const;

    const std::vector<std::unique_ptr<CatalogNode>>& nodes() const { return m_nodes; }

private:
    void renumber();

    std::vector<std::unique_ptr<CatalogNode>> m_nodes;
    QHash<QString, CatalogNode*> m_byKey;
    QHash<QString, int> m_textCount;
};
