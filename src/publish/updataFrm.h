#pragma once

#include "publish/PublishSession.h"

#include <QAbstractSocket>
#include <QWidget>

class AppContext;
class ArchiveSender;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTcpSocket;
class QTimer;

// The publishing window "上传数据": account and site name, the connection to
// the hosting server, password change and the upload of the site data.
class updataFrm : public QWidget {
    Q_OBJECT
public:
    updataFrm(AppContext& ctx, QWidget* parent = nullptr);
    ~updataFrm() override; // closes the connection

    // ---- controls ----
    QFrame* frm_update = nullptr;    // the central panel
    QGroupBox* frm_cond = nullptr;   // "上传条件"
    QGroupBox* frm_conn = nullptr;   // "连接服务器"
    QGroupBox* frm_pwd = nullptr;    // "修改密码"
    QGroupBox* frm_upload = nullptr; // "数据上传"
    QGroupBox* frm_desc = nullptr;   // "说明"
    QLineEdit* txt_serial = nullptr;
    QLineEdit* txt_pwd = nullptr;
    QLineEdit* txt_webName = nullptr;
    QPushButton* cmd_changeWebName = nullptr;
    QLineEdit* txt_url = nullptr;
    QPushButton* cmd_browser = nullptr;
    QLineEdit* txt_severIP = nullptr;
    QPushButton* cmd_connSever = nullptr;
    QPushButton* cmd_disconn = nullptr;
    QLineEdit* txt_newpwd = nullptr;
    QLineEdit* txt_cpwd = nullptr;
    QPushButton* cmd_modPwd = nullptr;
    QPushButton* cmd_updata = nullptr;
    QProgressBar* ccprg = nullptr;
    QLabel* lbl_desc = nullptr;
    QStatusBar* StsBar = nullptr;
    QTimer* Timer_sck = nullptr;
    QTimer* timer_verion = nullptr;
    QTimer* timer_doZip = nullptr;
    QTcpSocket* sckClient = nullptr;

    TickCounter idleTicks{PublishRules::kIdleTickLimit};
    TickCounter verTicks{PublishRules::kVersionTickLimit};
    quint16 serverPort; // 1234; tests point it at their own server

    // Panel 1: connection state; panel 2: activity or hint.
    QString panelText(int panel) const;
    QSize sizeHint() const override;
    bool isConnected() const;

    // Sends one text message; refuses with a message box when not connected.
    void sendToServer(const QString& text);
    // Sends a text as it is, without the not-connected box (the chat window reports itself).
    enum class SendResult { Sent, NotConnected, Failed };
    SendResult sendRaw(const QString& text, QString* error);

public Q_SLOTS:
    void cmd_connSever_Click();
    void cmd_disconn_Click();
    void cmd_changeWebName_Click();
    void cmd_modPwd_Click();
    void cmd_browser_Click();
    void cmd_updata_Click();
    void Timer_sck_Timer();
    void timer_verion_Timer();
    void timer_doZip_Timer();
    // Everything received so far, handled as one text.
    void dispatchServerMessage();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void load();
    void setPanel(int panel, const QString& text);
    void txt_webName_Change();
    void storeTypedAccount();
    void passwords_Change();
    void applyReaction(const ServerReaction& r);
    void showPage(const QString& window, const QString& text);

    void sckClient_Connect();
    void sckClient_Error(QAbstractSocket::SocketError error);
    void sckClient_Close();
    // Closes the socket without treating it as closed by the server.
    void closeSocket();

    void sendZipFile();
    void sckClient_SendProgress(qint64 bytesSent);
    void uploadComplete();
    void uploadFailed(const QString& why);

    AppContext& m_ctx;
    PublishSession& m_session;
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
    bool m_closingOurselves = false;
    bool m_errorReported = false;
    bool m_filtering = false;
    ArchiveSender* m_sender = nullptr;
};
