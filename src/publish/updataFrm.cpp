#include "updataFrm.h"

#include "core/AppContext.h"
#include "core/Messages.h"
#include "publish/PublishClient.h"
#include "publish/siteViewFrm.h"
#include "text/Twips.h"

#include <QDesktopServices>
#include <QEvent>
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
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {
using Twips::toPixels;
} // namespace

updataFrm::updataFrm(AppContext& ctx, PublishClient& client, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_client(client), m_clientAlive(&client)
{
    setObjectName(QStringLiteral("updataFrm"));
    setWindowTitle(QStringLiteral("上传数据"));
    buildControls();
    bindClient();
    load();
}

updataFrm::~updataFrm()
{
    // The connection goes with the window; an upload in progress ends with it.
    // (The frame's context, and the client with it, may already be gone.)
    if (m_clientAlive) {
        m_client.disconnect(this);
        m_client.closeConnection();
    }
}

void updataFrm::buildControls()
{
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
    cmd_siteView = button("cmd_siteView", QStringLiteral("预览网站"), frm_upload);
    cmd_siteView->setMinimumHeight(28);
    auto* g4 = new QVBoxLayout(frm_upload);
    g4->setContentsMargins(8, 6, 8, 8);
    auto* g4buttons = new QHBoxLayout;
    g4buttons->addWidget(cmd_updata);
    g4buttons->addWidget(cmd_siteView);
    g4->addLayout(g4buttons);
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

    connect(txt_webName, &QLineEdit::textChanged, this, &updataFrm::txt_webName_Change);
    connect(txt_newpwd, &QLineEdit::textChanged, this, &updataFrm::passwords_Change);
    connect(txt_cpwd, &QLineEdit::textChanged, this, &updataFrm::passwords_Change);
    connect(cmd_changeWebName, &QPushButton::clicked, this, &updataFrm::cmd_changeWebName_Click);
    connect(cmd_browser, &QPushButton::clicked, this, &updataFrm::cmd_browser_Click);
    connect(cmd_connSever, &QPushButton::clicked, this, &updataFrm::cmd_connSever_Click);
    connect(cmd_disconn, &QPushButton::clicked, &m_client, &PublishClient::disconnectFromServer);
    connect(cmd_modPwd, &QPushButton::clicked, this, &updataFrm::cmd_modPwd_Click);
    connect(cmd_updata, &QPushButton::clicked, this, &updataFrm::cmd_updata_Click);
    connect(cmd_siteView, &QPushButton::clicked, this, &updataFrm::cmd_siteView_Click);
    txt_webName->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(frm_cond), static_cast<QWidget*>(frm_conn), static_cast<QWidget*>(frm_pwd),
                       static_cast<QWidget*>(frm_upload), static_cast<QWidget*>(frm_desc)})
        w->installEventFilter(this);
}

void updataFrm::bindClient()
{
    PublishClient* c = &m_client;
    connect(c, &PublishClient::panelChanged, this, &updataFrm::setPanel);
    connect(c, &PublishClient::messageWanted, this, [this](const QString& text, const QString& title, MsgIcon icon) {
        m_ctx.dialogs.message(text, title, icon);
    });
    connect(c, &PublishClient::connectEnabled, cmd_connSever, &QWidget::setEnabled);
    connect(c, &PublishClient::disconnectEnabled, cmd_disconn, &QWidget::setEnabled);
    connect(c, &PublishClient::uploadEnabled, cmd_updata, &QWidget::setEnabled);
    connect(c, &PublishClient::changeWebNameEnabled, cmd_changeWebName, &QWidget::setEnabled);
    connect(c, &PublishClient::webNameRestored, txt_webName, &QLineEdit::setText);
    connect(c, &PublishClient::progressChanged, this, [this](qint64 value, qint64 maximum) {
        ccprg->setMaximum(int(qBound(qint64(1), maximum, qint64(INT_MAX))));
        ccprg->setValue(int(qBound(qint64(0), value, qint64(ccprg->maximum()))));
    });
}

