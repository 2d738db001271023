#pragma once

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

struct SettingsRow;

// Outcome of one statement: rows for a query, the failure's description otherwise.
struct SqlResult {
    bool ok = false;
    QString error;
    QList<QSqlRecord> rows;
    int rowsAffected = 0;
    QVariant lastInsertId;

    explicit operator bool() const { return ok; }
    bool isEmpty() const { return rows.isEmpty(); }
    const QSqlRecord& first() const { return rows.first(); }
};

// Reads a column by name, case-insensitively; null and missing read as "".
QString fieldText(const QSqlRecord& row, const QString& column);
QVariant fieldValue(const QSqlRecord& row, const QString& column);
bool fieldIsNull(const QSqlRecord& row, const QString& column);

// The program's one connection to the site database "govbuilder.sbd".
// Every statement binds its values: text is stored exactly as given.
class SiteDb {
public:
    static const QString kFileName; // "govbuilder.sbd"

    explicit SiteDb(const QString& connectionName = QStringLiteral("conn"));
    ~SiteDb();
    SiteDb(const SiteDb&) = delete;
    SiteDb& operator=(const SiteDb&) = delete;

    // Opens workPath + "govbuilder.sbd". A file that is not a database stays
    // untouched and leaves the connection unusable (every statement fails).
    bool open(const QString& workPath);
    void close();
    bool isOpen() const;
    QString lastOpenError() const { return m_openError; }
    QString filePath() const { return m_path; }
    QString connectionName() const { return m_name; }

    // Runs one statement with positional "?" bindings.
    SqlResult run(const QString& sql, const QVariantList& binds = {}) const;

    // ---- settings row ----
    SqlResult selectUserInfo() const; // SELECT * FROM user_info
    SettingsRow settings() const;     // not present when it cannot be read
    QString webName() const;          // "" when it cannot be read
    // Every value the program writes into the settings row is text between
    // quotes: an empty text is stored as '' (never NULL), as the hosting side
    // reads the row. Only an invalid QVariant stores NULL.
    SqlResult updateUserInfo(const QString& column, const QVariant& value) const;

    // ---- catalog tables ----
    SqlResult selectFirstCatalogs() const;
    SqlResult selectSecondCatalogs(const QString& firstName) const;
    SqlResult selectThirdCatalogs(const QString& secondName) const;
    // level 1..3: "firstCatalog", "secondCatalog", "thirdCatalog"
    static QString catalogTable(int level);
    SqlResult selectCatalogByName(int level, const QString& name) const;
    SqlResult renameCatalog(int level, const QString& oldName, const QString& newName) const;
    SqlResult deleteCatalog(int level, const QString& name) const;
    // Max(orderID) AS orderID_Max, of the whole level-1 table or of the parent's children.
    SqlResult selectMaxOrderID(int level, const QString& parent = QString()) const;

    // ---- content tables ----
    // level 1..3: "content01" / "firstCatalog", ...
    static QString contentTable(int level);
    static QString contentLink(int level);
    SqlResult selectContents(int level, const QString& page) const; // newest first
    SqlResult selectContent(int level, qint64 id) const;
    SqlResult deleteContent(int level, qint64 id) const;
    // Blanks field01..15 and value01..15 of every record of the page.
    SqlResult clearContents(int level, const QString& page) const;

    // ---- choice tables ----
    SqlResult selectTemplateGroups(const QString& table) const; // "defaultTmpl" or "headTmpl"
    SqlResult selectTemplates(const QString& table, const QString& group) const;
    SqlResult selectFonts() const;
    SqlResult selectProdTypes() const;
    SqlResult selectProdClasses(const QString& typeName) const;

private:
    QString m_name;
    QString m_path;
    QString m_openError;
};
