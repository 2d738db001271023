#include "SiteDb.h"

#include "core/Logging.h"
#include "data/SettingsRow.h"
#include "text/ErrorText.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

const QString SiteDb::kFileName = QStringLiteral("govbuilder.sbd");

QVariant fieldValue(const QSqlRecord& row, const QString& column)
{
    const int i = row.indexOf(column);
    if (i >= 0)
        return row.value(i);
    // QSqlRecord matches case-insensitively already; keep a fallback for odd drivers.
    for (int k = 0; k < row.count(); ++k) {
        if (row.fieldName(k).compare(column, Qt::CaseInsensitive) == 0)
            return row.value(k);
    }
    return {};
}

QString fieldText(const QSqlRecord& row, const QString& column)
{
    const QVariant v = fieldValue(row, column);
    return v.isNull() ? QString() : v.toString();
}

bool fieldIsNull(const QSqlRecord& row, const QString& column)
{
    return fieldValue(row, column).isNull();
}

SiteDb::SiteDb(const QString& connectionName) : m_name(connectionName) {}

SiteDb::~SiteDb()
{
    close();
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
}

bool SiteDb::open(const QString& workPath)
{
    close();
    m_path = workPath + kFileName;
    m_openError.clear();
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    if (!QFile::exists(m_path)) {
        // Never let the driver create an empty file in place of the user's database.
        m_openError = QStringLiteral("数据库文件不存在：%1").arg(m_path);
        return false;
    }
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open()) {
        m_openError = ErrorText::sql(db.lastError());
        return false;
    }
    // Touch the schema: a file that is not a database fails here, before any window meets it.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        m_openError = ErrorText::sql(probe.lastError());
        probe.finish();
        db.close();
        return false;
    }
    probe.finish();
    return true;
}

void SiteDb::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        db.close();
}

bool SiteDb::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

SqlResult SiteDb::run(const QString& sql, const QVariantList& binds) const
{
    SqlResult r;
    if (!isOpen()) {
        r.error = m_openError.isEmpty() ? QStringLiteral("数据库连接未打开。") : m_openError;
        return r;
    }
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        r.error = ErrorText::sql(q.lastError());
        qCWarning(lcDb) << "prepare failed:" << sql << r.error;
        return r;
    }
    // A cleared text (a null QString) is stored as '', as the program's own statements write an
    // empty field: readers of the database, the hosting side's among them, never meet NULL there.
    for (const QVariant& v : binds)
        q.addBindValue(v.typeId() == QMetaType::QString && v.toString().isNull() ? QVariant(QStringLiteral("")) : v);
    if (!q.exec()) {
        r.error = ErrorText::sql(q.lastError());
        qCWarning(lcDb) << "statement failed:" << sql << r.error;
        return r;
    }
    if (q.isSelect()) {
        while (q.next())
            r.rows.append(q.record());
    } else {
        r.rowsAffected = q.numRowsAffected();
        r.lastInsertId = q.lastInsertId();
    }
    r.ok = true;
    return r;
}

SqlResult SiteDb::selectUserInfo() const
{
    return run(QStringLiteral("SELECT * FROM user_info"));
}

QString SiteDb::webName() const
{
    return settings().webName;
}

SettingsRow SiteDb::settings() const
{
    const SqlResult r = selectUserInfo();
    return r && !r.isEmpty() ? SettingsRow::fromRecord(r.first()) : SettingsRow();
}