void updataFrm::load()
{
    lbl_desc->setText(PublishRules::helpText());
    const PublishClient::Account account = m_client.load();
    if (account.noRow) {
        m_ctx.dialogs.message(QStringLiteral("获得序列号出错！"), Messages::warning(), MsgIcon::Critical);
        QTimer::singleShot(0, this, &QWidget::close);
    } else if (!account.ok) {
        m_ctx.dialogs.message(account.error, Messages::notice(), MsgIcon::Information);
    } else {
        txt_serial->setText(account.serial);
        txt_webName->setText(m_client.session().confirmedSiteName);
        txt_url->setText(PublishRules::siteAddressPrefix() + account.siteName);
        txt_url->setCursorPosition(0);
        cmd_changeWebName->setEnabled(false);
    }
    setPanel(1, Messages::notConnectedYet());

    setMinimumSize(toPixels(10305), toPixels(5745));
    resize(toPixels(10125), toPixels(6240));
}

QSize updataFrm::sizeHint() const
{
    return QSize(toPixels(10125), toPixels(6240)).expandedTo(minimumSize());
}

QString updataFrm::panelText(int panel) const
{
    return panel == 1 ? m_panel1->text() : m_panel2->text();
}

void updataFrm::setPanel(int panel, const QString& text)
{
    (panel == 1 ? m_panel1 : m_panel2)->setText(text);
}

void updataFrm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int barH = StsBar->sizeHint().height();
    StsBar->setGeometry(0, height() - barH, width(), barH);
    // Centred, but never closer than 1000 twips to the top or left edge.
    const int margin = toPixels(1000);
    const int x = qMax(margin, (width() - frm_update->width()) / 2);
    const int y = qMax(margin, (height() - barH - frm_update->height()) / 2);
    frm_update->move(x, y);
}

void updataFrm::paintEvent(QPaintEvent* event)
{
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
    p.drawText(QRect(20, 0, width() - 40, band), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("发布网站"));
    QFont small = font();
    p.setFont(small);
    p.setPen(QColor(0xdd, 0xe8, 0xf6));
    p.drawText(QRect(20 + QFontMetrics(f).horizontalAdvance(QStringLiteral("发布网站")) + 16, 0, width(), band),
               Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("连接服务器、登录并上传您的网站数据"));
}

bool updataFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) {
        if (watched == txt_webName)
            setPanel(2, QStringLiteral("站点名称(三级域名)"));
        else if (qobject_cast<QGroupBox*>(watched) && !m_client.isBusy())
            setPanel(2, QString());
    }
    return QWidget::eventFilter(watched, event);
}

// ---- site name and password ----

void updataFrm::txt_webName_Change()
{
    const QString text = txt_webName->text();
    const int allowed = PublishRules::allowedSiteNameLength(text);
    if (allowed < text.size()) {
        m_ctx.dialogs.message(QStringLiteral("站点名只能输入英文字符或数字！"), Messages::notice(), MsgIcon::Warning);
        txt_webName->setText(text.left(allowed)); // runs this check again on the shorter text
        return;
    }
    txt_url->setText(PublishRules::siteAddressPrefix() + text);
    txt_url->setCursorPosition(0);
    cmd_changeWebName->setEnabled(!text.trimmed().isEmpty());
}

void updataFrm::cmd_changeWebName_Click()
{
    m_client.claimSiteName(txt_webName->text());
    txt_webName->setFocus();
}

void updataFrm::passwords_Change()
{
    cmd_modPwd->setEnabled(PublishRules::passwordPairMatches(txt_newpwd->text(), txt_cpwd->text()));
}

void updataFrm::cmd_modPwd_Click()
{
    if (!m_client.changePassword(txt_newpwd->text(), txt_cpwd->text()))
        return;
    cmd_modPwd->setEnabled(false);
    txt_newpwd->clear();
    txt_cpwd->clear();
}

void updataFrm::cmd_browser_Click()
{
    QDesktopServices::openUrl(QUrl::fromUserInput(txt_url->text()));
}

void updataFrm::cmd_connSever_Click()
{
    m_client.connectToServer(txt_severIP->text(), txt_serial->text(), txt_pwd->text());
}

// One preview window at a time: a second click brings it forward.
void updataFrm::cmd_siteView_Click()
{
    if (!m_siteView) {
        m_siteView = new siteViewFrm(m_ctx, this);
        m_siteView->setWindowFlag(Qt::Window);
    }
    m_siteView->show();
    m_siteView->raise();
    m_siteView->activateWindow();
}

void updataFrm::cmd_updata_Click()
{
    if (!m_client.upload(m_ctx.dataPath, m_ctx.workPath))
        txt_webName->setFocus();
}
