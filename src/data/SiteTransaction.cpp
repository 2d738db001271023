#include "SiteTransaction.h"

#include "SiteDb.h"
#include "core/Logging.h"

// A savepoint outside any transaction begins one, and savepoints nest, so
// one statement form serves outer and inner guards alike.
static const QString kSavepoint = QStringLiteral("weblark_change");

SiteTransaction::SiteTransaction(const SiteDb& db) : m_db(db)
{
    const SqlResult r = m_db.run(QStringLiteral("SAVEPOINT %1").arg(kSavepoint));
    m_active = r.ok;
    m_error = r.error;
}

SiteTransaction::~SiteTransaction()
{
    rollback();
}

bool SiteTransaction::commit()
{
    if (!m_active)
        return false;
    const SqlResult r = m_db.run(QStringLiteral("RELEASE %1").arg(kSavepoint));
    if (!r) {
        m_error = r.error;
        return false;
    }
    m_active = false;
    return true;
}

void SiteTransaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    // ROLLBACK TO keeps the savepoint open; RELEASE then ends it (and the
    // transaction, when it was the outermost) with nothing left to keep.
    const SqlResult undo = m_db.run(QStringLiteral("ROLLBACK TO %1").arg(kSavepoint));
    const SqlResult end = m_db.run(QStringLiteral("RELEASE %1").arg(kSavepoint));
    if (!undo || !end)
        qCWarning(lcTransaction) << "rollback failed:" << undo.error << end.error;
}
