#include "verFrm.h"

#include "core/AppContext.h"
#include "core/Messages.h"
#include "publish/PublishClient.h"
#include "widgets/WebPane.h"

#include <QCheckBox>
#include <QDate>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

verFrm::verFrm(AppContext& ctx, PublishClient& client, QWidget* parent)
    : MsgPageWindow(ctx, client, ServerReaction::Page::Announcement, parent)
{
    setObjectName(QStringLiteral("verFrm"));
    setWindowTitle(QStringLiteral("系统公告"));
    resize(480, 380);
    setMinimumSize(340, 260);

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    auto* fl = new QVBoxLayout(frame);
    fl->setContentsMargins(1, 1, 1, 1);
    fl->addWidget(webBer);

    chk_ver = new QCheckBox(QStringLiteral("不再显示"), this);
    chk_ver->setObjectName(QStringLiteral("chk_ver"));
    CancelButton = new QPushButton(QStringLiteral("关闭"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setMinimumWidth(80);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(chk_ver);
    bottom->addStretch();
    bottom->addWidget(CancelButton);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(10, 10, 10, 10);
    lay->addWidget(frame, 1);
    lay->addLayout(bottom);

    connect(chk_ver, &QCheckBox::clicked, this, &verFrm::chk_ver_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QWidget::close);

    loadPage();
}

void verFrm::chk_ver_Click()
{
    const QString error = m_client.storeNoticeSetting(chk_ver->isChecked(), QDate::currentDate());
    if (!error.isEmpty())
        m_ctx.dialogs.message(error, Messages::notice(), MsgIcon::Information);
}
