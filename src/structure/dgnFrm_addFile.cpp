#include "dgnFrm_addFile.h"

#include "structure/StructureEditor.h"
#include "text/Twips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

dgnFrm_addFile::dgnFrm_addFile(AppContext& ctx, StructureEditor& editor, QWidget* parent)
    : PageFormatDialog(ctx, editor, parent)
{
    setObjectName(QStringLiteral("dgnFrm_addFile"));
    setWindowTitle(QStringLiteral("添加文件"));
    auto* label = new QLabel(QStringLiteral("文件名称："), this);
    txt_name = new QLineEdit(this);
    txt_name->setObjectName(QStringLiteral("txt_name"));
    txt_name->setFixedWidth(Twips::toPixels(4200));
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(txt_name);
    row->addStretch(1);
    headLayout()->addLayout(row);
    connect(cmd_cfm, &QPushButton::clicked, this, &dgnFrm_addFile::cmd_cfm_Click);
    txt_name->setFocus();
}

void dgnFrm_addFile::cmd_cfm_Click()
{
    const Outcome out = m_editor.addPage(txt_name->text(), selectedModel());
    report(out);
    if (out.done)
        accept();
    else
        txt_name->setFocus();
}
