#include "updataFrm.h"

#include "app/AppContext.h"
#include "publish/ArchiveSender.h"
#include "publish/MsgPageWindow.h"
#include "publish/SitePacker.h"
#include "text/Twips.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {
using Twips::toPixels;
QString busyText() {
    return QStringLiteral("正在上传数据，请等上传完毕后再操作！");
}
const QString kTitle = QStringLiteral("提示");
const QString kWarn = QStringLiteral("警告");
} // namespace

updataFrm::updataFrm(AppContext& ctx, QWidget* parent)
    : QWidget(parent), serverPort(Protocol::kDefaultPort), m_ctx(ctx), m_session(ctx.publishSession) {
    setObjectName(QStringLiteral("updataFrm"));
    setWindowTitle(QStringLiteral("上传数据"));
    buildControls();
    load();
}

updataFrm::~updataFrm() {
    // The connection belongs to this window: it goes when the window goes,
    // without reporting anything to a window that is being destroyed.
    m_sender->cancel();
    sckClient->disconnect(this);
    sckClient->abort();
}

void updataFrm::buildControls() {
    frm_update = new QFrame(this);
    frm_update->setObjectName(QStringLiteral("frm_update"));
    frm_update->setFixedSize(604, 318);

    auto label = [](const QString& text, QWidget* parent) {
        auto* l = new QLabel(text, parent);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    auto edit = [](const char* name, QWidget* parent, bool password = false) {
        auto* e = new QLineEdit(parent);
        e->setObjectName(QLatin1String(name));
        if (password) {
            e->setEchoMode(QLineEdit::Password);
            e->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
        }
        e->setFixedHeight(22);
        return e;
    };
    auto button = [](const char* name, const QString& caption, QWidget* parent) {
        auto* b = new QPushButton(caption, parent);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setFixedHeight(24);
        return b;
    };
    auto grid = [](QGroupBox* box) {
        auto* g = new QGridLayout(box);
        g->setContentsMargins(8, 4, 8, 6);
        g->setVerticalSpacing(4);
        return g;
    };
    // One row of a group: caption, box and an optional button.
    auto row = [&label](QGridLayout* g, int r, const QString& caption, QWidget* box, QWidget* btn = nullptr) {
        g->addWidget(label(caption, g->parentWidget()), r, 0);
        g->addWidget(box, r, 1);
        if (btn)
            g->addWidget(btn, r, 2);
    };

    // 上传条件
    frm_cond = new QGroupBox(QStringLiteral("上传条件"), frm_update);
    txt_serial = edit("txt_serial", frm_cond);
    txt_pwd = edit("txt_pwd", frm_cond, true);
    txt_webName = edit("txt_webName", frm_cond);
    txt_webName->setMaxLength(63);
    cmd_changeWebName = button("cmd_changeWebName", QStringLiteral("更改"), frm_cond);
    txt_url = edit("txt_url", frm_cond);
    txt_url->setReadOnly(true);
    cmd_browser = button("cmd_browser", QStringLiteral("浏览"), frm_cond);
    QGridLayout* g1 = grid(frm_cond);
    row(g1, 0, QStringLiteral("序 列 号："), txt_serial);
    row(g1, 1, QStringLiteral("密    码："), txt_pwd);
    row(g1, 2, QStringLiteral("站点名称："), txt_webName, cmd_changeWebName);
    row(g1, 3, QStringLiteral("预览网址："), txt_url, cmd_browser);

    // 连接服务器
    frm_conn = new QGroupBox(QStringLiteral("连接服务器"), frm_update);
    txt_severIP = edit("txt_severIP", frm_conn);
    txt_severIP->setText(PublishRules::defaultServerIp());
    cmd_connSever = button("cmd_connSever", QStringLiteral("连接服务器"), frm_conn);
    cmd_disconn = button("cmd_disconn", QStringLiteral("断开连接"), frm_conn);
    cmd_disconn->setEnabled(false);
    QGridLayout* g2 = grid(frm_conn);
    g2->addWidget(label(QStringLiteral("服务器IP："), frm_conn), 0, 0);
    g2->addWidget(txt_severIP, 0, 1, 1, 2);
    g2->addWidget(cmd_connSever, 1, 1);
    g2->addWidget(cmd_disconn, 1, 2);

    // 修改密码
    frm_pwd = new QGroupBox(QStringLiteral("修改密码"), frm_update);
    txt_newpwd = edit("txt_newpwd", frm_pwd, true);
    txt_cpwd = edit("txt_cpwd", frm_pwd, true);
    cmd_modPwd = button("cmd_modPwd", QStringLiteral("修改"), frm_pwd);
    cmd_modPwd->setEnabled(false);
    QGridLayout* g3 = grid(frm_pwd);
    row(g3, 0, QStringLiteral("新密码："), txt_newpwd);
    row(g3, 1, QStringLiteral("确认密码："), txt_cpwd, cmd_modPwd);

    // 数据上传
    frm_upload = new QGroupBox(QStringLiteral("数据上传"), frm_update);
    cmd_updata = button("cmd_updata", QStringLiteral("上传数据"), frm_upload);
    cmd_updata->setMinimumHeight(28);
    ccprg = new QProgressBar(frm_upload);
    ccprg->setObjectName(QStringLiteral("ccprg"));
    ccprg->setRange(0, 100);
    ccprg->setValue(0);
    ccprg->setTextVisible(false);
    ccprg->setFixedHeight(16);
    auto* g4 = new QVBoxLayout(frm_upload);
    g4->setContentsMargins(8, 6, 8, 8);
    g4->addWidget(cmd_updata);
    g4->addWidget(ccprg);

    // 说明
    frm_desc = new QGroupBox(QStringLiteral("说明"), frm_update);
    lbl_desc = new QLabel(frm_desc);
    lbl_desc->setObjectName(QStringLiteral("lbl_desc"));
    lbl_desc->setWordWrap(true);
    lbl_desc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl_desc->setStyleSheet(QStringLiteral("color:#30415d;"));
    auto* g5 = new QVBoxLayout(frm_desc);
    g5->setContentsMargins(8, 6, 8, 8);
    g5->addWidget(lbl_desc);

    auto* left = new QVBoxLayout;
    left->setSpacing(6);
    left->addWidget(frm_cond);
    left->addWidget(frm_conn);
    left->addWidget(frm_pwd);
    auto* right = new QVBoxLayout;
    right->setSpacing(6);
    right->addWidget(frm_upload);
    right->addWidget(frm_desc, 1);
    auto* cols = new QHBoxLayout(frm_update);
    cols->setContentsMargins(0, 0, 0, 0);
    cols->setSpacing(10);
    cols->addLayout(left, 6);
    cols->addLayout(right, 4);

    StsBar = new QStatusBar(this);
    StsBar->setObjectName(QStringLiteral("StsBar"));
    StsBar->setSizeGripEnabled(false);
    m_panel1 = new QLabel(StsBar);
    m_panel1->setMinimumWidth(200);
    m_panel2 = new QLabel(StsBar);
    for (QLabel* panel : {m_panel1, m_panel2}) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
    }
    StsBar->addWidget(m_panel1);
    StsBar->addWidget(m_panel2, 1);

    Timer_sck = new QTimer(this);
    Timer_sck->setObjectName(QStringLiteral("Timer_sck"));
    Timer_sck->setInterval(PublishRules::kIdleIntervalMs);
    timer_verion = new QTimer(this);
    timer_verion->setObjectName(QStringLiteral("timer_verion"));
    timer_verion->setInterval(PublishRules::kVersionIntervalMs);
    timer_doZip = new QTimer(this);
    timer_doZip->setObjectName(QStringLiteral("timer_doZip"));
    timer_doZip->setInterval(PublishRules::kZipStatusIntervalMs);

    sckClient = new QTcpSocket(this);
    sckClient->setObjectName(QStringLiteral("sckClient"));

    connect(txt_webName, &QLineEdit::textChanged, this, &updataFrm::txt_webName_Change);
    connect(txt_newpwd, &QLineEdit::textChanged, this, &updataFrm::passwords_Change);
    connect(txt_cpwd, &QLineEdit::textChanged, this, &updataFrm::passwords_Change);
    connect(cmd_changeWebName, &QPushButton::clicked, this, &updataFrm::cmd_changeWebName_Click);
    connect(cmd_browser, &QPushButton::clicked, this, &updataFrm::cmd_browser_Click);
    connect(cmd_connSever, &QPushButton::clicked, this, &updataFrm::cmd_connSever_Click);
    connect(cmd_disconn, &QPushButton::clicked, this, &updataFrm::cmd_disconn_Click);
    connect(cmd_modPwd, &QPushButton::clicked, this, &updataFrm::cmd_modPwd_Click);
    connect(cmd_updata, &QPushButton::clicked, this, &updataFrm::cmd_updata_Click);
    connect(Timer_sck, &QTimer::timeout, this, &updataFrm::Timer_sck_Timer);
    connect(timer_verion, &QTimer::timeout, this, &updataFrm::timer_verion_Timer);
    connect(timer_doZip, &QTimer::timeout, this, &updataFrm::timer_doZip_Timer);
    connect(sckClient, &QTcpSocket::connected, this, &updataFrm::sckClient_Connect);
    connect(sckClient, &QTcpSocket::errorOccurred, this, &updataFrm::sckClient_Error);
    connect(sckClient, &QTcpSocket::disconnected, this, &updataFrm::sckClient_Close);
    connect(sckClient, &QTcpSocket::readyRead, this, &updataFrm::dispatchServerMessage);
    // The archive sender reports progress, the end, or a connection lost before the end.
    m_sender = new ArchiveSender(this);
    connect(m_sender, &ArchiveSender::progress, this, &updataFrm::sckClient_SendProgress);
    connect(m_sender, &ArchiveSender::completed, this, &updataFrm::uploadComplete);
    connect(m_sender, &ArchiveSender::failed, this, &updataFrm::uploadFailed);

    txt_webName->installEventFilter(this);
    for (QWidget* w :
         {static_cast<QWidget*>(frm_cond), static_cast<QWidget*>(frm_conn), static_cast<QWidget*>(frm_pwd),
          static_cast<QWidget*>(frm_upload), static_cast<QWidget*>(frm_desc)})
        w->installEventFilter(this);
}

