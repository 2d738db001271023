#pragma once

#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "core/AppContext.h"
#include "data/SiteDb.h"

#include <QStringList>
#include <QWidget>
#include <QtTest>

// A control of a window or dialog by its name; a missing one fails the test at once.
template <class T = QWidget> T* ctl(const QObject& owner, const QString& name)
{
    T* c = owner.findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}
template <class T = QWidget> T* ctl(const QObject* owner, const QString& name)
{
    return ctl<T>(*owner, name);
}

// Writes a catalog row; names: its parents' names (level 1 first), then its own.
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

// value01..valueNN of a content row, "<null>" for a null.
inline QStringList contentValues(const QSqlRecord& r, int n = 4)
{
    QStringList out;
    for (int i = 1; i <= n; ++i) {
        const QString c = QStringLiteral("value%1").arg(i, 2, 10, QLatin1Char('0'));
        out << (fieldIsNull(r, c) ? QStringLiteral("<null>") : fieldText(r, c));
    }
    return out;
}

// A fresh workspace with its database open, a recorder for messages and the
// context every window takes; the site is called siteName.
struct SiteFixture {
    TestAppDir app;
    SiteDb db{QStringLiteral("site-fixture")};
    RecordingDialogService dlg;
    AppContext ctx{db, dlg};

    explicit SiteFixture(const QString& siteName = QStringLiteral("测试网站"))
    {
        db.open(app.workPath());
        db.updateUserInfo(QStringLiteral("webName"), siteName);
        ctx.appPath = app.appPath();
        ctx.workPath = app.workPath();
        ctx.imgPath = app.workPath();
    }

    QString inWork(const QString& name) const { return app.workPath() + name; }

    SqlResult insertRow(int level, const QStringList& names, bool catalog, const QVariant& order,
                        const QString& fmt = {}) const
    {
        return insertCatalogRow(db, level, names, catalog, order, fmt);
    }

    // Rows of a catalog table as "name|parents (nearest first)|catalog|orderID|aspFileName", in storage order.
    QStringList rows(int level) const
    {
        static const char* sql[] = {
            "SELECT firstCatalog, [catalog], orderID, aspFileName FROM firstCatalog ORDER BY rowid",
            "SELECT secondCatalog, firstCatalog, [catalog], orderID, aspFileName FROM secondCatalog ORDER BY rowid",
            "SELECT thirdCatalog, secondCatalog, firstCatalog, [catalog], orderID, aspFileName FROM thirdCatalog "
            "ORDER BY rowid"};
        QStringList out;
        for (const QSqlRecord& rec : db.run(QString::fromLatin1(sql[level - 1])).rows) {
            QStringList f;
            for (int i = 0; i < rec.count(); ++i)
                f << (rec.value(i).isNull() ? QStringLiteral("NULL") : rec.value(i).toString());
            out << f.join(QLatin1Char('|'));
        }
        return out;
    }
    QStringList allRows() const { return rows(1) + rows(2) + rows(3); }

    // A settings column as SQL sees it: "NULL" for a null, "<none>" without the settings row.
    QString stored(const QString& column) const
    {
        const SqlResult r = db.run(QStringLiteral("SELECT %1 FROM user_info WHERE user_ID=1").arg(column));
        if (!r.ok || r.isEmpty())
            return QStringLiteral("<none>");
        return r.first().value(0).isNull() ? QStringLiteral("NULL") : r.first().value(0).toString();
    }

    // The content rows of a page, newest last.
    QList<QSqlRecord> contents(int level, const QString& page) const { return db.selectContents(level, page).rows; }
};
