#include "CatalogTree.h"

#include <QRandomGenerator>

#include <algorithm>

int CatalogNode::level() const
{
    return CatalogTree::levelOf(key);
}

bool CatalogNode::isFirstSibling() const
{
    return !parent || parent->children.first() == this;
}

bool CatalogNode::isLastSibling() const
{
    return !parent || parent->children.last() == this;
}

CatalogNode* CatalogNode::previousSibling() const
{
    if (!parent)
        return nullptr;
    const int i = int(parent->children.indexOf(const_cast<CatalogNode*>(this)));
    return i > 0 ? parent->children.at(i - 1) : nullptr;
}

CatalogNode* CatalogNode::nextSibling() const
{
    if (!parent)
        return nullptr;
    const int i = int(parent->children.indexOf(const_cast<CatalogNode*>(this)));
    return i >= 0 && i + 1 < parent->children.size() ? parent->children.at(i + 1) : nullptr;
}

QString CatalogTree::levelPrefix(int level)
{
    switch (level) {
    case 0:
        return QStringLiteral("roo");
    case 1:
        return QStringLiteral("fst");
    case 2:
        return QStringLiteral("snd");
    case 3:
        return QStringLiteral("thd");
    default:
        return {};
    }
}

int CatalogTree::levelOf(const QString& keyOrPrefix)
{
    const QStringView p = QStringView(keyOrPrefix).left(3);
    if (p == u"roo")
        return 0;
    if (p == u"fst")
        return 1;
    if (p == u"snd")
        return 2;
    if (p == u"thd")
        return 3;
    return -1;
}

void CatalogTree::clear()
{
    m_byKey.clear();
    m_textCount.clear();
    m_nodes.clear();
}

CatalogNode* CatalogTree::node(int index) const
{
    if (index < 1 || index > count())
        return nullptr;
    return m_nodes[size_t(index - 1)].get();
}

CatalogNode* CatalogTree::addNode(CatalogNode* parent, const QString& key, const QString& text, const QString& image,
                                  const QVariant& tag)
{
    if (key.isEmpty() || m_byKey.contains(key))
        return nullptr;
    if (parent ? m_byKey.value(parent->key) != parent : !m_nodes.empty())
        return nullptr;
    auto n = std::make_unique<CatalogNode>();
    n->key = key;
    n->text = text;
    n->image = image;
    n->tag = tag;
    n->parent = parent;
    n->index = count() + 1;
    CatalogNode* raw = n.get();
    m_nodes.push_back(std::move(n));
    m_byKey.insert(key, raw);
    ++m_textCount[text];
    if (parent)
        parent->children.append(raw);
    return raw;
}

void CatalogTree::removeNode(CatalogNode* node)
{
    if (!node || m_byKey.value(node->key) != node)
        return;
    if (node->isRoot()) {
        clear();
        return;
    }
    // Gather the subtree, then drop it in one pass over the node list.
    QList<CatalogNode*> doomed{node};
    for (int i = 0; i < doomed.size(); ++i)
        doomed += doomed.at(i)->children;
    for (CatalogNode* n : doomed) {
        m_byKey.remove(n->key);
        if (--m_textCount[n->text] <= 0)
            m_textCount.remove(n->text);
        n->index = 0;
    }
    node->parent->children.removeOne(node);
    m_nodes.erase(std::remove_if(m_nodes.begin(), m_nodes.end(), [](const auto& n) { return n->index == 0; }),
                  m_nodes.end());
    renumber();
}

void CatalogTree::setText(CatalogNode* node, const QString& text)
{
    if (!node || node->text == text)
        return;
    if (--m_textCount[node->text] <= 0)
        m_textCount.remove(node->text);
    node->text = text;
    ++m_textCount[text];
}

QString CatalogTree::randomKey(const QString& prefix, QRandomGenerator& rng) const
{
    // Ten thousand and one draws cannot all miss unless nearly every number is taken;
    // then count on past the range so that a key is always found.
    for (int attempt = 0; attempt < 10001; ++attempt) {
        const QString key = prefix + QLatin1Char('_') + QString::number(rng.bounded(10001));
        if (!m_byKey.contains(key))
            return key;
    }
    for (int r = 10001;; ++r) {
        const QString key = prefix + QLatin1Char('_') + QString::number(r);
        if (!m_byKey.contains(key))
            return key;
    }
}

void CatalogTree::renumber()
{
    int i = 0;
    for (const auto& n : m_nodes)
        n->index = ++i;
}
