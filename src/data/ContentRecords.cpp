#include "ContentRecords.h"

#include <QStringList>

namespace ContentRecords {

namespace {

QString column(int i)
{
    return QStringLiteral("value%1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

SqlResult noLevel(int level)
{
    SqlResult r;
    r.error = QStringLiteral("无效的栏目级别：%1").arg(level);
    return r;
}

// "value01 = ?, value02 = ?, ..." for the first n columns.
QString assignments(int n)
{
    QStringList parts;
    for (int i = 0; i < n; ++i)
        parts << column(i) + QStringLiteral(" = ?");
    return parts.join(QStringLiteral(", "));
}

} // namespace

Row Row::fromRecord(const QSqlRecord& record)
{
    Row row;
    row.id = fieldValue(record, QStringLiteral("ID")).toLongLong();
    for (int i = 0; i < kValues; ++i)
        row.value[i] = fieldText(record, column(i));
    return row;
}

SqlResult insertValues(const SiteDb& db, int level, const QString& page, const QVariantList& values)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    QString columns = SiteDb::contentLink(level);
    QString marks = QStringLiteral("?");
    for (int i = 0; i < values.size(); ++i) {
        columns += QLatin1Char(',') + column(i);
        marks += QStringLiteral(",?");
    }
    return db.run(QStringLiteral("INSERT INTO %1(%2) VALUES(%3);").arg(table, columns, marks),
                  QVariantList{page.isNull() ? QStringLiteral("") : page} + values);
}

SqlResult updateValues(const SiteDb& db, int level, qint64 id, const QVariantList& values)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    return db.run(QStringLiteral("UPDATE %1 SET %2 WHERE(ID=?);").arg(table, assignments(values.size())),
                  values + QVariantList{id});
}

SqlResult updatePageValues(const SiteDb& db, int level, const QString& page, const QVariantList& values)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    return db.run(QStringLiteral("UPDATE %1 SET %2 WHERE(%3=?);")
                      .arg(table, assignments(values.size()), SiteDb::contentLink(level)),
                  values + QVariantList{page.isNull() ? QStringLiteral("") : page});
}

} // namespace ContentRecords
