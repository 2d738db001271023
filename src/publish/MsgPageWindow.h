#pragma once

#include <QString>
#include <QWidget>

class AppContext;
class QTimer;
class WebPane;

// The chat and notice windows show server text on the page "msg.htm". A text
// that arrives before the page has had time to load waits in pendingMsg until
// the second tick of Timer1.
class MsgPageWindow : public QWidget {
    Q_OBJECT
public:
    MsgPageWindow(AppContext& ctx, QWidget* parent);

    QString pendingMsg;
    qint16 loadTicks = 0; // above 0: the page is ready

    WebPane* webBer = nullptr;
    QTimer* Timer1 = nullptr;

    // Text pushed by the server: shown now when the page is ready, else kept for Timer1
    // (a second text before then replaces the first).
    void receive(const QString& text);
    // Prepends one message to the page's element "msg".
    void showChatMsg(const QString& speaker, const QString& text);

public Q_SLOTS:
    void Timer1_Timer();

protected:
    // Load: loadTicks back to 0 and the page navigated.
    void loadPage();

    AppContext& m_ctx;
};
