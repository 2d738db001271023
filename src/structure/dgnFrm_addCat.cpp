#include "dgnFrm_addCat.h"

#include "app/AppContext.h"
#include "structure/CatalogOps.h"
#include "structure/DialogParts.h"
#include "structure/Twips.h"
#include "structure/designFrm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

dgnFrm_addCat::dgnFrm_addCat(designFrm& designer, QWidget* parent) : QDialog(parent), m_designer(designer)
{
    setObjectName(QStringLiteral("dgnFrm_addCat"));
    setWindowTitle(QStringLiteral("添加目录"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* label = new QLabel(QStringLiteral("目录名称："), this);
    txt_name = new QLineEdit(this);
    txt_name->setObjectName(QStringLiteral("txt_name"));
    txt_name->setMinimumWidth(twips(3600));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(label);
    nameRow->addWidget(txt_name, 1);
    QHBoxLayout* buttons = confirmButtons(this, cmd_cfm, cmd_cnl);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(twips(300), twips(300), twips(300), twips(240));
    outer->setSpacing(twips(300));
    outer->addLayout(nameRow);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmd_cfm, &QPushButton::clicked, this, &dgnFrm_addCat::cmd_cfm_Click);
}

void dgnFrm_addCat::cmd_cfm_Click()
{
    const QString name = txt_name->text(); // an empty name is taken as it is
    if (m_designer.refuseDuplicateName(name)) {
        txt_name->setFocus();
        return;
    }
    CatalogNode* sel = m_designer.selNode();
    const int level = sel ? sel->level() : -1;
    if (level != 0 && level != 1) {
        accept(); // catalogs go below the root and level-1 nodes only
        return;
    }
    const int order = m_designer.nextChildOrderID(level == 0 ? QStringLiteral("插入数据失败，错误号：Frm_addCat001")
                                                             : QStringLiteral("插入数据失败，错误号：Frm_addCat002"));
    if (order < 0)
        return;
    AppContext& ctx = m_designer.context();
    const SqlResult r = CatalogOps::insertCatalog(ctx.conn, *sel, name, order);
    if (!r) {
        ctx.dialogs.message(r.error, QStringLiteral("提示"), MsgIcon::Critical);
        return;
    }
    m_designer.addChildNode(CatalogTree::levelPrefix(level + 1), name, true);
    accept();
}
