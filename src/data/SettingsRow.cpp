#include "SettingsRow.h"

#include "data/SiteDb.h"

#include <QStringList>

const QList<SettingsRow::Column>& SettingsRow::columns()
{
    static const QList<Column> all{
        {"webName", &SettingsRow::webName},
        {"gov_name", &SettingsRow::govName},
        {"Address", &SettingsRow::address},
        {"linkMan", &SettingsRow::linkMan},
        {"Tel", &SettingsRow::tel},
        {"Mobile", &SettingsRow::mobile},
        {"Fax", &SettingsRow::fax},
        {"Zip", &SettingsRow::zip},
        {"Email", &SettingsRow::email},
        {"logo", &SettingsRow::logo},
        {"serial", &SettingsRow::serial},
        {"site_name", &SettingsRow::siteName},
        {"defaultTmpl", &SettingsRow::defaultTmpl},
        {"headTmpl", &SettingsRow::headTmpl},
        {"defaultFont", &SettingsRow::defaultFont},
        {"headFont", &SettingsRow::headFont},
        {"backGround", &SettingsRow::backGround},
        {"defaultFile", &SettingsRow::defaultFile},
        {"topHead", &SettingsRow::topHead},
        {"field01", &SettingsRow::otherPages},
        {"field02", &SettingsRow::forum},
        {"field03", &SettingsRow::mail},
        {"field04", &SettingsRow::guestbook},
        {"field05", &SettingsRow::office},
        {"adBoard", &SettingsRow::adBoard},
        {"Javascript", &SettingsRow::javascript},
        {"field06", &SettingsRow::field06},
    };
    return all;
}

QString SettingsRow::columnOf(QString SettingsRow::*field)
{
    for (const Column& c : columns())
        if (c.field == field)
            return QString::fromLatin1(c.name);
    return {};
}

QString SettingsRow::selectList()
{
    QStringList names;
    for (const Column& c : columns())
        names << QString::fromLatin1(c.name);
    return names.join(QStringLiteral(", "));
}

SettingsRow SettingsRow::fromRecord(const QSqlRecord& record)
{
    SettingsRow row;
    row.present = true;
    for (int i = 0; i < columns().size(); ++i) {
        const Column& c = columns().at(i);
        const QVariant v = fieldValue(record, QString::fromLatin1(c.name));
        if (v.isNull())
            row.m_nulls |= quint64(1) << i;
        else
            row.*c.field = v.toString();
    }
    return row;
}

bool SettingsRow::isNull(QString SettingsRow::*field) const
{
    for (int i = 0; i < columns().size(); ++i)
        if (columns().at(i).field == field)
            return m_nulls & (quint64(1) << i);
    return true;
}
