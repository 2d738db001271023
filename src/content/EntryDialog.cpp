#include "EntryDialog.h"

#include "content/ContentStore.h"
#include "core/Messages.h"

EntryDialog::EntryDialog(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_page(page), m_currID(currID)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

int EntryDialog::levelOrReport(Messages::Id message)
{
    const int level = m_page.isValid() ? m_page.level : 0;
    if (level < 1)
        Messages::show(m_ctx.dialogs, message);
    return level;
}

void EntryDialog::insertRecord(const std::function<SqlResult(int, const QString&)>& insert)
{
    const int level = levelOrReport(Messages::Id::NoNodeChosen);
    if (level < 1)
        close();
    else if (check(insert(level, m_page.name)))
        finish();
}

bool EntryDialog::readTicked(QSqlRecord* row)
{
    m_id = ContentStore::parseRecordId(m_currID);
    const int level = levelOrReport(Messages::Id::UnexpectedLevel);
    if (level < 1)
        return false;
    const SqlResult r = m_ctx.conn.selectContent(level, m_id);
    if (!check(r))
        return false;
    *row = r.isEmpty() ? QSqlRecord() : r.first();
    return true;
}

bool EntryDialog::updateRecord(const std::function<SqlResult(int, qint64)>& update, Messages::Id noLevel)
{
    const int level = levelOrReport(noLevel);
    if (level < 1)
        return false;
    const SqlResult r = update(level, m_id);
    if (r && r.rowsAffected == 0) {
        // Deleted meanwhile: nothing was stored, and saying otherwise would lose the typing silently.
        m_ctx.dialogs.message(QStringLiteral("该条数据已被删除，修改没有保存！"), Messages::warning(),
                              MsgIcon::Warning);
        return false;
    }
    return check(r);
}

bool EntryDialog::check(const SqlResult& r)
{
    if (!r)
        m_ctx.dialogs.message(r.error, Messages::error(), MsgIcon::Critical);
    return r.ok;
}

void EntryDialog::finish()
{
    Q_EMIT stored();
    close();
}
