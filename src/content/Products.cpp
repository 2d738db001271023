#include "Products.h"

namespace Products {

namespace {

// '' rather than NULL for an empty box, as the published pages expect.
QString t(const QString& s)
{
    return s.isNull() ? QStringLiteral("") : s;
}

SqlResult noLevel(int level)
{
    SqlResult r;
    r.error = QStringLiteral("无效的栏目级别：%1").arg(level);
    return r;
}

} // namespace

SqlResult insertProduct(const SiteDb& db, int level, const QString& page, const Product& p)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    return db.run(QStringLiteral("INSERT INTO %1(%2, value01,value02,value03,value04,value05,value06) "
                                 "values(?,?,?,?,?,?,?);")
                      .arg(table, SiteDb::contentLink(level)),
                  {t(page), t(p.name), t(p.model), t(p.unit), t(p.price), t(p.picture), t(p.description)});
}

SqlResult updateProduct(const SiteDb& db, int level, qint64 id, const Product& p)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    return db.run(QStringLiteral("UPDATE %1 SET value01=?,value02=?,value03=?,value04=?,value05=?,value06=? "
                                 "WHERE(ID=?);")
                      .arg(table),
                  {t(p.name), t(p.model), t(p.unit), t(p.price), t(p.picture), t(p.description), id});
}

Product fromRecord(const QSqlRecord& row)
{
    return {fieldText(row, QStringLiteral("value01")), fieldText(row, QStringLiteral("value02")),
            fieldText(row, QStringLiteral("value03")), fieldText(row, QStringLiteral("value04")),
            fieldText(row, QStringLiteral("value05")), fieldText(row, QStringLiteral("value06"))};
}

} // namespace Products
