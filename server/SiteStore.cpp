#include "SiteStore.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

QStringList readLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (QString& l : lines) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool writeLines(const QString& path, const QStringList& lines, QString* error)
{
    // Written beside the old file and renamed over it: a crash never leaves half a file.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        *error = f.errorString();
        return false;
    }
    f.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    if (!f.commit()) {
        *error = f.errorString();
        return false;
    }
    return true;
}

// "<first> <rest>": the first word and everything after the first blank.
bool splitLine(const QString& line, QString* first, QString* rest)
{
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        return false;
    const int sp = line.indexOf(QLatin1Char(' '));
    if (sp <= 0)
        return false;
    *first = line.left(sp);
    *rest = line.mid(sp + 1);
    return true;
}

} // namespace

SiteStore::SiteStore(const QString& accountsFile, const QString& dataDir)
    : m_accountsFile(accountsFile), m_dataDir(QDir(dataDir).absolutePath() + QLatin1Char('/'))
{
    loadOwners();
}

bool SiteStore::checkLogin(const QString& account, const QString& password) const
{
    // Read on every login, so accounts the operator adds count at once.
    for (const QString& line : readLines(m_accountsFile)) {
        QString a, p;
        if (splitLine(line, &a, &p) && a == account)
            return p == password;
    }
    return false;
}

bool SiteStore::changePassword(const QString& account, const QString& password, QString* error)
{
    if (password.isEmpty() || password.contains(QLatin1Char('\n')) || password.contains(QLatin1Char('\r'))) {
        *error = QStringLiteral("unusable password");
        return false;
    }
    QStringList lines = readLines(m_accountsFile);
    bool found = false;
    for (QString& line : lines) {
        QString a, p;
        if (!found && splitLine(line, &a, &p) && a == account) {
            line = account + QLatin1Char(' ') + password;
            found = true;
        }
    }
    if (!found) {
        *error = QStringLiteral("unknown account");
        return false;
    }
    return writeLines(m_accountsFile, lines, error);
}

bool SiteStore::isValidSiteName(const QString& name)
{
    if (name.isEmpty() || name.size() > 63)
        return false;
    for (QChar c : name) {
        const ushort u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')))
            return false;
    }
    return true;
}

QString SiteStore::siteFolder(const QString& name) const
{
    return m_dataDir + QStringLiteral("sites/") + name + QLatin1Char('/');
}

QString SiteStore::siteOf(const QString& account) const
{
    for (auto it = m_owners.cbegin(); it != m_owners.cend(); ++it) {
        if (it.value().second == account)
            return it.value().first;
    }
    return {};
}

SiteStore::Claim SiteStore::claimSiteName(const QString& account, const QString& name, QString* error)
{
    if (!isValidSiteName(name))
        return Claim::Invalid;
    const QString key = name.toLower();
    const auto it = m_owners.constFind(key);
    if (it != m_owners.cend() && it.value().second != account)
        return Claim::Taken;

    const QString old = siteOf(account);
    if (old == name)
        return Claim::Granted;
    const QString oldFolder = old.isEmpty() ? QString() : siteFolder(old);
    const QString newFolder = siteFolder(name);
    // The published site moves with its name; the new name is free, so its folder
    // can only be a leftover nobody owns.
    if (!oldFolder.isEmpty() && QFileInfo(oldFolder).isDir()) {
        if (QFileInfo(newFolder).exists() && old.toLower() != key)
            QDir(newFolder).removeRecursively();
        if (!QDir().rename(oldFolder, newFolder)) {
            *error = QStringLiteral("cannot move %1 to %2").arg(oldFolder, newFolder);
            return Claim::Failed;
        }
    }
    if (!old.isEmpty())
        m_owners.remove(old.toLower());
    m_owners.insert(key, qMakePair(name, account));
    return saveOwners(error) ? Claim::Granted : Claim::Failed;
}

void SiteStore::loadOwners()
{
    m_owners.clear();
    for (const QString& line : readLines(m_dataDir + QStringLiteral("siteowners.txt"))) {
        QString name, account;
        if (splitLine(line, &name, &account) && isValidSiteName(name))
            m_owners.insert(name.toLower(), qMakePair(name, account));
    }
}

bool SiteStore::saveOwners(QString* error) const
{
    QStringList lines;
    for (const auto& v : m_owners)
        lines << v.first + QLatin1Char(' ') + v.second;
    QDir().mkpath(m_dataDir);
    return writeLines(m_dataDir + QStringLiteral("siteowners.txt"), lines, error);
}
