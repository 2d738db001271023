#pragma once

#include "AtomicFile.h"

#include <QMap>
#include <QString>

// What the hosting server keeps on disk: the accounts file given on the command
// line, and below the data folder the owners of the site names and the sites.
//
//   <accounts file>           "<account> <password>" per line
//   DIR/siteowners.txt        "<site name> <account>" per line
//   DIR/sites/<name>/ziptest.zip, DIR/sites/<name>/site/...
//
// Both files may be edited by the operator while the server runs: they are read
// again before every change, only the line concerned is rewritten (byte for byte
// the rest), and the rewrite is atomic (AtomicFile).
class SiteStore {
public:
    SiteStore(const QString& accountsFile, const QString& dataDir, const AtomicFile::WriteFn& writeFn = {});

    bool checkLogin(const QString& account, const QString& password) const;
    // Rewrites the account's line; false (with *error) when the account is
    // unknown, the password unusable or the file cannot be rewritten (it then
    // stays as it was).
    bool changePassword(const QString& account, const QString& password, QString* error);

    // Site names are letters and digits only, and no longer than a domain label.
    static bool isValidSiteName(const QString& name);

    enum class Claim { Granted, Taken, Invalid, Failed };
    // Gives the name to the account (an account has one site; claiming a new name
    // renames its site folder). Names are compared without regard to case.
    Claim claimSiteName(const QString& account, const QString& name, QString* error);
    // The account's site name, empty when it has none.
    QString siteOf(const QString& account) const;

    QString dataDir() const { return m_dataDir; }
    QString siteFolder(const QString& name) const; // DIR/sites/<name>/

private:
    QString ownersFile() const { return m_dataDir + QStringLiteral("siteowners.txt"); }
    void refreshOwners() const;
    void takeOwners(const QByteArray& bytes, const AtomicFile::Stamp& stamp) const;

    QString m_accountsFile;
    QString m_dataDir;
    AtomicFile::WriteFn m_writeFn;
    // lower-case name -> (name as claimed, account), as last read from the file
    mutable QMap<QString, QPair<QString, QString>> m_owners;
    mutable AtomicFile::Stamp m_ownersStamp;
};
