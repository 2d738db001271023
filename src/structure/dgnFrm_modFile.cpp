#include "dgnFrm_modFile.h"

#include "app/AppContext.h"
#include "structure/CatalogOps.h"
#include "structure/designFrm.h"

#include <QCheckBox>
#include <QEvent>
#include <QPushButton>
#include <QScrollBar>

dgnFrm_modFile::dgnFrm_modFile(designFrm& designer, QWidget* parent) : PageFormatDialog(designer, parent)
{
    setObjectName(QStringLiteral("dgnFrm_modFile"));
    setWindowTitle(QStringLiteral("修改显示模式"));
    vscrl->installEventFilter(this);
    connect(cmd_cfm, &QPushButton::clicked, this, &dgnFrm_modFile::cmd_cfm_Click);
    // A product page opens on the product tiles (the first one selected, not its own).
    if (DisplayFormats::isProductCode(designer.currentFormat()))
        chk_prod->setChecked(true);
}

bool dgnFrm_modFile::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == vscrl && event->type() == QEvent::FocusIn)
        Picture1->setFocus();
    return PageFormatDialog::eventFilter(watched, event);
}

void dgnFrm_modFile::cmd_cfm_Click()
{
    AppContext& ctx = m_designer.context();
    // Read now, not at opening: the designer stays usable while this dialog is open.
    CatalogNode* sel = m_designer.selNode();
    const int level = sel ? sel->level() : -1;
    if (level < 1) {
        ctx.dialogs.message(QStringLiteral("没有在左边选择栏目！"), QStringLiteral("警告"), MsgIcon::Critical);
        return;
    }
    const QString code = selectedModel();
    const SqlResult r = CatalogOps::changeFormat(ctx.conn, *sel, code);
    if (!r) {
        reportFailure(r.error);
        return;
    }
    m_designer.showFormatPreview(code);
    accept();
}
