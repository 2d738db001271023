#pragma once

#include "publish/PublishClient.h"

#include <QPointer>
#include <QWidget>

class AppContext;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class siteViewFrm;

// The publishing window "上传数据": account and site name, the connection to
// the hosting server, password change and the upload of the site data. The
// connection itself belongs to the shared PublishClient; this window binds its
// controls to it and closes the connection when it goes.
class updataFrm : public QWidget {
    Q_OBJECT
public:
    updataFrm(AppContext& ctx, PublishClient& client, QWidget* parent = nullptr);
    ~updataFrm() override;

    // Panel 1: connection state; panel 2: activity or hint.
    QString panelText(int panel) const;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void bindClient();
    void load();
    void setPanel(int panel, const QString& text);
    void txt_webName_Change();
    void passwords_Change();
    void cmd_connSever_Click();
    void cmd_changeWebName_Click();
    void cmd_modPwd_Click();
    void cmd_browser_Click();
    void cmd_updata_Click();
    void cmd_siteView_Click();

    AppContext& m_ctx;
    PublishClient& m_client;
    QPointer<PublishClient> m_clientAlive;

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
    QPushButton* cmd_siteView = nullptr; // "预览网站"
    QPointer<siteViewFrm> m_siteView;
    QProgressBar* ccprg = nullptr;
    QLabel* lbl_desc = nullptr;
    QStatusBar* StsBar = nullptr;
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
};
