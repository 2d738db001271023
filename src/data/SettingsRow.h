#pragma once

#include <QList>
#include <QSqlRecord>
#include <QString>

// The one row of user_info as every part of the program reads it: the
// organisation's details, the appearance choices and the packed feature fields
// (their codecs are in data/FeatureFields.h). A NULL column reads as "" and is
// remembered as NULL, since some boxes tell "never set" from "set empty".
struct SettingsRow {
    bool present = false; // false when there is no row (or it could not be read)

    QString webName, govName, address, linkMan, tel, mobile, fax, zip, email, logo;
    QString serial, siteName;
    QString defaultTmpl, headTmpl, defaultFont, headFont, backGround, defaultFile, topHead;
    QString otherPages; // field01: "||a.htm||b.htm"
    QString forum;      // field02 .. field05: feature boxes
    QString mail;
    QString guestbook;
    QString office;
    QString adBoard, javascript; // packed: pop-up window, script effect
    QString field06;             // the publishing setting

    struct Column {
        const char* name; // as the schema spells it
        QString SettingsRow::*field;
    };
    // Every column of the row the program knows, in schema order.
    static const QList<Column>& columns();
    // The column's name ("" when the field is no column).
    static QString columnOf(QString SettingsRow::*field);
    // "webName, gov_name, ..." for a SELECT of every known column.
    static QString selectList();

    static SettingsRow fromRecord(const QSqlRecord& record);
    bool isNull(QString SettingsRow::*field) const;

private:
    quint64 m_nulls = 0; // bit i: columns()[i] was NULL or missing
};
