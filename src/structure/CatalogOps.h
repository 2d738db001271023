#pragma once

#include "data/SiteDb.h"
#include "structure/CatalogTree.h"

#include <QHash>
#include <QList>
#include <QString>

// The catalog tables as a tree, and the statements on single nodes that the
// structure designer, its dialogs and the content window use. Every name is bound.
namespace CatalogOps {

// Shown when the tree cannot be loaded (critical icon, no title of its own).
QString loadFailureMessage(); // "不期望的错误！errNo:mdl_nov"
// Shown when exchanging two sort numbers fails (critical icon).
QString swapFailureMessage(); // "改变排序失败！"

// Highest sort number a row can carry; a parent whose children reach it takes no more.
constexpr int kMaxOrderID = 32767;

// One catalog row as the loader needs it.
struct CatalogRow {
    QString name;
    bool catalog = false;
};

// The three catalog tables, each read with one query in sibling order
// (orderID, then the order the rows were stored), grouped by parent name.
struct CatalogRows {
    QList<CatalogRow> first;
    QHash<QString, QList<CatalogRow>> second; // by firstCatalog
    QHash<QString, QList<CatalogRow>> third;  // by secondCatalog
    int levelsRead = 0;                       // 0..3: how many tables were read before a failure
};
bool readCatalogRows(const SiteDb& conn, CatalogRows& rows, QString* error = nullptr);

// Fills an empty tree: the root "root" with the site name, expanded, and the
// three levels below it with keys "fst_"+i, "snd_"+p+"_"+j, "thd_"+p+"_"+k
// (p = index of the parent node). On failure the nodes added so far stay and
// error holds the database's description.
bool loadCatalogTree(const SiteDb& conn, CatalogTree& tree, QString* error = nullptr);
void loadFirstLevel(CatalogTree& tree, const CatalogRows& rows, CatalogNode* parent, const QString& prefix);
void loadSecondLevel(CatalogTree& tree, const CatalogRows& rows, CatalogNode* parent, const QString& prefix,
                     const QString& parentName);
void loadThirdLevel(CatalogTree& tree, const CatalogRows& rows, CatalogNode* parent, const QString& prefix,
                    const QString& parentName);

// Runs one statement; the dialogs' inserts go through here.
SqlResult execSQL(const SiteDb& conn, const QString& sql, const QVariantList& binds = {});

// Highest orderID among the children of a parent of level "roo", "fst" or "snd"
// (parentName is ignored for "roo"): 0 when it has none, -1 for any other level or
// when no row comes back. A database failure also gives -1 and sets error.
int getMaxOrderID(const SiteDb& conn, const QString& parentLevel, const QString& parentName, QString* error = nullptr);
// The node's orderID: 0 when empty, -1 when there is no row or the node is the root.
int getNodeOrderID(const SiteDb& conn, const CatalogNode& node, QString* error = nullptr);
// Gives a the number of b and b the number of a; the table comes from b's level.
bool swapOrderID(const SiteDb& conn, const CatalogNode& a, const CatalogNode& b, int orderOfA, int orderOfB,
                 QString* error = nullptr);
bool nameExists(const CatalogTree& tree, const QString& name);
// These address the node's own row only; the root has no row and gets no statement.
SqlResult deleteNodeRow(const SiteDb& conn, const CatalogNode& node);
SqlResult renameNode(const SiteDb& conn, const CatalogNode& node, const QString& newName);
SqlResult setAspFileName(const SiteDb& conn, int level, const QString& name, const QString& code);
// A page's new format: its records blanked and the code set, both or neither.
SqlResult changeFormat(const SiteDb& conn, int level, const QString& name, const QString& code);
// The page's format code, "none" for the root or when the row is missing.
QString getAspFileName(const SiteDb& conn, const CatalogNode& node, QString* error = nullptr);

// New rows below parent: a catalog under the root or a level-1 node, a page under
// the root, a level-1 or a level-2 node. Other parents are refused with an error.
SqlResult insertCatalog(const SiteDb& conn, const CatalogNode& parent, const QString& name, int orderID);
SqlResult insertPage(const SiteDb& conn, const CatalogNode& parent, const QString& name, int orderID,
                     const QString& code);

} // namespace CatalogOps
