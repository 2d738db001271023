#pragma once

#include <QHash>
#include <QString>

// Slows down password guessing. Every account starts with the same published
// password, so wrong passwords are counted per address and per account; past a
// few, the answer to the next attempt waits, the wait doubling with each further
// failure up to a cap. A right password waits only for its own address's
// failures, never for another address's. Counts are forgotten after a quiet spell.
class LoginThrottle {
public:
    struct Rules {
        int freeFailures = 3;         // wrong passwords answered at once
        qint64 firstDelayMs = 1000;   // the wait after them, doubled with each further one
        qint64 maxDelayMs = 30000;    // the longest wait
        qint64 forgetMs = 15 * 60000; // a count without a failure for this long starts again
        int closeAfter = 5;           // wrong passwords on one connection before it is closed
    };
    explicit LoginThrottle(const Rules& rules) : m_rules(rules) {}

    // How long the answer to this attempt waits.
    qint64 delayMs(const QString& address, const QString& account, bool right, qint64 now);
    void failed(const QString& address, const QString& account, qint64 now);
    void succeeded(const QString& address);
    const Rules& rules() const { return m_rules; }

private:
    struct Count {
        int failures = 0;
        qint64 last = 0;
    };
    qint64 delayFor(QHash<QString, Count>& counts, const QString& key, qint64 now) const;
    void count(QHash<QString, Count>& counts, const QString& key, qint64 now);

    Rules m_rules;
    QHash<QString, Count> m_addresses;
    QHash<QString, Count> m_accounts;
};
