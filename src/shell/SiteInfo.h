#pragma once

#include "data/SiteDb.h"

#include <QString>

// The organisation's details kept in the one user_info row, and its logo.
namespace SiteInfo {

struct Details {
    QString webName, govName, addr, linkMan, tel, mobile, fax, zip, email;
};

struct Stored {
    Details details;
    QString logo;    // "" when none
    bool ok = false; // false when the row could not be read
};

// SELECT * FROM user_info; null and missing columns read as "".
Stored load(const SiteDb& db);
// Every detail exactly as typed (not trimmed, not encoded), with the logo name.
SqlResult save(const SiteDb& db, const Details& d, const QString& logo);
// Writes the empty logo at once.
SqlResult clearLogo(const SiteDb& db);
// A site name of blanks only (or nothing) cannot be saved.
bool isBlankName(const QString& webName);

QString logoFilter(); // the file-open filter of the logo choice

// The logo's file in the workspace folder. logoName is what the next save
// stores; oldLogoName what the stored row names. A file copied in for a choice
// that was never saved is remembered so a later choice replaces it; the stored
// file is deleted only once the row no longer names it, so the row never names
// a deleted file. Like the pictures of the pages, a file goes only when no
// record names it: the logo may be a picture a page shows, or the page's
// picture reused for the logo.
class LogoSlot {
public:
    void load(const QString& stored);
    QString logoName() const { return m_logoName; }
    QString oldLogoName() const { return m_oldLogoName; }

    // Places the chosen picture in folder (ending in "/"); returns the name a
    // save will store, or "" with error set when nothing changed.
    QString choose(const SiteDb& db, const QString& chosenPath, const QString& folder, QString* error);
    // The row now names logoName: the file it named before goes.
    bool saved(const SiteDb& db, const QString& folder, QString* error);
    // The row's logo was emptied: the stored file and an unsaved copy go.
    bool removed(const SiteDb& db, const QString& folder, QString* error);

private:
    // Copies path into folder through the workspace's one copy routine (a free
    // name instead of replacing a different file, an identical one reused).
    // copied tells whether a new file was written.
    static QString placeInWorkspace(const QString& path, const QString& folder, bool* copied, QString* error);

    QString m_logoName;
    QString m_oldLogoName;
    QString m_unsavedCopy;
};

} // namespace SiteInfo
