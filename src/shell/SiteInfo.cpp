#include "SiteInfo.h"

#include "data/SettingsRow.h"
#include "workspace/WorkspaceFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SiteInfo {

Stored load(const SiteDb& db)
{
    Stored s;
    const SettingsRow row = db.settings();
    if (!row.present)
        return s;
    s.details = {row.webName, row.govName, row.address, row.linkMan, row.tel, row.mobile, row.fax, row.zip, row.email};
    s.logo = row.logo;
    s.ok = true;
    return s;
}

SqlResult save(const SiteDb& db, const Details& d, const QString& logo)
{
    return db.run(QStringLiteral("UPDATE user_info SET webName = ?, gov_name = ?, Address = ?, linkMan = ?, "
                                 "Tel = ?, Mobile = ?, Fax = ?, Zip = ?, Email = ?, logo = ? WHERE user_ID=1;"),
                  {d.webName, d.govName, d.addr, d.linkMan, d.tel, d.mobile, d.fax, d.zip, d.email, logo});
}

SqlResult clearLogo(const SiteDb& db)
{
    return db.run(QStringLiteral("UPDATE user_info SET logo = '';"));
}

bool isBlankName(const QString& webName)
{
    return webName.trimmed().isEmpty();
}

QString logoFilter()
{
    return QStringLiteral("图像文件(*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif");
}

// ---- LogoSlot ----

void LogoSlot::load(const QString& stored)
{
    m_logoName = stored;
    m_oldLogoName = stored;
    m_unsavedCopy.clear();
}

QString LogoSlot::choose(const SiteDb& db, const QString& chosenPath, const QString& folder, QString* error)
{
    bool copied = false;
    const QString name = placeInWorkspace(chosenPath, folder, &copied, error);
    if (name.isEmpty())
        return QString();
    // The copy of an earlier unsaved choice is replaced; the stored file stays until a save.
    if (!m_unsavedCopy.isEmpty() && m_unsavedCopy != name && m_unsavedCopy != m_oldLogoName)
        WorkspaceFiles::removeIfUnused(db, folder, m_unsavedCopy);
    if (copied)
        m_unsavedCopy = name;
    else if (m_unsavedCopy != name)
        m_unsavedCopy.clear();
    m_logoName = name;
    return name;
}

bool LogoSlot::saved(const SiteDb& db, const QString& folder, QString* error)
{
    const QString previous = m_oldLogoName;
    m_oldLogoName = m_logoName;
    m_unsavedCopy.clear();
    if (previous.isEmpty() || previous == m_logoName)
        return true;
    return WorkspaceFiles::removeIfUnused(db, folder, previous, error);
}

bool LogoSlot::removed(const SiteDb& db, const QString& folder, QString* error)
{
    const QString stored = m_oldLogoName;
    const QString copy = m_unsavedCopy;
    load(QString());
    bool ok = true;
    if (!stored.isEmpty())
        ok = WorkspaceFiles::removeIfUnused(db, folder, stored, error);
    if (!copy.isEmpty() && copy != stored)
        ok = WorkspaceFiles::removeIfUnused(db, folder, copy, ok ? error : nullptr) && ok;
    return ok;
}

QString LogoSlot::placeInWorkspace(const QString& path, const QString& folder, bool* copied, QString* error)
{
    const WorkspaceFiles::Result r = WorkspaceFiles::copyIn(path, folder);
    *copied = r.created;
    if (!r.ok && error)
        *error = r.error;
    return r.ok ? r.fileName : QString();
}

} // namespace SiteInfo
