#pragma once

#include "data/SiteDb.h"

#include <QString>

// The rows of the content tables (content01..content03), one typed record per
// kind of row. A row holds its page's name in the level's link column and the
// record's values in value01, value02, ... in the order each record's Columns
// lists them. Every writer and reader of these rows (the content windows, the
// product dialogs, the site renderer) goes through these records, so a column
// means the same thing everywhere.
namespace ContentRecords {

constexpr int kValues = 6; // value01 .. value06

// A row as stored: its ID and value01 .. value06 (null and missing read as "").
struct Row {
    qint64 id = 0;
    QString value[kValues];

    static Row fromRecord(const QSqlRecord& record);
};

// "txt" and "imgTxt01..03": title as typed, body encoded, picture names ("" for none).
struct TextPage {
    QString title;
    QString body;
    QString picture1;
    QString picture2;
};
// "bigImg": the one picture's name.
struct BigImagePage {
    QString picture;
};
// "adv": the page editor's stored HTML.
struct FreePage {
    QString html;
};
// A news item: title and date as typed, body encoded, picture name or "".
struct NewsItem {
    QString title;
    QString date;
    QString body;
    QString picture;
};
// A gallery picture: caption as typed, picture and thumbnail file names.
struct GalleryItem {
    QString caption;
    QString picture;
    QString thumbnail;
};
// A product: name, model (规格), unit and price as typed, the reference
// picture's name (or ""), the description in the editor's stored form.
struct Product {
    QString name;
    QString model;
    QString unit;
    QString price;
    QString picture;
    QString description;
};

// The fields of each record in column order: fields[0] is value01.
template <class R> struct Columns;
template <> struct Columns<TextPage> {
    static constexpr QString TextPage::*fields[] = {&TextPage::title, &TextPage::body, &TextPage::picture1,
                                                    &TextPage::picture2};
};
template <> struct Columns<BigImagePage> {
    static constexpr QString BigImagePage::*fields[] = {&BigImagePage::picture};
};
template <> struct Columns<FreePage> {
    static constexpr QString FreePage::*fields[] = {&FreePage::html};
};
template <> struct Columns<NewsItem> {
    static constexpr QString NewsItem::*fields[] = {&NewsItem::title, &NewsItem::date, &NewsItem::body,
                                                    &NewsItem::picture};
};
template <> struct Columns<GalleryItem> {
    static constexpr QString GalleryItem::*fields[] = {&GalleryItem::caption, &GalleryItem::picture,
                                                       &GalleryItem::thumbnail};
};
template <> struct Columns<Product> {
    static constexpr QString Product::*fields[] = {&Product::name,  &Product::model,   &Product::unit,
                                                   &Product::price, &Product::picture, &Product::description};
};

template <class R> R read(const Row& row)
{
    R r;
    int i = 0;
    for (QString R::*field : Columns<R>::fields)
        r.*field = row.value[i++];
    return r;
}
template <class R> R read(const QSqlRecord& record)
{
    return read<R>(Row::fromRecord(record));
}

// The record's values in column order (an empty box is stored as '', never NULL).
template <class R> QVariantList values(const R& r)
{
    QVariantList out;
    for (QString R::*field : Columns<R>::fields)
        out << r.*field;
    return out;
}

// Statements on the level's table writing value01, value02, ... with the values given.
SqlResult insertValues(const SiteDb& db, int level, const QString& page, const QVariantList& values);
SqlResult updateValues(const SiteDb& db, int level, qint64 id, const QVariantList& values);
SqlResult updatePageValues(const SiteDb& db, int level, const QString& page, const QVariantList& values);

// Adds a row of the record to the page.
template <class R> SqlResult insert(const SiteDb& db, int level, const QString& page, const R& r)
{
    return insertValues(db, level, page, values(r));
}
// Rewrites the row with this ID.
template <class R> SqlResult update(const SiteDb& db, int level, qint64 id, const R& r)
{
    return updateValues(db, level, id, values(r));
}
// Rewrites the page's rows (pages edited in place have one).
template <class R> SqlResult updatePage(const SiteDb& db, int level, const QString& page, const R& r)
{
    return updatePageValues(db, level, page, values(r));
}

} // namespace ContentRecords
