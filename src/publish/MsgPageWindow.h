#pragma once

#include "publish/PublishSession.h"

#include <QString>
#include <QWidget>

class AppContext;
class PublishClient;
class QTimer;
class WebPane;

// The chat and notice windows show server text on the page "msg.htm". Texts
// wait in the publishing client's queue for this window's page; they are shown
// in the order received once the page has had time to load (the second tick of
// Timer1), and at once after that.
class MsgPageWindow : public QWidget {
    Q_OBJECT
public:
    MsgPageWindow(AppContext& ctx, PublishClient& client, ServerReaction::Page page, QWidget* parent);

    // Tick of Timer1: counts load ticks and shows the waiting texts on the second.
    void Timer1_Timer();

protected:
    // Load: the load ticks back to 0 and the page navigated.
    void loadPage();
    // Puts one message on top of the page's element "msg".
    void showChatMsg(const QString& speaker, const QString& text);

    AppContext& m_ctx;
    PublishClient& m_client;
    WebPane* webBer = nullptr;

private:
    void textQueued(ServerReaction::Page page);
    void showQueued();

    ServerReaction::Page m_page;
    QTimer* Timer1 = nullptr;
    qint16 loadTicks = 0; // above 0: the page is ready
};
