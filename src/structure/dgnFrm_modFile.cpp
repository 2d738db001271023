#include "dgnFrm_modFile.h"

#include "structure/StructureEditor.h"

#include <QCheckBox>
#include <QPushButton>

dgnFrm_modFile::dgnFrm_modFile(AppContext& ctx, StructureEditor& editor, QWidget* parent)
    : PageFormatDialog(ctx, editor, parent), m_page(editor.selectedPage())
{
    setObjectName(QStringLiteral("dgnFrm_modFile"));
    setWindowTitle(QStringLiteral("修改显示模式"));
    connect(cmd_cfm, &QPushButton::clicked, this, &dgnFrm_modFile::cmd_cfm_Click);
    // A product page opens on the product tiles (the first one selected, not its own).
    if (DisplayFormats::isProductCode(editor.currentFormat()))
        chk_prod->setChecked(true);
}

void dgnFrm_modFile::cmd_cfm_Click()
{
    const Outcome out = m_editor.changeFormat(m_page, selectedModel());
    report(out);
    if (out.done)
        accept();
}