void updataFrm::load() {
    m_session.resetForLoad();
    lbl_desc->setText(PublishRules::helpText());

    const SqlResult res = m_ctx.conn.selectUserInfo();
    if (!res.ok) {
        m_ctx.dialogs.message(res.error, kTitle, MsgIcon::Information);
    } else if (res.isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("获得序列号出错！"), kWarn, MsgIcon::Critical);
        QTimer::singleShot(0, this, &QWidget::close);
    } else {
        const QSqlRecord& row = res.first();
        const QString serial = fieldText(row, QStringLiteral("serial"));
        m_session.userAccount = serial.trimmed().isEmpty() ? QString() : serial;
        txt_serial->setText(m_session.userAccount);
        const QString siteName = fieldText(row, QStringLiteral("site_Name"));
        if (siteName.trimmed().isEmpty()) {
            txt_webName->clear();
            m_session.siteNameSet = false;
        } else {
            txt_webName->setText(siteName);
            m_session.siteNameSet = true;
        }
        m_session.confirmedSiteName = txt_webName->text();
        txt_url->setText(PublishRules::siteAddressPrefix() + siteName);
        txt_url->setCursorPosition(0);
        cmd_changeWebName->setEnabled(false);
    }
    setPanel(1, QStringLiteral("还未和服务器建立连接！"));
    serverPort = Protocol::kDefaultPort;

    setMinimumSize(toPixels(10305), toPixels(5745));
    resize(toPixels(10125), toPixels(6240));
}

