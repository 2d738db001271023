#include "LoginThrottle.h"

#include <QtGlobal>

namespace {
// Beyond this many counted names the stale ones are dropped, and if that is not
// enough (a flood of invented names) all of them: memory stays bounded.
constexpr int kMaxCounts = 20000;
} // namespace

qint64 LoginThrottle::delayFor(QHash<QString, Count>& counts, const QString& key, qint64 now) const
{
    const auto it = counts.constFind(key);
    if (it == counts.cend() || now - it->last > m_rules.forgetMs || it->failures < m_rules.freeFailures)
        return 0;
    const int doublings = qMin(it->failures - m_rules.freeFailures, 30);
    return qMin(m_rules.firstDelayMs << doublings, m_rules.maxDelayMs);
}

qint64 LoginThrottle::delayMs(const QString& address, const QString& account, bool right, qint64 now)
{
    const qint64 own = delayFor(m_addresses, address, now);
    return right ? own : qMax(own, delayFor(m_accounts, account, now));
}

void LoginThrottle::count(QHash<QString, Count>& counts, const QString& key, qint64 now)
{
    if (counts.size() >= kMaxCounts && !counts.contains(key)) {
        counts.removeIf([&](const auto& entry) { return now - entry.value().last > m_rules.forgetMs; });
        if (counts.size() >= kMaxCounts)
            counts.clear();
    }
    Count& c = counts[key];
    if (now - c.last > m_rules.forgetMs)
        c.failures = 0;
    ++c.failures;
    c.last = now;
}

void LoginThrottle::failed(const QString& address, const QString& account, qint64 now)
{
    count(m_addresses, address, now);
    count(m_accounts, account, now);
}

void LoginThrottle::succeeded(const QString& address)
{
    m_addresses.remove(address);
}
