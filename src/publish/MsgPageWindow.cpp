#include "MsgPageWindow.h"

#include "app/AppContext.h"
#include "publish/ChatHtml.h"
#include "publish/PublishSession.h"
#include "widgets/WebPane.h"

#include <QDateTime>
#include <QTimer>

MsgPageWindow::MsgPageWindow(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx) {
    webBer = new WebPane(this);
    webBer->setObjectName(QStringLiteral("webBer"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(PublishRules::kPageTimerMs);
    connect(Timer1, &QTimer::timeout, this, &MsgPageWindow::Timer1_Timer);
}

void MsgPageWindow::loadPage() {
    loadTicks = 0;
    webBer->navigate(m_ctx.appPath + QStringLiteral("msg.htm"));
}

void MsgPageWindow::receive(const QString& text) {
    if (loadTicks > 0) {
        showChatMsg(QStringLiteral("server"), text);
        return;
    }
    pendingMsg = text;
    Timer1->start();
}

void MsgPageWindow::showChatMsg(const QString& speaker, const QString& text) {
    webBer->prependInnerHtml(QStringLiteral("msg"),
                             ChatHtml::entry(speaker, text, QDateTime::currentDateTime()));
}

void MsgPageWindow::Timer1_Timer() {
    if (loadTicks < PublishRules::kPageReadyTicks)
        ++loadTicks;
    if (loadTicks >= PublishRules::kPageReadyTicks) {
        Timer1->stop();
        showChatMsg(QStringLiteral("server"), pendingMsg);
        pendingMsg.clear();
    }
}
