#include "AppearanceSettings.h"

#include "appearance/CustomPages.h"
#include "core/Messages.h"
#include "data/FeatureFields.h"
#include "data/SettingsRow.h"
#include "data/SiteDb.h"
#include "text/TextCodec.h"
#include "workspace/WorkspaceFiles.h"

#include <QFileInfo>
#include <QStringList>

namespace AppearanceSettings {

namespace {
// The feature boxes' fields, in the order of the boxes.
QString SettingsRow::*const kFeatures[kFeatureCount] = {&SettingsRow::forum,     &SettingsRow::mail,
                                                        &SettingsRow::adBoard,   &SettingsRow::javascript,
                                                        &SettingsRow::guestbook, &SettingsRow::office};
} // namespace

QString featureColumn(int index)
{
    return index >= 0 && index < kFeatureCount ? SettingsRow::columnOf(kFeatures[index]) : QString();
}

Stored load(const SiteDb& db)
{
    Stored s;
    const SettingsRow row = db.settings();
    if (!row.present)
        return s;
    s.hasRow = true;
    s.defaultFile = row.defaultFile;
    s.topHead = row.topHead;
    s.field01 = row.otherPages;
    s.defaultTmpl = row.defaultTmpl;
    s.headTmpl = row.headTmpl;
    s.defaultFont = row.defaultFont;
    s.headFont = row.headFont;
    s.backGround = row.backGround;
    for (int i = 0; i < kFeatureCount; ++i) {
        if (!row.isNull(kFeatures[i]))
            s.features[i] = FeatureFields::featureValue(row.*kFeatures[i]);
    }
    return s;
}

namespace {
}

Outcome setBackground(const SiteDb& db, const QString& workPath, const QString& chosenPath, const QString& previous,
                      QString* name)
{
    if (!cls_func().isEng(QFileInfo(chosenPath).fileName()))
        return Messages::refused(Messages::Id::NonAsciiName);
    const WorkspaceFiles::Result copied = WorkspaceFiles::copyIn(chosenPath, workPath);
    if (!copied.ok)
        return Outcome::refused(copied.error, Messages::notice(), MsgIcon::Information);
    const SqlResult r = db.updateUserInfo(QStringLiteral("backGround"), copied.fileName);
    if (!r) {
        if (copied.created)
            WorkspaceFiles::removeIfUnused(db, workPath, copied.fileName);
        return Outcome::refused(r.error, Messages::notice(), MsgIcon::Information);
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
        return Outcome::refused(r.error, Messages::notice(), MsgIcon::Information);
    WorkspaceFiles::removeIfUnused(db, workPath, shown);
    Outcome out;
    out.done = true;
    return out;
}

} // namespace AppearanceSettings