QSize updataFrm::sizeHint() const {
    return QSize(toPixels(10125), toPixels(6240)).expandedTo(minimumSize());
}

QString updataFrm::panelText(int panel) const {
    return panel == 1 ? m_panel1->text() : m_panel2->text();
}

void updataFrm::setPanel(int panel, const QString& text) {
    (panel == 1 ? m_panel1 : m_panel2)->setText(text);
}

bool updataFrm::isConnected() const {
    return sckClient->state() == QAbstractSocket::ConnectedState;
}

void updataFrm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int barH = StsBar->sizeHint().height();
    StsBar->setGeometry(0, height() - barH, width(), barH);
    // Centred, but never closer than 1000 twips to the top or left edge.
    const int margin = toPixels(1000);
    const int x = qMax(margin, (width() - frm_update->width()) / 2);
    const int y = qMax(margin, (height() - barH - frm_update->height()) / 2);
    frm_update->move(x, y);
}

void updataFrm::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter p(this);
    const int band = toPixels(1000) - 12;
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0, QColor(0x1f, 0x4e, 0x8c));
    g.setColorAt(1, QColor(0x7f, 0xa8, 0xd8));
    p.fillRect(0, 0, width(), band, g);
    p.setPen(QColor(255, 255, 255, 60));
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(QPoint(width() - 60 - i * 18, band / 2), 30 + i * 10, 30 + i * 10);
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(20, 0, width() - 40, band), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("发布网站"));
    QFont small = font();
    p.setFont(small);
    p.setPen(QColor(0xdd, 0xe8, 0xf6));
    p.drawText(
        QRect(20 + QFontMetrics(f).horizontalAdvance(QStringLiteral("发布网站")) + 16, 0, width(), band),
        Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("连接服务器、登录并上传您的网站数据"));
}

