#pragma once

#include "data/SiteDb.h"

#include <QStringList>

// Writes a catalog row straight into the database, for setting up a site.
// names: the row's own name preceded by its parents' names (level 1 first).
inline SqlResult insertCatalogRow(const SiteDb& db, int level, const QStringList& names, bool catalog,
                                  const QVariant& order, const QString& fmt = {})
{
    static const char* sql[] = {
        "INSERT INTO firstCatalog(firstCatalog,[catalog],orderID,aspFileName) VALUES(?,?,?,?)",
        "INSERT INTO secondCatalog(firstCatalog,secondCatalog,[catalog],orderID,aspFileName) VALUES(?,?,?,?,?)",
        "INSERT INTO thirdCatalog(firstCatalog,secondCatalog,thirdCatalog,[catalog],orderID,aspFileName) "
        "VALUES(?,?,?,?,?,?)"};
    QVariantList binds;
    for (const QString& n : names)
        binds << n;
    binds << catalog << order << (fmt.isEmpty() ? QVariant() : QVariant(fmt));
    return db.run(QString::fromLatin1(sql[level - 1]), binds);
}
