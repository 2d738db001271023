#include "MsgPageWindow.h"

#include "core/AppContext.h"
#include "publish/ChatHtml.h"
#include "publish/PublishClient.h"
#include "widgets/WebPane.h"

#include <QDateTime>
#include <QTimer>

MsgPageWindow::MsgPageWindow(AppContext& ctx, PublishClient& client, ServerReaction::Page page, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_client(client), m_page(page)
{
    webBer = new WebPane(this);
    webBer->setObjectName(QStringLiteral("webBer"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(PublishRules::kPageTimerMs);
    connect(Timer1, &QTimer::timeout, this, &MsgPageWindow::Timer1_Timer);
    connect(&m_client, &PublishClient::pageTextQueued, this, &MsgPageWindow::textQueued);
}

void MsgPageWindow::loadPage()
{
    loadTicks = 0;
    webBer->navigate(m_ctx.appPath + QStringLiteral("msg.htm"));
    // Texts that arrived before this window was open.
    if (m_client.hasPageTexts(m_page))
        Timer1->start();
}

void MsgPageWindow::textQueued(ServerReaction::Page page)
{
    if (page != m_page)
        return;
    if (loadTicks > 0)
        showQueued();
    else if (!Timer1->isActive())
        Timer1->start();
}

void MsgPageWindow::showQueued()
{
    for (const QString& text : m_client.takePageTexts(m_page))
        showChatMsg(QStringLiteral("server"), text);
}

void MsgPageWindow::showChatMsg(const QString& speaker, const QString& text)
{
    webBer->prependInnerHtml(QStringLiteral("msg"), ChatHtml::entry(speaker, text, QDateTime::currentDateTime()));
}

void MsgPageWindow::Timer1_Timer()
{
    if (loadTicks < PublishRules::kPageReadyTicks)
        ++loadTicks;
    if (loadTicks >= PublishRules::kPageReadyTicks) {
        Timer1->stop();
        showQueued();
    }
}
