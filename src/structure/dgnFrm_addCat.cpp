#include "dgnFrm_addCat.h"

#include "core/DialogService.h"
#include "structure/DialogParts.h"
#include "structure/StructureEditor.h"
#include "text/Twips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

dgnFrm_addCat::dgnFrm_addCat(DialogService& dialogs, StructureEditor& editor, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_editor(editor)
{
    setObjectName(QStringLiteral("dgnFrm_addCat"));
    setWindowTitle(QStringLiteral("添加目录"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* label = new QLabel(QStringLiteral("目录名称："), this);
    txt_name = new QLineEdit(this);
    txt_name->setObjectName(QStringLiteral("txt_name"));
    txt_name->setMinimumWidth(Twips::toPixels(3600));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(label);
    nameRow->addWidget(txt_name, 1);
    QPushButton* cmd_cfm = nullptr;
    QPushButton* cmd_cnl = nullptr;
    QHBoxLayout* buttons = confirmButtons(this, cmd_cfm, cmd_cnl);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(Twips::toPixels(300), Twips::toPixels(300), Twips::toPixels(300), Twips::toPixels(240));
    outer->setSpacing(Twips::toPixels(300));
    outer->addLayout(nameRow);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmd_cfm, &QPushButton::clicked, this, &dgnFrm_addCat::cmd_cfm_Click);
}

void dgnFrm_addCat::cmd_cfm_Click()
{
    const Outcome out = m_editor.addCatalog(txt_name->text()); // an empty name is taken as it is
    for (const Notice& n : out.notices)
        m_dialogs.message(n.text, n.title, n.icon);
    if (out.done)
        accept();
    else
        txt_name->setFocus();
}
