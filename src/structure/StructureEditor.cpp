#include "StructureEditor.h"

#include "core/Messages.h"
#include "core/SiteEvents.h"
#include "data/SiteDb.h"
#include "structure/CatalogOps.h"

#include <QRandomGenerator>

#include <algorithm>

namespace {

Outcome& add(Outcome& out, const QString& text, const QString& title, MsgIcon icon)
{
    out.notices.append({text, title, icon});
    return out;
}

Outcome duplicateName()
{
    return Outcome::refused(QStringLiteral("已存在重名，更改名称!"), Messages::warning(), MsgIcon::Warning);
}

} // namespace

PopupItems popupItems(const CatalogNode& node)
{
    PopupItems p;
    const int level = node.level();
    if (level == 1 || level == 3)
        p.addCat = p.addFile = !node.isPage();
    else if (level == 2)
        p.addCat = false, p.addFile = !node.isPage();
    p.moveUp = !node.isFirstSibling();
    p.moveDown = !node.isLastSibling();
    return p;
}

StructureEditor::StructureEditor(const SiteDb& conn, SiteEvents& events, QObject* parent)
    : QObject(parent), m_conn(conn), m_events(events)
{
}

void StructureEditor::setSelNode(CatalogNode* node)
{
    if (node)
        m_selNode = node;
}

PageRef StructureEditor::selectedPage() const
{
    return m_selNode ? PageRef{std::max(0, m_selNode->level()), m_selNode->text} : PageRef{};
}

void StructureEditor::announceChange()
{
    Q_EMIT m_events.structureChanged();
}

Outcome StructureEditor::reload()
{
    Q_EMIT aboutToReload();
    m_tree.clear();
    Outcome out;
    out.done = CatalogOps::loadCatalogTree(m_conn, m_tree);
    if (!out.done)
        add(out, CatalogOps::loadFailureMessage(), QString(), MsgIcon::Critical);
    m_selNode = m_tree.root();
    Q_EMIT reloaded();
    return out;
}

int StructureEditor::nextChildOrderID(const QString& unknownMessage, Outcome& out) const
{
    QString error;
    const int m = CatalogOps::getMaxOrderID(m_conn, m_selNode->prefix(), m_selNode->text, &error);
    if (!error.isEmpty()) {
        add(out, error, Messages::notice(), MsgIcon::Critical);
        return -1;
    }
    if (m == -1) {
        add(out, unknownMessage, Messages::warning(), MsgIcon::Critical);
        return -1;
    }
    if (m >= CatalogOps::kMaxOrderID) {
        // The sort number is a 16-bit field: one more would not fit.
        add(out,
            QStringLiteral("“%1”下的排序号已达到上限%2，不能再添加目录或文件！")
                .arg(m_selNode->text)
                .arg(CatalogOps::kMaxOrderID),
            Messages::warning(), MsgIcon::Warning);
        return -1;
    }
    return m + 1;
}

Outcome StructureEditor::addCatalog(const QString& name)
{
    return addChild(name, true, QString());
}

Outcome StructureEditor::addPage(const QString& name, const QString& code)
{
    if (name.isEmpty())
        return Outcome::refused(QStringLiteral("请输入文件名称！"), Messages::warning(), MsgIcon::Critical);
    return addChild(name, false, code);
}

Outcome StructureEditor::addChild(const QString& name, bool catalog, const QString& code)
{
    if (CatalogOps::nameExists(m_tree, name))
        return duplicateName();
    Outcome out;
    const int level = m_selNode ? m_selNode->level() : -1;
    // Catalogs go below the root and level-1 nodes, pages down to level 2; deeper the dialog just closes.
    if (level < 0 || level > (catalog ? 1 : 2)) {
        out.done = true;
        return out;
    }
    const QString unknown =
        catalog ? QStringLiteral("插入数据失败，错误号：Frm_addCat00%1").arg(level + 1)
                : QStringLiteral("插入数据失败，获得排序号有误，errNo:dgnfrm_addFile%1！").arg(level + 1);
    const int order = nextChildOrderID(unknown, out);
    if (order < 0)
        return out;
    const SqlResult r = catalog ? CatalogOps::insertCatalog(m_conn, *m_selNode, name, order)
                                : CatalogOps::insertPage(m_conn, *m_selNode, name, order, code);
    if (!r)
        return add(out, r.error, Messages::notice(), MsgIcon::Critical);
    const QString key = m_tree.randomKey(CatalogTree::levelPrefix(level + 1), *QRandomGenerator::global());
    CatalogNode* node = m_tree.addNode(m_selNode, key, name,
                                       catalog ? QStringLiteral("fclose") : QStringLiteral("file"), QVariant(catalog));
    m_selNode->expanded = true;
    Q_EMIT nodeAdded(node);
    announceChange();
    out.done = true;
    return out;
}

