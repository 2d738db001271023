#include "CatalogOps.h"

#include "data/SettingsRow.h"
#include "data/SiteTransaction.h"

#include <QSqlRecord>

namespace CatalogOps {

QString loadFailureMessage()
{
    return QStringLiteral("不期望的错误！errNo:mdl_nov");
}

QString swapFailureMessage()
{
    return QStringLiteral("改变排序失败！");
}

static void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

static SqlResult failed(const QString& text)
{
    SqlResult r;
    r.error = text;
    return r;
}

// One query per table instead of one per parent: the tree of a large site loads
// in three statements. Ties in orderID keep the order the rows were stored in.
static SqlResult selectLevel(const SiteDb& conn, int level)
{
    switch (level) {
    case 1:
        return conn.run(QStringLiteral("SELECT firstCatalog, [catalog] FROM firstCatalog ORDER BY orderID, rowid;"));
    case 2:
        return conn.run(QStringLiteral(
            "SELECT firstCatalog, secondCatalog, [catalog] FROM secondCatalog ORDER BY orderID, rowid;"));
    default:
        return conn.run(
            QStringLiteral("SELECT secondCatalog, thirdCatalog, [catalog] FROM thirdCatalog ORDER BY orderID, rowid;"));
    }
}

bool readCatalogRows(const SiteDb& conn, CatalogRows& rows, QString* error)
{
    rows = CatalogRows();
    for (int level = 1; level <= 3; ++level) {
        const SqlResult r = selectLevel(conn, level);
        if (!r) {
            setError(error, r.error);
            return false;
        }
        for (const QSqlRecord& rec : r.rows) {
            // Columns by position: the select above fixes them, and this runs once per row.
            CatalogRow row;
            row.catalog = rec.value(rec.count() - 1).toBool();
            if (level == 1) {
                row.name = rec.value(0).toString();
                rows.first.append(row);
            } else {
                row.name = rec.value(1).toString();
                (level == 2 ? rows.second : rows.third)[rec.value(0).toString()].append(row);
            }
        }
        rows.levelsRead = level;
    }
    return true;
}

static CatalogNode* addRowNode(CatalogTree& tree, CatalogNode* parent, const QString& key, const CatalogRow& row)
{
    return tree.addNode(parent, key, row.name, row.catalog ? QStringLiteral("fclose") : QStringLiteral("file"),
                        QVariant(row.catalog));
}

using LevelLoader = void (*)(CatalogTree&, const CatalogRows&, CatalogNode*, const QString&, const QString&);

// Adds the rows below parent with keys prefix + 1, 2, ...; each new node then gets its own
// children from the next level, their keys starting with childPrefix + its index + "_".
static void addRows(CatalogTree& tree, const CatalogRows& rows, const QList<CatalogRow>& list, CatalogNode* parent,
                    const QString& prefix, const QString& childPrefix, LevelLoader next)
{
    int i = 0;
    for (const CatalogRow& row : list) {
        CatalogNode* n = addRowNode(tree, parent, prefix + QString::number(++i), row);
        if (n && next)
            next(tree, rows, n, childPrefix + QString::number(n->index) + QLatin1Char('_'), row.name);
    }
}

void loadFirstLevel(CatalogTree& tree, const CatalogRows& rows, CatalogNode* parent, const QString& prefix)
{
    addRows(tree, rows, rows.first, parent, prefix, QStringLiteral("snd_"), &loadSecondLevel);
}

void loadSecondLevel(CatalogTree& tree, const CatalogRows& rows, CatalogNode* parent, const QString& prefix,
                     const QString& parentName)
{
    const auto it = rows.second.constFind(parentName);
    if (it != rows.second.constEnd())
        addRows(tree, rows, *it, parent, prefix, QStringLiteral("thd_"), &loadThirdLevel);
}

void loadThirdLevel(CatalogTree& tree, const CatalogRows& rows, CatalogNode* parent, const QString& prefix,
                    const QString& parentName)
{
    const auto it = rows.third.constFind(parentName);
    if (it != rows.third.constEnd())
        addRows(tree, rows, *it, parent, prefix, QString(), nullptr);
}

bool loadCatalogTree(const SiteDb& conn, CatalogTree& tree, QString* error)
{
    const SqlResult info = conn.selectUserInfo();
    if (!info) {
        setError(error, info.error);
        return false;
    }
    const QString siteName = info.isEmpty() ? QString() : SettingsRow::fromRecord(info.first()).webName;
    CatalogNode* root = tree.addNode(nullptr, QStringLiteral("root"), siteName, QStringLiteral("fclose"));
    if (!root) {
        setError(error, QStringLiteral("目录树不是空的。"));
        return false;
    }
    root->expanded = true;

    CatalogRows rows;
    const bool ok = readCatalogRows(conn, rows, error);
    // What could be read is still shown; the lower levels of a failed read stay empty.
    if (rows.levelsRead < 3)
        rows.third.clear();
    if (rows.levelsRead < 2)
        rows.second.clear();
    if (rows.levelsRead >= 1)
        loadFirstLevel(tree, rows, root, QStringLiteral("fst_"));
    return ok;
}

SqlResult execSQL(const SiteDb& conn, const QString& sql, const QVariantList& binds)
{
    return conn.run(sql, binds);
}

int getMaxOrderID(const SiteDb& conn, const QString& parentLevel, const QString& parentName, QString* error)
{
    const int level = CatalogTree::levelOf(parentLevel);
    if (level < 0 || level > 2)
        return -1;
    const SqlResult r = conn.selectMaxOrderID(level + 1, parentName);
    if (!r) {
        setError(error, r.error);
        return -1;
    }
    if (r.isEmpty())
        return -1;
    const QVariant v = fieldValue(r.first(), QStringLiteral("orderID_Max"));
    return v.isNull() ? 0 : v.toInt();
}

int getNodeOrderID(const SiteDb& conn, const CatalogNode& node, QString* error)
{
    const int level = node.level();
    if (level < 1)
        return -1;
    const SqlResult r = conn.selectCatalogByName(level, node.text);
    if (!r) {
        setError(error, r.error);
        return -1;
    }
    if (r.isEmpty())
        return -1;
    const QVariant v = fieldValue(r.first(), QStringLiteral("OrderID"));
    return v.isNull() ? 0 : v.toInt();
}

bool swapOrderID(const SiteDb& conn, const CatalogNode& a, const CatalogNode& b, int orderOfA, int orderOfB,
                 QString* error)
{
    const QString table = SiteDb::catalogTable(b.level());
    if (table.isEmpty()) {
        setError(error, QStringLiteral("无效的栏目级别。"));
        return false;
    }
    const QString sql = QStringLiteral("UPDATE %1 SET orderID=? WHERE(%1=?);").arg(table);
    // Half a swap would leave two siblings with one number.
    SiteTransaction tx(conn);
    SqlResult r;
    r.ok = tx.isActive();
    r.error = tx.error();
    if (r)
        r = conn.run(sql, {orderOfB, a.text});
    if (r)
        r = conn.run(sql, {orderOfA, b.text});
    if (r && !tx.commit()) {
        r.ok = false;
        r.error = tx.error();
    }
    if (!r)
        setError(error, r.error);
    return r.ok;
}

bool nameExists(const CatalogTree& tree, const QString& name)
{
    return tree.containsText(name);
}

// The root has no row: the statement is simply not issued.
static SqlResult nothingToDo()
{
    SqlResult r;
    r.ok = true;
    return r;
}

SqlResult deleteNodeRow(const SiteDb& conn, const CatalogNode& node)
{
    return node.level() >= 1 ? conn.deleteCatalog(node.level(), node.text) : nothingToDo();
}

SqlResult renameNode(const SiteDb& conn, const CatalogNode& node, const QString& newName)
{
    return node.level() >= 1 ? conn.renameCatalog(node.level(), node.text, newName) : nothingToDo();
}

SqlResult setAspFileName(const SiteDb& conn, int level, const QString& name, const QString& code)
{
    const QString table = SiteDb::catalogTable(level);
    if (table.isEmpty())
        return nothingToDo();
    return conn.run(QStringLiteral("UPDATE %1 SET aspFileName = ? WHERE (%1=?);").arg(table), {code, name});
}

SqlResult changeFormat(const SiteDb& conn, int level, const QString& name, const QString& code)
{
    if (level < 1)
        return nothingToDo();
    // Blanked records under the old format code, or the new code over records of
    // the old format, would both show a page the user did not ask for.
    SiteTransaction tx(conn);
    if (!tx.isActive())
        return failed(tx.error());
    SqlResult r = conn.clearContents(level, name);
    if (r)
        r = setAspFileName(conn, level, name, code);
    if (r && !tx.commit())
        return failed(tx.error());
    return r;
}

QString getAspFileName(const SiteDb& conn, const CatalogNode& node, QString* error)
{
    const int level = node.level();
    if (level < 1)
        return QStringLiteral("none");
    const SqlResult r = conn.selectCatalogByName(level, node.text);
    if (!r)
        setError(error, r.error);
    if (!r || r.isEmpty())
        return QStringLiteral("none");
    return fieldText(r.first(), QStringLiteral("aspFileName"));
}

SqlResult insertCatalog(const SiteDb& conn, const CatalogNode& parent, const QString& name, int orderID)
{
    switch (parent.level()) {
    case 0:
        return execSQL(conn, QStringLiteral("INSERT INTO firstCatalog(firstCatalog,[catalog],orderID) VALUES(?,1,?)"),
                       {name, orderID});
    case 1:
        return execSQL(conn,
                       QStringLiteral("INSERT INTO secondCatalog(firstCatalog,secondCatalog,[catalog],orderID) "
                                      "VALUES(?,?,1,?)"),
                       {parent.text, name, orderID});
    default:
        return failed(QStringLiteral("不能在该级别下添加目录。"));
    }
}

SqlResult insertPage(const SiteDb& conn, const CatalogNode& parent, const QString& name, int orderID,
                     const QString& code)
{
    switch (parent.level()) {
    case 0:
        return execSQL(
            conn,
            QStringLiteral("INSERT INTO firstCatalog(firstCatalog,[catalog],orderID,aspFileName) VALUES(?,0,?,?)"),
            {name, orderID, code});
    case 1:
        return execSQL(conn,
                       QStringLiteral("INSERT INTO secondCatalog(firstCatalog,secondCatalog,[catalog],orderID,"
                                      "aspFileName) VALUES(?,?,0,?,?)"),
                       {parent.text, name, orderID, code});
    case 2:
        return execSQL(conn,
                       QStringLiteral("INSERT INTO thirdCatalog(firstCatalog,secondCatalog,thirdCatalog,[catalog],"
                                      "orderID,aspFileName) VALUES(?,?,?,0,?,?)"),
                       {parent.parent ? parent.parent->text : QString(), parent.text, name, orderID, code});
    default:
        return failed(QStringLiteral("不能在该级别下添加文件。"));
    }
}

} // namespace CatalogOps
