#include "SiteModel.h"

#include <QAtomicInteger>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace {

struct CatalogRow {
    QString parent;
    QString name;
    bool catalog = false;
    QString format;
};

// Runs a forward-only query; false with the database's description on failure.
bool runQuery(QSqlDatabase& db, const QString& sql, QSqlQuery& q, QString* error)
{
    q = QSqlQuery(db);
    q.setForwardOnly(true);
    if (q.exec(sql))
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

QString text(const QSqlQuery& q, int column)
{
    return q.value(column).toString();
}

bool readLevel(QSqlDatabase& db, int level, QVector<CatalogRow>& rows, QString* error)
{
    static const char* const sql[] = {
        "SELECT '', firstCatalog, [catalog], aspFileName FROM firstCatalog ORDER BY orderID, rowid",
        "SELECT firstCatalog, secondCatalog, [catalog], aspFileName FROM secondCatalog ORDER BY orderID, rowid",
        "SELECT secondCatalog, thirdCatalog, [catalog], aspFileName FROM thirdCatalog ORDER BY orderID, rowid",
    };
    QSqlQuery q;
    if (!runQuery(db, QString::fromLatin1(sql[level - 1]), q, error))
        return false;
    while (q.next())
        rows.append({text(q, 0), text(q, 1), q.value(2).toBool(), text(q, 3).trimmed()});
    return true;
}

bool readContent(QSqlDatabase& db, int level, QHash<QString, QVector<SiteRecord>>& out, QString* error)
{
    static const char* const link[] = {"firstCatalog", "secondCatalog", "thirdCatalog"};
    const QString sql = QStringLiteral("SELECT ID, %1, value01, value02, value03, value04, value05, value06 "
                                       "FROM content0%2 ORDER BY ID DESC")
                            .arg(QLatin1String(link[level - 1]))
                            .arg(level);
    QSqlQuery q;
    if (!runQuery(db, sql, q, error))
        return false;
    while (q.next()) {
        SiteRecord r;
        r.id = q.value(0).toLongLong();
        for (int i = 0; i < 6; ++i)
            r.value[i] = text(q, 2 + i);
        out[text(q, 1)].append(std::move(r));
    }
    return true;
}

bool readInfo(QSqlDatabase& db, SettingsRow& info, QString* error)
{
    QSqlQuery q;
    if (!runQuery(db,
                  QStringLiteral("SELECT %1 FROM user_info ORDER BY user_ID LIMIT 1").arg(SettingsRow::selectList()), q,
                  error))
        return false;
    if (q.next())
        info = SettingsRow::fromRecord(q.record());
    return true;
}

// SQLite asks every few thousand steps whether to go on; past the deadline the
// running statement fails as interrupted.
int pastDeadline(void* deadline)
{
    return static_cast<QDeadlineTimer*>(deadline)->hasExpired() ? 1 : 0;
}

} // namespace

const QVector<SiteRecord>& SiteModel::recordsOf(const SitePage& page) const
{
    static const QVector<SiteRecord> none;
    return page.records ? *page.records : none;
}

bool loadSiteModel(const QString& dbPath, SiteModel& model, QString* error, int maxReadSeconds)
{
    model = SiteModel();
    if (!QFileInfo(dbPath).isFile()) {
        if (error)
            *error = QStringLiteral("找不到网站数据库：") + dbPath;
        return false;
    }
    static QAtomicInteger<int> serial;
    const QString connection = QStringLiteral("siteRender%1").arg(serial.fetchAndAddRelaxed(1));
    bool ok = false;
    QDeadlineTimer deadline(maxReadSeconds > 0 ? qint64(maxReadSeconds) * 1000 : -1);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(dbPath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            if (error)
                *error = db.lastError().text();
        } else {
            const QVariant handle = db.driver()->handle();
            if (qstrcmp(handle.typeName(), "sqlite3*") == 0 && maxReadSeconds > 0)
                sqlite3_progress_handler(*static_cast<sqlite3* const*>(handle.constData()), 10000, pastDeadline,
                                         &deadline);
            QVector<CatalogRow> levels[3];
            ok = readInfo(db, model.info, error);
            for (int level = 1; ok && level <= 3; ++level)
                ok = readLevel(db, level, levels[level - 1], error) &&
                     readContent(db, level, model.content[level - 1], error);
            if (ok) {
                // Children by parent name, in stored order; a row whose parent is missing is not part of the site.
                QHash<QString, QVector<const CatalogRow*>> byParent[2];
                for (int level = 2; level <= 3; ++level)
                    for (const CatalogRow& row : levels[level - 1])
                        byParent[level - 2][row.parent].append(&row);
                std::function<void(SitePage*, const CatalogRow&, int, const QString&)> add =
                    [&](SitePage* parent, const CatalogRow& row, int level, const QString& file) {
                        auto page = std::make_unique<SitePage>();
                        SitePage* p = page.get();
                        p->level = level;
                        p->name = row.name;
                        p->catalog = row.catalog;
                        p->format = row.catalog ? QString() : row.format;
                        p->parent = parent;
                        p->file = file + QStringLiteral(".htm");
                        const auto it = model.content[level - 1].constFind(row.name);
                        if (!row.catalog && it != model.content[level - 1].cend())
                            p->records = &it.value();
                        model.pages.push_back(std::move(page));
                        if (parent)
                            parent->children.push_back(p);
                        else
                            model.top.push_back(p);
                        if (level < 3 && row.catalog) {
                            int n = 0;
                            for (const CatalogRow* child : byParent[level - 1].value(row.name))
                                add(p, *child, level + 1, file + QLatin1Char('-') + QString::number(++n));
                        }
                    };
                int n = 0;
                for (const CatalogRow& row : levels[0])
                    add(nullptr, row, 1, QStringLiteral("p") + QString::number(++n));
            }
            if (!ok && deadline.hasExpired() && error)
                *error = QStringLiteral("读取网站数据库超过 %1 秒，已停止").arg(maxReadSeconds);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}
