#pragma once

#include <QString>

class SiteDb;

// Statements that must take effect together: begin on construction, keep the
// changes only when commit() succeeds, undo them otherwise (also when the
// guard goes out of scope early). Guards nest: an inner one is a savepoint
// inside the outer one.
class SiteTransaction {
public:
    explicit SiteTransaction(const SiteDb& db);
    ~SiteTransaction();
    SiteTransaction(const SiteTransaction&) = delete;
    SiteTransaction& operator=(const SiteTransaction&) = delete;

    // False when the transaction could not begin; error() says why.
    bool isActive() const { return m_active; }
    QString error() const { return m_error; }

    // Keeps the changes. False (error() set) when they could not be kept;
    // they are then undone as the guard ends.
    bool commit();
    // Undoes the changes now.
    void rollback();

private:
    const SiteDb& m_db;
    bool m_active = false;
    QString m_error;
};