static bool isKnownColumn(const QString& column)
{
    for (const SettingsRow::Column& c : SettingsRow::columns()) {
        if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

SqlResult SiteDb::updateUserInfo(const QString& column, const QVariant& value) const
{
    if (!isKnownColumn(column)) {
        SqlResult r;
        r.error = QStringLiteral("未知的列：%1").arg(column);
        return r;
    }
    return run(QStringLiteral("UPDATE user_info SET %1=? WHERE user_ID=1;").arg(column), {value});
}

QString SiteDb::catalogTable(int level)
{
    switch (level) {
    case 1:
        return QStringLiteral("firstCatalog");
    case 2:
        return QStringLiteral("secondCatalog");
    case 3:
        return QStringLiteral("thirdCatalog");
    default:
        return {};
    }
}

QString SiteDb::contentTable(int level)
{
    switch (level) {
    case 1:
        return QStringLiteral("content01");
    case 2:
        return QStringLiteral("content02");
    case 3:
        return QStringLiteral("content03");
    default:
        return {};
    }
}

QString SiteDb::contentLink(int level)
{
    return catalogTable(level);
}

static SqlResult badLevel(int level)
{
    SqlResult r;
    r.error = QStringLiteral("无效的栏目级别：%1").arg(level);
    return r;
}

SqlResult SiteDb::selectFirstCatalogs() const
{
    return run(QStringLiteral("SELECT * From firstCatalog ORDER BY orderID;"));
}

SqlResult SiteDb::selectSecondCatalogs(const QString& firstName) const
{
    return run(QStringLiteral("SELECT * From secondCatalog Where (firstCatalog = ?) ORDER BY orderID;"), {firstName});
}

SqlResult SiteDb::selectThirdCatalogs(const QString& secondName) const
{
    return run(QStringLiteral("SELECT * From thirdCatalog Where (secondCatalog = ?) ORDER BY orderID;"), {secondName});
}

SqlResult SiteDb::selectCatalogByName(int level, const QString& name) const
{
    const QString t = catalogTable(level);
    if (t.isEmpty())
        return badLevel(level);
    return run(QStringLiteral("SELECT * From %1 WHERE(%1=?)").arg(t), {name});
}

SqlResult SiteDb::renameCatalog(int level, const QString& oldName, const QString& newName) const
{
    const QString t = catalogTable(level);
    if (t.isEmpty())
        return badLevel(level);
    return run(QStringLiteral("UPDATE %1 SET %1 = ? WHERE (%1=?);").arg(t), {newName, oldName});
}

SqlResult SiteDb::deleteCatalog(int level, const QString& name) const
{
    const QString t = catalogTable(level);
    if (t.isEmpty())
        return badLevel(level);
    return run(QStringLiteral("DELETE From %1 WHERE (%1=?);").arg(t), {name});
}

SqlResult SiteDb::selectMaxOrderID(int level, const QString& parent) const
{
    switch (level) {
    case 1:
        return run(QStringLiteral("SELECT Max(firstCatalog.orderID) AS orderID_Max From firstCatalog"));
    case 2:
        return run(QStringLiteral("SELECT Max(secondCatalog.orderID) AS orderID_Max From secondCatalog "
                                  "WHERE (secondCatalog.firstCatalog=?);"),
                   {parent});
    case 3:
        return run(QStringLiteral("SELECT Max(thirdCatalog.orderID) AS orderID_Max From thirdCatalog "
                                  "WHERE (thirdCatalog.secondCatalog=?);"),
                   {parent});
    default:
        return badLevel(level);
    }
}

SqlResult SiteDb::selectContents(int level, const QString& page) const
{
    const QString t = contentTable(level);
    if (t.isEmpty())
        return badLevel(level);
    return run(QStringLiteral("SELECT * From %1 WHERE (%2=?) ORDER BY ID DESC;").arg(t, contentLink(level)), {page});
}

SqlResult SiteDb::selectContent(int level, qint64 id) const
{
    const QString t = contentTable(level);
    if (t.isEmpty())
        return badLevel(level);
    return run(QStringLiteral("SELECT * FROM %1 WHERE(ID=?);").arg(t), {id});
}

SqlResult SiteDb::deleteContent(int level, qint64 id) const
{
    const QString t = contentTable(level);
    if (t.isEmpty())
        return badLevel(level);
    return run(QStringLiteral("DELETE From %1 WHERE(ID=?);").arg(t), {id});
}

SqlResult SiteDb::clearContents(int level, const QString& page) const
{
    const QString t = contentTable(level);
    if (t.isEmpty())
        return badLevel(level);
    QString sql = QStringLiteral("UPDATE %1 SET field01='', value01=''").arg(t);
    for (int n = 2; n <= 15; ++n)
        sql += QStringLiteral(", field%1 = '', value%1 = ''").arg(n, 2, 10, QLatin1Char('0'));
    sql += QStringLiteral(" WHERE(%1=?);").arg(contentLink(level).toLower());
    return run(sql, {page});
}

static bool isTemplateTable(const QString& table)
{
    return table == QLatin1String("defaultTmpl") || table == QLatin1String("headTmpl");
}

SqlResult SiteDb::selectTemplateGroups(const QString& table) const
{
    if (!isTemplateTable(table)) {
        SqlResult r;
        r.error = QStringLiteral("未知的模板表：%1").arg(table);
        return r;
    }
    return run(QStringLiteral("SELECT tmplType FROM %1 GROUP BY tmplType").arg(table));
}

SqlResult SiteDb::selectTemplates(const QString& table, const QString& group) const
{
    if (!isTemplateTable(table)) {
        SqlResult r;
        r.error = QStringLiteral("未知的模板表：%1").arg(table);
        return r;
    }
    return run(QStringLiteral("SELECT * FROM %1 WHERE(tmplType=?);").arg(table), {group});
}

SqlResult SiteDb::selectFonts() const
{
    return run(QStringLiteral("SELECT * FROM font"));
}

SqlResult SiteDb::selectProdTypes() const
{
    return run(QStringLiteral("SELECT * FROM prodType ORDER BY type_ID"));
}

SqlResult SiteDb::selectProdClasses(const QString& typeName) const
{
    return run(
        QStringLiteral(
            "SELECT prodClass.*, prodType.Type_name FROM prodType INNER JOIN prodClass "
            "ON prodType.Type_ID = prodClass.Type_ID WHERE (((prodType.Type_name)=?)) ORDER BY prodClass.rowid;"),
        {typeName});
}
