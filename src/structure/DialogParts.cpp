#include "DialogParts.h"

#include "text/Twips.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout* confirmButtons(QDialog* dialog, QPushButton*& cmd_cfm, QPushButton*& cmd_cnl)
{
    cmd_cfm = new QPushButton(QStringLiteral("确定"), dialog);
    cmd_cfm->setObjectName(QStringLiteral("cmd_cfm"));
    cmd_cfm->setDefault(true);
    cmd_cnl = new QPushButton(QStringLiteral("取消"), dialog);
    cmd_cnl->setObjectName(QStringLiteral("cmd_cnl"));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : {cmd_cfm, cmd_cnl}) {
        b->setMinimumSize(Twips::toPixels(1200), Twips::toPixels(375));
        row->addWidget(b);
    }
    QObject::connect(cmd_cnl, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}
