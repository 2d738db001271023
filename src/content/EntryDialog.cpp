#include "EntryDialog.h"

#include "content/ContentStore.h"
#include "content/insDataFrm.h"

EntryDialog::EntryDialog(AppContext& ctx, insDataFrm& owner, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_owner(owner)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

int EntryDialog::levelOrReport(const QString& text, const QString& title)
{
    const int level = m_owner.selLevel();
    if (level < 1)
        m_ctx.dialogs.message(text, title, MsgIcon::Critical);
    return level;
}

QString EntryDialog::pageName() const
{
    return m_owner.selNodeText();
}

qint64 EntryDialog::tickedId() const
{
    return ContentStore::parseRecordId(m_owner.currID());
}

bool EntryDialog::check(const SqlResult& r)
{
    if (!r)
        m_ctx.dialogs.message(r.error, QStringLiteral("错误"), MsgIcon::Critical);
    return r.ok;
}

void EntryDialog::finish()
{
    m_owner.tvw_nav_MouseUp(Qt::LeftButton);
    close();
}