bool updataFrm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        if (watched == txt_webName)
            setPanel(2, QStringLiteral("站点名称(三级域名)"));
        else if (qobject_cast<QGroupBox*>(watched) && !m_session.uploading && !timer_doZip->isActive())
            setPanel(2, QString());
    }
    return QWidget::eventFilter(watched, event);
}

// ---- site name and password ----

void updataFrm::txt_webName_Change() {
    const QString text = txt_webName->text();
    const int allowed = PublishRules::allowedSiteNameLength(text);
    if (allowed < text.size()) {
        m_ctx.dialogs.message(QStringLiteral("站点名只能输入英文字符或数字！"), kTitle, MsgIcon::Warning);
        txt_webName->setText(text.left(allowed)); // runs this check again on the shorter text
        return;
    }
    txt_url->setText(PublishRules::siteAddressPrefix() + text);
    txt_url->setCursorPosition(0);
    cmd_changeWebName->setEnabled(!text.trimmed().isEmpty());
}

void updataFrm::cmd_changeWebName_Click() {
    if (txt_webName->text().trimmed().isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("不能未空！"), kTitle, MsgIcon::Information);
    } else if (!m_session.loggedIn) {
        m_ctx.dialogs.message(QStringLiteral("还没登陆服务器！"), kWarn, MsgIcon::Critical);
    } else {
        sendToServer(Protocol::siteNameMessage(txt_webName->text()));
        cmd_changeWebName->setEnabled(false);
    }
    txt_webName->setFocus();
}

void updataFrm::passwords_Change() {
    cmd_modPwd->setEnabled(PublishRules::passwordPairMatches(txt_newpwd->text(), txt_cpwd->text()));
}

void updataFrm::cmd_modPwd_Click() {
    if (!m_session.loggedIn) {
        m_ctx.dialogs.message(QStringLiteral("还没登陆服务器！"), kWarn, MsgIcon::Critical);
        return;
    }
    if (txt_newpwd->text().trimmed() != txt_cpwd->text()) {
        m_ctx.dialogs.message(QStringLiteral("两次密码不同，请重新输入!"), kTitle, MsgIcon::Critical);
        return;
    }
    sendToServer(Protocol::modPwdMessage(txt_newpwd->text()));
    cmd_modPwd->setEnabled(false);
    txt_newpwd->clear();
    txt_cpwd->clear();
}

void updataFrm::cmd_browser_Click() {
    QDesktopServices::openUrl(QUrl::fromUserInput(txt_url->text()));
}

// ---- connection ----

void updataFrm::sendToServer(const QString& text) {
    if (m_session.busyUploading() && isConnected()) {
        m_ctx.dialogs.message(busyText(), kTitle, MsgIcon::Information);
        return;
    }
    QString error;
    if (sendRaw(text, &error) == SendResult::NotConnected)
        m_ctx.dialogs.message(QStringLiteral("没有和服务器建立连接！"), kTitle, MsgIcon::Warning);
}

updataFrm::SendResult updataFrm::sendRaw(const QString& text, QString* error) {
    if (!isConnected())
        return SendResult::NotConnected;
    if (sckClient->write(Protocol::toWire(text)) < 0) {
        if (error)
            *error = sckClient->errorString();
        return SendResult::Failed;
    }
    return SendResult::Sent;
}

void updataFrm::cmd_connSever_Click() {
    if (isConnected())
        return;
    storeTypedAccount();
    closeSocket();
    m_errorReported = false;
    setPanel(1, QStringLiteral("正在和服务器建立连接..."));
    sckClient->connectToHost(txt_severIP->text().trimmed(), serverPort);
    cmd_connSever->setEnabled(false);
    cmd_disconn->setEnabled(true);
}

