#include "SiteStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// One "<first> <rest>" line of a file, found in its bytes. Empty lines, comments
// and lines without a blank are no entries; CR LF endings are allowed.
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;  // before the line's CR LF or LF
    qsizetype next = 0; // where the next line starts
    QByteArray first;
    QByteArray rest;
};

QList<Line> entries(const QByteArray& bytes)
{
    QList<Line> out;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype nl = bytes.indexOf('\n', start);
        const qsizetype next = nl < 0 ? bytes.size() : nl + 1;
        qsizetype end = nl < 0 ? bytes.size() : nl;
        if (end > start && bytes.at(end - 1) == '\r')
            --end;
        const QByteArray content = bytes.mid(start, end - start);
        const qsizetype sp = content.indexOf(' ');
        if (!content.startsWith('#') && sp > 0)
            out.append({start, end, next, content.left(sp), content.mid(sp + 1)});
        start = next;
    }
    return out;
}

// The bytes with one more line at the end.
QByteArray appended(QByteArray bytes, const QByteArray& line)
{
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    return bytes + line + '\n';
}

} // namespace

SiteStore::SiteStore(const QString& accountsFile, const QString& dataDir, const AtomicFile::WriteFn& writeFn)
    : m_accountsFile(accountsFile), m_dataDir(QDir(dataDir).absolutePath() + QLatin1Char('/')), m_writeFn(writeFn)
{
    refreshOwners();
}

bool SiteStore::checkLogin(const QString& account, const QString& password) const
{
    // Read on every login, so accounts the operator adds count at once.
    QByteArray bytes;
    AtomicFile::Stamp stamp;
    QString error;
    if (!AtomicFile::read(m_accountsFile, &bytes, &stamp, &error))
        return false;
    const QByteArray a = account.toUtf8();
    for (const Line& line : entries(bytes)) {
        if (line.first == a)
            return line.rest == password.toUtf8();
    }
    return false;
}

bool SiteStore::changePassword(const QString& account, const QString& password, QString* error)
{
    if (password.isEmpty() || password.contains(QLatin1Char('\n')) || password.contains(QLatin1Char('\r'))) {
        *error = QStringLiteral("unusable password");
        return false;
    }
    const AtomicFile::Lock lock(m_accountsFile);
    if (!lock.locked()) {
        *error = lock.error();
        return false;
    }
    QByteArray bytes;
    AtomicFile::Stamp stamp;
    if (!AtomicFile::read(m_accountsFile, &bytes, &stamp, error))
        return false;
    const QByteArray a = account.toUtf8();
    for (const Line& line : entries(bytes)) {
        if (line.first == a) {
            bytes.replace(line.start, line.end - line.start, a + ' ' + password.toUtf8());
            return AtomicFile::write(m_accountsFile, bytes, error, &stamp, m_writeFn);
        }
    }
    *error = QStringLiteral("unknown account");
    return false;
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
    refreshOwners();
    for (auto it = m_owners.cbegin(); it != m_owners.cend(); ++it) {
        if (it.value().second == account)
            return it.value().first;
    }
    return {};
}

// The owners as the file says now; read again only when it changed.
void SiteStore::refreshOwners() const
{
    if (m_ownersStamp.exists && AtomicFile::stampOf(ownersFile()) == m_ownersStamp)
        return;
    QByteArray bytes;
    AtomicFile::Stamp stamp;
    QString error;
    if (AtomicFile::read(ownersFile(), &bytes, &stamp, &error))
        takeOwners(bytes, stamp);
    // else: keep what was known
}

void SiteStore::takeOwners(const QByteArray& bytes, const AtomicFile::Stamp& stamp) const
{
    m_ownersStamp = stamp;
    m_owners.clear();
    for (const Line& line : entries(bytes)) {
        const QString name = QString::fromUtf8(line.first);
        if (isValidSiteName(name))
            m_owners.insert(name.toLower(), qMakePair(name, QString::fromUtf8(line.rest)));
    }
}

SiteStore::Claim SiteStore::claimSiteName(const QString& account, const QString& name, QString* error)
{
    if (!isValidSiteName(name))
        return Claim::Invalid;
    QDir().mkpath(m_dataDir);
    const AtomicFile::Lock lock(ownersFile());
    if (!lock.locked()) {
        *error = lock.error();
        return Claim::Failed;
    }
    QByteArray bytes;
    AtomicFile::Stamp stamp;
    if (!AtomicFile::read(ownersFile(), &bytes, &stamp, error))
        return Claim::Failed;
    takeOwners(bytes, stamp);
    const QString key = name.toLower();
    const auto it = m_owners.constFind(key);
    if (it != m_owners.cend() && it.value().second != account)
        return Claim::Taken;
    const QString old = siteOf(account);
    if (old == name)
        return Claim::Granted;

    // The account's lines go (it has one site), the new one comes last; every other line stays.
    const QByteArray a = account.toUtf8();
    const QList<Line> lines = entries(bytes);
    for (auto l = lines.crbegin(); l != lines.crend(); ++l) {
        if (l->rest == a)
            bytes.remove(l->start, l->next - l->start);
    }
    bytes = appended(bytes, name.toUtf8() + ' ' + a);

    // The published site moves with its name; the new name is free, so its folder
    // can only be a leftover nobody owns. The folder moves back if the file cannot
    // be written.
    const QString oldFolder = old.isEmpty() ? QString() : siteFolder(old);
    const QString newFolder = siteFolder(name);
    const bool move = !oldFolder.isEmpty() && QFileInfo(oldFolder).isDir();
    if (move) {
        if (QFileInfo(newFolder).exists() && old.toLower() != key)
            QDir(newFolder).removeRecursively();
        if (!QDir().rename(oldFolder, newFolder)) {
            *error = QStringLiteral("cannot move %1 to %2").arg(oldFolder, newFolder);
            return Claim::Failed;
        }
    }
    if (!AtomicFile::write(ownersFile(), bytes, error, &stamp, m_writeFn)) {
        if (move)
            QDir().rename(newFolder, oldFolder);
        return Claim::Failed;
    }
    refreshOwners();
    return Claim::Granted;
}
