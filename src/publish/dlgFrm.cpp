#include "dlgFrm.h"

#include "core/AppContext.h"
#include "core/Messages.h"
#include "publish/PublishClient.h"
#include "widgets/WebPane.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

dlgFrm::dlgFrm(AppContext& ctx, PublishClient& client, QWidget* parent)
    : MsgPageWindow(ctx, client, ServerReaction::Page::Chat, parent)
{
    setObjectName(QStringLiteral("dlgFrm"));
    setWindowTitle(QStringLiteral("咨询台"));
    resize(520, 480);
    setMinimumSize(380, 360);

    frm_record = new QGroupBox(QStringLiteral("咨询记录"), this);
    auto* recLay = new QVBoxLayout(frm_record);
    recLay->setContentsMargins(6, 6, 6, 6);
    webBer->setMinimumHeight(200);
    recLay->addWidget(webBer);

    frm_send = new QGroupBox(QStringLiteral("发送消息"), this);
    auto* sendLay = new QVBoxLayout(frm_send);
    sendLay->setContentsMargins(6, 6, 6, 6);
    txt_msg = new QPlainTextEdit(frm_send);
    txt_msg->setObjectName(QStringLiteral("txt_msg"));
    txt_msg->setFixedHeight(72);
    txt_msg->setPlaceholderText(QStringLiteral("在此输入消息，按 Ctrl+Enter 发送"));
    txt_msg->installEventFilter(this);
    sendLay->addWidget(txt_msg);

    OKButton = new QPushButton(QStringLiteral("发送"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("取消"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    for (QPushButton* b : {OKButton, CancelButton})
        b->setMinimumWidth(80);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(10, 10, 10, 10);
    lay->addWidget(frm_record, 1);
    lay->addWidget(frm_send);
    lay->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &dlgFrm::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QWidget::close);

    loadPage();
}

void dlgFrm::OKButton_Click()
{
    // The text box holds bare line feeds; the wire form has CR LF, which encode turns into <br>.
    QString text = txt_msg->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QString refusal = PublishRules::chatRefusal(txt_msg->toPlainText(), m_client.session().busyUploading());
    if (!refusal.isEmpty()) {
        m_ctx.dialogs.message(refusal, Messages::notice(), MsgIcon::Information);
        return;
    }
    const QString encoded = m_ctx.encode(text);
    QString error;
    const PublishClient::SendResult sent = m_client.sendChat(encoded, &error);
    if (sent == PublishClient::SendResult::NotConnected) {
        m_ctx.dialogs.message(QStringLiteral("还没和服务器建立连接"), Messages::notice(), MsgIcon::Information);
        txt_msg->setFocus();
        return;
    }
    if (sent == PublishClient::SendResult::Failed) {
        m_ctx.dialogs.message(error, Messages::notice(), MsgIcon::Information);
        return;
    }
    showChatMsg(QStringLiteral("客户端(我的发言)"), encoded);
    txt_msg->clear();
    txt_msg->setFocus();
}

bool dlgFrm::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+Enter sends; the key is taken so that no line break is typed.
    if (watched == txt_msg && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && (key->modifiers() & Qt::ControlModifier)) {
            OKButton_Click();
            return true;
        }
    }
    return MsgPageWindow::eventFilter(watched, event);
}