void updataFrm::storeTypedAccount() {
    // The account number the user typed becomes the stored one, so that it is
    // used for this login and offered again next time.
    const QString typed = txt_serial->text().trimmed().isEmpty() ? QString() : txt_serial->text();
    if (typed == m_session.userAccount)
        return;
    const SqlResult res = m_ctx.conn.run(QStringLiteral("UPDATE user_info SET serial=?"), {typed});
    if (!res.ok) {
        m_ctx.dialogs.message(res.error, kTitle, MsgIcon::Information);
        return;
    }
    m_session.userAccount = typed;
}

void updataFrm::cmd_disconn_Click() {
    closeSocket();
    setPanel(1, QStringLiteral("已与服务器断开连接"));
    cmd_connSever->setEnabled(true);
    cmd_disconn->setEnabled(false);
    m_session.loggedIn = false;
}

void updataFrm::closeSocket() {
    m_closingOurselves = true;
    sckClient->abort();
    m_closingOurselves = false;
    m_session.uploadAnnounced = false;
}

void updataFrm::sckClient_Connect() {
    setPanel(1, QStringLiteral("已与服务器建立连接"));
    if (!m_session.userAccount.trimmed().isEmpty())
        sendToServer(Protocol::loginMessage(txt_serial->text(), txt_pwd->text()));
    else
        sendToServer(Protocol::versionQuery());
}

void updataFrm::sckClient_Error(QAbstractSocket::SocketError error) {
    // A close by the server is not a failure; sckClient_Close reports it.
    if (error == QAbstractSocket::RemoteHostClosedError || m_closingOurselves)
        return;
    m_errorReported = true;
    m_session.uploadAnnounced = false;
    const QString description = sckClient->errorString();
    setPanel(1, QStringLiteral("与服务器建立连接失败！"));
    m_ctx.dialogs.message(description, kWarn, MsgIcon::Critical);
    setPanel(1, QStringLiteral("还未和服务器建立连接！"));
    cmd_connSever->setEnabled(true);
    cmd_disconn->setEnabled(false);
}

void updataFrm::sckClient_Close() {
    if (m_closingOurselves)
        return;
    if (m_errorReported) { // already reported as an error
        m_errorReported = false;
        return;
    }
    setPanel(1, QStringLiteral("已与服务器断开连接"));
    cmd_connSever->setEnabled(true);
    cmd_disconn->setEnabled(false);
    m_session.loggedIn = false;
    m_session.uploadAnnounced = false;
}

// ---- timers ----

void updataFrm::Timer_sck_Timer() {
    if (!idleTicks.tick())
        return;
    cmd_disconn_Click();
    m_ctx.dialogs.message(QStringLiteral("连接超时，已于服务器断开连接！"), kTitle, MsgIcon::Information);
    Timer_sck->stop();
}

void updataFrm::timer_verion_Timer() {
    if (!verTicks.tick())
        return;
    if (m_session.busyUploading() && isConnected())
        return; // asked again once the archive is through
    sendToServer(Protocol::versionQuery());
    timer_verion->stop();
}

void updataFrm::timer_doZip_Timer() {
    setPanel(2, QStringLiteral("正在打包压缩数据..."));
}

// ---- server messages ----

void updataFrm::dispatchServerMessage() {
    const QString received = Protocol::fromWire(sckClient->readAll());
    applyReaction(
        reactToServerMessage(received, m_session, m_ctx.conn, txt_webName->text(), QDate::currentDate()));
    // The socket does not announce data that arrived while a message box of this
    // handler was open: pick it up now rather than with the next message.
    if (sckClient->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &updataFrm::dispatchServerMessage, Qt::QueuedConnection);
}

