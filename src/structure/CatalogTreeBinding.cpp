#include "CatalogTreeBinding.h"

#include "core/AppContext.h"
#include "structure/CatalogOps.h"

#include <QPainter>
#include <QPainterPath>
#include <QTreeWidget>

// The tree's picture list: a closed and an open yellow folder, and a page.
static QIcon drawIcon(const QString& image)
{
    QPixmap pix(32, 32);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor edge(0xb8, 0x86, 0x0b);
    if (image == QLatin1String("file")) {
        QPainterPath page;
        page.moveTo(7, 2.5);
        page.lineTo(20, 2.5);
        page.lineTo(26.5, 9);
        page.lineTo(26.5, 29.5);
        page.lineTo(7, 29.5);
        page.closeSubpath();
        p.setPen(QPen(QColor(0x6b, 0x7b, 0x8c), 1.4));
        p.setBrush(Qt::white);
        p.drawPath(page);
        p.setBrush(QColor(0xdd, 0xe4, 0xec));
        p.drawPolygon(QPolygonF({QPointF(20, 2.5), QPointF(20, 9), QPointF(26.5, 9)}));
        p.setPen(QPen(QColor(0x8f, 0xa6, 0xc0), 1.6));
        for (int y = 14; y <= 25; y += 4)
            p.drawLine(QPointF(11, y), QPointF(23, y));
    } else {
        p.setPen(QPen(edge, 1.4));
        p.setBrush(QColor(0xf0, 0xc0, 0x48));
        QPainterPath back;
        back.moveTo(2.5, 7);
        back.lineTo(11, 7);
        back.lineTo(14, 10);
        back.lineTo(29.5, 10);
        back.lineTo(29.5, 27.5);
        back.lineTo(2.5, 27.5);
        back.closeSubpath();
        p.drawPath(back);
        if (image == QLatin1String("fopen")) {
            p.setBrush(QColor(0xfb, 0xdc, 0x7a));
            p.drawPolygon(QPolygonF({QPointF(7, 14), QPointF(31, 14), QPointF(26.5, 27.5), QPointF(2.5, 27.5)}));
        } else {
            p.setBrush(QColor(0xf8, 0xd0, 0x60));
            p.drawRect(QRectF(2.5, 13, 27, 14.5));
        }
    }
    p.end();
    pix.setDevicePixelRatio(2);
    return QIcon(pix);
}

QIcon CatalogTreeBinding::icon(const QString& image)
{
    // Kept for the life of the process: pictures must not outlive the application object's teardown.
    static const QIcon* closed = new QIcon(drawIcon(QStringLiteral("fclose")));
    static const QIcon* open = new QIcon(drawIcon(QStringLiteral("fopen")));
    static const QIcon* file = new QIcon(drawIcon(QStringLiteral("file")));
    if (image == QLatin1String("fopen"))
        return *open;
    if (image == QLatin1String("file"))
        return *file;
    return *closed;
}

CatalogTreeBinding::CatalogTreeBinding(QTreeWidget* widget, CatalogTree& model)
    : QObject(widget), m_widget(widget), m_model(model)
{
    m_widget->setColumnCount(1);
    m_widget->setHeaderHidden(true);
    m_widget->setRootIsDecorated(true);
    m_widget->setUniformRowHeights(true);
    m_widget->setSelectionMode(QAbstractItemView::SingleSelection);
    m_widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_widget->setSortingEnabled(false);
    connect(m_widget, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* i) { onExpandedChanged(i, true); });
    connect(m_widget, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* i) { onExpandedChanged(i, false); });
}

bool CatalogTreeBinding::reload(const AppContext& ctx)
{
    m_widget->clear();
    m_items.clear();
    m_model.clear();
    const bool ok = CatalogOps::loadCatalogTree(ctx.conn, m_model);
    rebuild();
    if (!ok)
        ctx.dialogs.message(CatalogOps::loadFailureMessage(), QString(), MsgIcon::Critical);
    return ok;
}

