#pragma once

#include "data/SiteDb.h"

#include <QString>

// The product rows of a product page: name, model (规格), unit and price as
// typed, the reference picture's file name in the workspace (or ""), and the
// description in the editor's stored form.
namespace Products {

struct Product {
    QString name;
    QString model; // 规格
    QString unit;
    QString price;
    QString picture;
    QString description;
};

SqlResult insertProduct(const SiteDb& db, int level, const QString& page, const Product& p);
SqlResult updateProduct(const SiteDb& db, int level, qint64 id, const Product& p);
// The product as a row of the level's table holds it.
Product fromRecord(const QSqlRecord& row);

} // namespace Products
