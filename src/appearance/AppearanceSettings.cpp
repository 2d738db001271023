#include "AppearanceSettings.h"

#include "data/SiteDb.h"

#include <QStringList>

namespace AppearanceSettings {

QString featureColumn(int index)
{
    static const char* const columns[kFeatureCount] = {"field02",    "field03", "adBoard",
                                                       "Javascript", "field04", "field05"};
    return index >= 0 && index < kFeatureCount ? QString::fromLatin1(columns[index]) : QString();
}

std::optional<int> featureValue(const QString& field)
{
    bool ok = false;
    const int value = field.section(QStringLiteral("||"), 0, 0).trimmed().toInt(&ok);
    if (!ok || (value != 0 && value != 1))
        return std::nullopt;
    return value;
}

Stored load(const SiteDb& db)
{
    Stored s;
    const SqlResult r = db.selectUserInfo();
    if (!r || r.isEmpty())
        return s;
    s.hasRow = true;
    const QSqlRecord& row = r.first();
    auto text = [&row](const char* column) { return fieldText(row, QString::fromLatin1(column)); };
    s.defaultFile = text("defaultFile");
    s.topHead = text("topHead");
    s.field01 = text("field01");
    s.defaultTmpl = text("defaultTmpl");
    s.headTmpl = text("headTmpl");
    s.defaultFont = text("defaultFont");
    s.headFont = text("headFont");
    s.backGround = text("backGround");
    for (int i = 0; i < kFeatureCount; ++i) {
        const QString column = featureColumn(i);
        if (!fieldIsNull(row, column))
            s.features[i] = featureValue(fieldText(row, column));
    }
    return s;
}

} // namespace AppearanceSettings