QTreeWidgetItem* CatalogTreeBinding::makeItem(CatalogNode* node, QTreeWidgetItem* parentItem)
{
    auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem();
    item->setText(0, node->text);
    item->setIcon(0, icon(node->image));
    item->setData(0, KeyRole, node->key);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    m_items.insert(node, item);
    return item;
}

void CatalogTreeBinding::clear()
{
    const QSignalBlocker block(m_widget);
    m_widget->clear();
    m_items.clear();
}

void CatalogTreeBinding::rebuild()
{
    clear();
    const QSignalBlocker block(m_widget);
    CatalogNode* root = m_model.root();
    if (!root)
        return;
    // Build the whole item tree detached from the view, then hand it over at once:
    // inserting into a live view costs a model update per item.
    m_items.reserve(m_model.count());
    QTreeWidgetItem* rootItem = nullptr;
    for (const auto& n : m_model.nodes()) {
        QTreeWidgetItem* item = makeItem(n.get(), n->parent ? m_items.value(n->parent) : nullptr);
        if (!n->parent)
            rootItem = item;
    }
    m_widget->addTopLevelItem(rootItem);
    for (const auto& n : m_model.nodes()) {
        if (n->expanded && !n->children.isEmpty()) {
            QTreeWidgetItem* item = m_items.value(n.get());
            item->setExpanded(true);
            if (n->image == QLatin1String("fclose"))
                item->setIcon(0, icon(QStringLiteral("fopen")));
        }
    }
}

QTreeWidgetItem* CatalogTreeBinding::addItem(CatalogNode* node)
{
    if (!node)
        return nullptr;
    QTreeWidgetItem* parentItem = node->parent ? m_items.value(node->parent) : nullptr;
    if (node->parent && !parentItem)
        return nullptr;
    QTreeWidgetItem* item = makeItem(node, parentItem);
    if (!parentItem)
        m_widget->addTopLevelItem(item);
    return item;
}

void CatalogTreeBinding::removeItems(const CatalogNode* node)
{
    if (!node)
        return;
    QList<const CatalogNode*> below{node};
    for (int i = 0; i < below.size(); ++i)
        for (const CatalogNode* c : below.at(i)->children)
            below.append(c);
    QTreeWidgetItem* item = m_items.value(node);
    for (const CatalogNode* n : below)
        m_items.remove(n);
    delete item; // takes its children along
}

void CatalogTreeBinding::updateText(const CatalogNode* node)
{
    if (QTreeWidgetItem* item = m_items.value(node)) {
        const QSignalBlocker block(m_widget);
        item->setText(0, node->text);
    }
}

void CatalogTreeBinding::setExpanded(CatalogNode* node, bool expanded)
{
    if (QTreeWidgetItem* item = m_items.value(node))
        item->setExpanded(expanded); // the signal keeps the node and the picture in step
    if (node)
        node->expanded = expanded;
}

CatalogNode* CatalogTreeBinding::nodeOf(const QTreeWidgetItem* item) const
{
    return item ? m_model.nodeByKey(item->data(0, KeyRole).toString()) : nullptr;
}

CatalogNode* CatalogTreeBinding::selectedNode() const
{
    const QList<QTreeWidgetItem*> sel = m_widget->selectedItems();
    CatalogNode* best = nullptr;
    for (const QTreeWidgetItem* item : sel) {
        CatalogNode* n = nodeOf(item);
        if (n && (!best || n->index < best->index))
            best = n;
    }
    return best;
}

void CatalogTreeBinding::select(CatalogNode* node)
{
    if (QTreeWidgetItem* item = m_items.value(node)) {
        m_widget->setCurrentItem(item);
        item->setSelected(true);
    }
}

void CatalogTreeBinding::onExpandedChanged(QTreeWidgetItem* item, bool expanded)
{
    CatalogNode* n = nodeOf(item);
    if (!n)
        return;
    n->expanded = expanded;
    if (n->image == QLatin1String("fclose"))
        item->setIcon(0, icon(expanded ? QStringLiteral("fopen") : QStringLiteral("fclose")));
}