void updataFrm::applyReaction(const ServerReaction& r) {
    if (r.ignored())
        return;
    if (!r.panel1.isEmpty())
        setPanel(1, r.panel1);
    if (r.enableConnect)
        cmd_connSever->setEnabled(true);
    if (r.disableChangeWebName)
        cmd_changeWebName->setEnabled(false);
    if (r.restoreWebName)
        txt_webName->setText(m_session.confirmedSiteName);
    if (r.closeSocket) {
        closeSocket();
    }
    if (r.startIdleWatchdog) {
        idleTicks.reset();
        Timer_sck->start();
    }
    for (const ServerReaction::Box& b : r.boxes)
        m_ctx.dialogs.message(b.text, b.title, b.icon);
    // The version query goes out once the login box is closed.
    if (r.startVersionTimer) {
        verTicks.reset();
        timer_verion->start();
    }
    if (r.sendArchive)
        sendZipFile();
    if (r.page == ServerReaction::Page::Chat)
        showPage(QStringLiteral("dlgFrm"), r.pageText);
    else if (r.page == ServerReaction::Page::Announcement)
        showPage(QStringLiteral("verFrm"), r.pageText);
}

void updataFrm::showPage(const QString& window, const QString& text) {
    if (!m_ctx.host)
        return;
    if (auto* page = qobject_cast<MsgPageWindow*>(m_ctx.host->showWindow(window)))
        page->receive(text);
}

// ---- upload ----

void updataFrm::cmd_updata_Click() {
    if (!m_session.loggedIn) {
        m_ctx.dialogs.message(QStringLiteral("还没登陆服务器！"), kWarn, MsgIcon::Critical);
        return;
    }
    if (!m_session.siteNameSet) {
        m_ctx.dialogs.message(QStringLiteral("请输入一站点名！"), kWarn, MsgIcon::Critical);
        txt_webName->setFocus();
        return;
    }
    if (m_session.busyUploading() && isConnected()) {
        m_ctx.dialogs.message(busyText(), kTitle, MsgIcon::Information);
        return;
    }
    SitePacker packer(m_ctx.appPath, m_ctx.workPath);
    connect(&packer, &SitePacker::statusText, this, [this](const QString& text) { setPanel(2, text); });
    connect(&packer, &SitePacker::archiveMessage, this,
            [this](const QString& text) { m_ctx.dialogs.message(text, kTitle, MsgIcon::None); });
    timer_doZip->start();
    const bool packed = packer.zipSiteData();
    timer_doZip->stop();
    if (!packed) {
        m_ctx.dialogs.message(packer.errorText(), kTitle, MsgIcon::None);
        m_ctx.dialogs.message(QStringLiteral("压缩文件出错！"), kWarn, MsgIcon::Critical);
        return;
    }
    // The length travels in a 32-bit signed field: a larger archive cannot be announced.
    const qint64 length = QFileInfo(packer.uploadArchivePath()).size();
    if (!ArchiveSender::fitsLengthField(length)) {
        m_ctx.dialogs.message(ArchiveSender::tooLargeText(length), kWarn, MsgIcon::Critical);
        return;
    }
    m_session.zipLength = qint32(length);
    sendToServer(Protocol::sendFileInfoMessage(m_session.zipLength));
    if (isConnected())
        m_session.uploadAnnounced = true;
}

void updataFrm::sendZipFile() {
    const QString path = m_ctx.appPath + SitePacker::uploadArchiveName();
    ccprg->setMaximum(qMax(1, int(m_session.zipLength)));
    ccprg->setValue(0);
    if (!m_sender->sendZipFile(sckClient, path, m_session.zipLength))
        uploadFailed(m_sender->errorText());
}

void updataFrm::sckClient_SendProgress(qint64 bytesSent) {
    if (!m_session.uploading)
        return;
    idleTicks.reset();
    ccprg->setValue(int(qMin<qint64>(ccprg->maximum(), ccprg->value() + bytesSent)));
    setPanel(2, ArchiveSender::uploadingText());
    cmd_updata->setEnabled(false);
}

void updataFrm::uploadComplete() {
    if (!m_session.uploading)
        return;
    ccprg->setValue(0);
    m_session.uploading = false;
    m_session.zipLength = 0;
    m_ctx.dialogs.message(ArchiveSender::completedText(), kTitle, MsgIcon::Information);
    setPanel(2, ArchiveSender::completedText());
    cmd_updata->setEnabled(true);
}

void updataFrm::uploadFailed(const QString& why) {
    ccprg->setValue(0);
    m_session.uploading = false;
    m_session.zipLength = 0;
    cmd_updata->setEnabled(true);
    setPanel(2, QStringLiteral("数据上传未完成！"));
    m_ctx.dialogs.message(why, kWarn, MsgIcon::Critical);
}
