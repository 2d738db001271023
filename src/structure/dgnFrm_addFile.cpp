#include "dgnFrm_addFile.h"

#include "app/AppContext.h"
#include "structure/CatalogOps.h"
#include "structure/Twips.h"
#include "structure/designFrm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

dgnFrm_addFile::dgnFrm_addFile(designFrm& designer, QWidget* parent) : PageFormatDialog(designer, parent)
{
    setObjectName(QStringLiteral("dgnFrm_addFile"));
    setWindowTitle(QStringLiteral("添加文件"));
    auto* label = new QLabel(QStringLiteral("文件名称："), this);
    txt_name = new QLineEdit(this);
    txt_name->setObjectName(QStringLiteral("txt_name"));
    txt_name->setFixedWidth(twips(4200));
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
    const QString code = selectedModel();
    const QString name = txt_name->text();
    AppContext& ctx = m_designer.context();
    if (name.isEmpty()) {
        ctx.dialogs.message(QStringLiteral("请输入文件名称！"), QStringLiteral("警告"), MsgIcon::Critical);
        txt_name->setFocus();
        return;
    }
    if (m_designer.refuseDuplicateName(name)) {
        txt_name->setFocus();
        return;
    }
    CatalogNode* sel = m_designer.selNode();
    const int level = sel ? sel->level() : -1;
    if (level < 0 || level > 2) {
        accept(); // nothing goes below level 3
        return;
    }
    const int order = m_designer.nextChildOrderID(
        QStringLiteral("插入数据失败，获得排序号有误，errNo:dgnfrm_addFile%1！").arg(level + 1));
    if (order < 0)
        return;
    const SqlResult r = CatalogOps::insertPage(ctx.conn, *sel, name, order, code);
    if (!r) {
        reportFailure(r.error);
        return;
    }
    m_designer.addChildNode(CatalogTree::levelPrefix(level + 1), name, false);
    accept();
}