Outcome StructureEditor::deleteRefusal() const
{
    if (m_selNode && m_selNode->isRoot())
        return Outcome::refused(QStringLiteral("不能够删除根目录!"), Messages::warning(), MsgIcon::Warning);
    Outcome out;
    out.done = m_selNode != nullptr;
    return out;
}

QString StructureEditor::deleteQuestion() const
{
    return QStringLiteral("确实要删除“") + (m_selNode ? m_selNode->text : QString()) + QStringLiteral("”项吗？");
}

Outcome StructureEditor::deleteCurrent(bool confirmed)
{
    Outcome out;
    if (!m_selNode || m_selNode->isRoot())
        return out;
    if (!confirmed) {
        announceChange();
        return out;
    }
    const SqlResult r = CatalogOps::deleteNodeRow(m_conn, *m_selNode);
    if (!r) // the row is still there: keep showing it
        return add(out, r.error, Messages::notice(), MsgIcon::Critical);
    Q_EMIT nodeAboutToBeRemoved(m_selNode);
    m_tree.removeNode(m_selNode);
    m_selNode = m_tree.root();
    announceChange();
    out.done = true;
    return out;
}

Outcome StructureEditor::move(bool up)
{
    if (!m_selNode)
        return {};
    if (m_selNode->isRoot())
        return Outcome::refused(QStringLiteral("不能够移动根目录！"), Messages::warning(), MsgIcon::Warning);
    CatalogNode* other = up ? m_selNode->previousSibling() : m_selNode->nextSibling();
    if (!other)
        return Outcome::refused(up ? QStringLiteral("当前节点已是第一个，不能再上移。")
                                   : QStringLiteral("当前节点已是最后一个，不能再下移。"),
                                Messages::notice(), MsgIcon::Critical);
    QString error;
    const int a = CatalogOps::getNodeOrderID(m_conn, *m_selNode, &error);
    const int b = error.isEmpty() ? CatalogOps::getNodeOrderID(m_conn, *other, &error) : -1;
    if (!error.isEmpty())
        return Outcome::refused(error, Messages::notice(), MsgIcon::Critical);
    if (a == -1 || b == -1)
        return Outcome::refused(QStringLiteral("排序索引值出错，排序失败!"), Messages::notice(), MsgIcon::Critical);
    Outcome out;
    out.done = up ? CatalogOps::swapOrderID(m_conn, *other, *m_selNode, b, a)
                  : CatalogOps::swapOrderID(m_conn, *m_selNode, *other, a, b);
    if (!out.done)
        add(out, CatalogOps::swapFailureMessage(), QString(), MsgIcon::Critical);
    out.notices += reload().notices;
    announceChange();
    return out;
}

Outcome StructureEditor::rename(CatalogNode* source, const QString& newText)
{
    const auto& nodes = m_tree.nodes();
    if (std::none_of(nodes.begin(), nodes.end(), [source](const auto& n) { return n.get() == source; }))
        return {}; // the node was deleted meanwhile
    if (CatalogOps::nameExists(m_tree, newText)) {
        Outcome out = duplicateName();
        out.notices += reload().notices;
        return out;
    }
    Outcome out;
    if (newText.isEmpty()) {
        add(out, QStringLiteral("重命名不能为空！"), Messages::notice(), MsgIcon::Information);
        out.notices += reload().notices;
    } else {
        const SqlResult r = CatalogOps::renameNode(m_conn, *source, newText);
        if (!r) {
            add(out, r.error, Messages::notice(), MsgIcon::Critical);
            out.notices += reload().notices; // show the names as they are stored
            return out;
        }
        m_tree.setText(source, newText);
        Q_EMIT nodeRenamed(source);
        out.done = true;
    }
    announceChange();
    return out;
}

Outcome StructureEditor::changeFormat(const PageRef& page, const QString& code)
{
    if (!page.isValid())
        return Messages::refused(Messages::Id::NoLevelChosen);
    // The page may have been deleted or renamed while the dialog was open: then nothing is cleared.
    const SqlResult row = m_conn.selectCatalogByName(page.level, page.name);
    if (!row)
        return Outcome::refused(row.error, Messages::notice(), MsgIcon::Critical);
    if (row.isEmpty())
        return Outcome::refused(QStringLiteral("“%1”已不存在，显示模式未修改！").arg(page.name), Messages::notice(),
                                MsgIcon::Critical);
    const SqlResult r = CatalogOps::changeFormat(m_conn, page.level, page.name, code);
    if (!r)
        return Outcome::refused(r.error, Messages::notice(), MsgIcon::Critical);
    m_currentFormat = code;
    Q_EMIT formatChanged(code);
    Outcome out;
    out.done = true;
    return out;
}
