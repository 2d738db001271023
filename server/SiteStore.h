#pragma once

#include <QMap>
#include <QString>

// What the hosting server keeps on disk: the accounts file given on the command
// line, and below the data folder the owners of the site names and the sites.
//
//   <accounts file>           "<account> <password>" per line
//   DIR/siteowners.txt        "<site name> <account>" per line
//   DIR/sites/<name>/ziptest.zip, DIR/sites/<name>/site/...
class SiteStore {
public:
    SiteStore(const QString& accountsFile, const QString& dataDir);

    bool checkLogin(const QString& account, const QString& password) const;
    // Rewrites the accounts file atomically; false (with *error) when the account
    // is unknown, the password unusable or the file cannot be written.
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
    void loadOwners();
    bool saveOwners(QString* error) const;

    QString m_accountsFile;
    QString m_dataDir;
    // lower-case name -> (name as claimed, account)
    QMap<QString, QPair<QString, QString>> m_owners;
};
