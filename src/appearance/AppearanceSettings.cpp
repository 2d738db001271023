#include "AppearanceSettings.h"

#include "data/SiteDb.h"
#include "text/TextCodec.h"
#include "workspace/WorkspaceFiles.h"

#include <QFileInfo>
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

namespace {
const QString kNotice = QStringLiteral("提示");
}

Outcome setBackground(const SiteDb& db, const QString& workPath, const QString& chosenPath, const QString& previous,
                      QString* name)
{
    if (!cls_func().isEng(QFileInfo(chosenPath).fileName()))
        return Outcome::refused(QStringLiteral("所选择的文件名中不能包含中文，请重命名后选择文件！"), kNotice,
                                MsgIcon::Information);
    const WorkspaceFiles::Result copied = WorkspaceFiles::copyIn(chosenPath, workPath);
    if (!copied.ok)
        return Outcome::refused(copied.error, kNotice, MsgIcon::Information);
    const SqlResult r = db.updateUserInfo(QStringLiteral("backGround"), copied.fileName);
    if (!r) {
        if (copied.created)
            WorkspaceFiles::removeIfUnused(db, workPath, copied.fileName);
        return Outcome::refused(r.error, kNotice, MsgIcon::Information);
    }
    // The former background goes once the row names the new one, unless a record still shows it.
    WorkspaceFiles::removeIfUnused(db, workPath, previous);
    *name = copied.fileName;
    Outcome out;
    out.done = true;
    return out;
}

Outcome clearBackground(const SiteDb& db, const QString& workPath, const QString& shown)
{
    const SqlResult r = db.updateUserInfo(QStringLiteral("backGround"), QString());
    if (!r)
        return Outcome::refused(r.error, kNotice, MsgIcon::Information);
    WorkspaceFiles::removeIfUnused(db, workPath, shown);
    Outcome out;
    out.done = true;
    return out;
}

} // namespace AppearanceSettings
