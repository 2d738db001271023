#include "PublishingFixture.h"
#include "RecordingDialogService.h"
#include "TestAppDir.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "app/MDIFrm.h"
#include "app/WindowTable.h"
#include "publish/ArchiveSender.h"
#include "publish/PublishSession.h"
#include "publish/dlgFrm.h"
#include "publish/updataFrm.h"
#include "publish/verFrm.h"
#include "widgets/WebPane.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

Q_DECLARE_METATYPE(MsgIcon)

class TestUpdataFrm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadShowsAccountAndName() {
        Publishing p(QStringLiteral(" 10001 "), QStringLiteral("mysite"));
        QVERIFY(p.up);
        QCOMPARE(p.up->windowTitle(), QStringLiteral("上传数据"));
        QCOMPARE(p.up->txt_serial->text(), QStringLiteral(" 10001 "));
        QCOMPARE(p.up->txt_webName->text(), QStringLiteral("mysite"));
        QCOMPARE(p.up->txt_url->text(), PublishRules::siteAddressPrefix() + "mysite");
        QVERIFY(!p.up->cmd_changeWebName->isEnabled());
        QVERIFY(p.session.siteNameSet);
        QCOMPARE(p.session.confirmedSiteName, QStringLiteral("mysite"));
        QCOMPARE(p.up->panelText(1), QStringLiteral("还未和服务器建立连接！"));
        QVERIFY(p.up->lbl_desc->text().startsWith(
            "站点名称：用于构成网站URL(三级域名),名称必须由数字和英文字母组成。"));
        QVERIFY(p.up->lbl_desc->text().endsWith(
            "密码：初始密码为：531946，如果需要修改密码请在该窗口下面输入你要修改的新密码。"));
        QCOMPARE(p.up->txt_pwd->echoMode(), QLineEdit::Password);
        QVERIFY(p.dlg.shown.isEmpty());

        Publishing blank(QStringLiteral("   "), QStringLiteral("  "));
        QCOMPARE(blank.session.userAccount, QString());
        QVERIFY(!blank.session.siteNameSet);
        QCOMPARE(blank.up->txt_webName->text(), QString());
    }

    void noSettingsRowClosesTheWindow() {
        TestAppDir app;
        RecordingDialogService dlg;
        MDIFrm frame(app.path(), dlg, programWindows());
        frame.conn().run("DELETE FROM user_info");
        dlg.clear();
        QPointer<QObject> up = frame.showWindow("updataFrm");
        QVERIFY(up);
        QCOMPARE(dlg.texts(), QStringList{"获得序列号出错！"});
        QCOMPARE(dlg.last().title, QStringLiteral("警告"));
        QCOMPARE(dlg.last().icon, MsgIcon::Critical);
        QTRY_VERIFY(!up);
    }

    void connectWithoutAccountOnlyAsksForTheVersion() {
        Publishing p;
        QVERIFY(p.connectToPeer());
        QCOMPARE(p.up->panelText(1), QStringLiteral("已与服务器建立连接"));
        QVERIFY(!p.up->cmd_connSever->isEnabled());
        QVERIFY(p.up->cmd_disconn->isEnabled());
        QVERIFY(p.peer.waitFor("<#getversion#>3.05"));
        QTest::qWait(100);
        QCOMPARE(p.peer.received, QByteArray("<#getversion#>3.05"));
        QVERIFY(!p.session.loggedIn);
        // A second click while connected does nothing.
        p.up->cmd_connSever_Click();
        QVERIFY(p.up->isConnected());
    }

    void typedAccountIsStoredAndUsed() {
        Publishing p;
        p.up->txt_serial->setText(QStringLiteral("20002"));
        p.up->txt_pwd->setText(QStringLiteral("pw"));
        QVERIFY(p.connectToPeer());
        QVERIFY(p.peer.waitFor("<#login#>20002||pw"));
        QCOMPARE(p.userInfo("serial"), QStringLiteral("20002"));
        QCOMPARE(p.session.userAccount, QStringLiteral("20002"));
    }

    void loginAcceptedThenVersionQuery() {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.login());
        QCOMPARE(p.peer.received, QByteArray("<#login#>10001||531946"));
        QCOMPARE(p.up->panelText(1), QStringLiteral("登陆服务器成功！"));
        QCOMPARE(p.dlg.last().text, QStringLiteral("登陆服务器成功！"));
        QCOMPARE(p.dlg.last().icon, MsgIcon::Information);
        p.up->timer_verion->stop(); // ticks are driven by hand below: the first one waits
        p.peer.received.clear();
        p.up->timer_verion_Timer();
        QTest::qWait(50);
        QVERIFY(p.peer.received.isEmpty());
        p.up->timer_verion->start();
        p.up->timer_verion_Timer();
        QVERIFY(p.peer.waitFor("<#getversion#>3.05"));
        QVERIFY(!p.up->timer_verion->isActive());
    }

    void messageArrivingWhileABoxIsOpenIsHandled() {
        Publishing p(QStringLiteral("10001"));
        // The operator's greeting arrives while "登陆服务器成功！" is still open.
        p.dlg.whileShown = [&](const RecordingDialogService::Shown& box) {
            if (box.text != QStringLiteral("登陆服务器成功！"))
                return;
            p.peer.reply(QStringLiteral("<#talkmsg#>欢迎"));
            QTest::qWait(300);
        };
        QVERIFY(p.login());
        // No version query went out while the box was open.
        QVERIFY(!p.peer.received.contains("<#getversion#>"));
        QVERIFY(QTest::qWaitFor([&] { return p.frame.loadedWindow(QStringLiteral("dlgFrm")) != nullptr; }, 5000));
    }

    void loginRefused() {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.connectToPeer());
        QVERIFY(p.peer.waitFor("<#login#>"));
        p.peer.reply(QStringLiteral("<#logout#>"));
        QVERIFY(p.waitForBoxes(1));
        QCOMPARE(p.dlg.last().text, QStringLiteral("系列号或密码不对,重新登陆！"));
        QCOMPARE(p.dlg.last().title, QStringLiteral("提示"));
        QCOMPARE(p.dlg.last().icon, MsgIcon::Critical);
        QCOMPARE(p.up->panelText(1), QStringLiteral("登陆服务器失败！"));
        QVERIFY(p.up->cmd_connSever->isEnabled());
        QVERIFY(p.peer.waitClosed());
        QVERIFY(!p.session.loggedIn);
        QCOMPARE(p.dlg.shown.size(), 1);
    }

    void siteNameAcceptedThenTaken() {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.login());
        p.dlg.clear();
        QTest::keyClicks(p.up->txt_webName, QStringLiteral("abc1"));
        QVERIFY(p.up->cmd_changeWebName->isEnabled());
        QCOMPARE(p.up->txt_url->text(), PublishRules::siteAddressPrefix() + "abc1");
        p.peer.received.clear();
        p.up->cmd_changeWebName->click();
        QVERIFY(p.peer.waitFor("<#siteName#>abc1"));
        QVERIFY(!p.up->cmd_changeWebName->isEnabled());
        p.peer.reply(QStringLiteral("<#siteName#>"));
        QVERIFY(p.waitForBoxes(1));
        QCOMPARE(p.dlg.last().text, QStringLiteral("站点名更改成功！"));
        QCOMPARE(p.userInfo("site_name"), QStringLiteral("abc1"));

        p.up->txt_webName->setText(QStringLiteral("taken9"));
        p.up->cmd_changeWebName->click();
        QVERIFY(p.peer.waitFor("<#siteName#>taken9"));
        p.peer.reply(QStringLiteral("<#siteNameExist#>"));
        QVERIFY(p.waitForBoxes(2));
        QCOMPARE(p.dlg.last().text, QStringLiteral("站点名已存在，重新输入！"));
        QCOMPARE(p.up->txt_webName->text(), QStringLiteral("abc1"));
        QCOMPARE(p.userInfo("site_name"), QStringLiteral("abc1"));
        // Uploading now refuses until a name is accepted again.
        p.up->cmd_updata->click();
        QCOMPARE(p.dlg.last().text, QStringLiteral("请输入一站点名！"));
        QCOMPARE(p.dlg.last().title, QStringLiteral("警告"));
        QCOMPARE(p.dlg.last().icon, MsgIcon::Critical);
    }

    void serverMessageBoxes_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<MsgIcon>("icon");
        QTest::newRow("system message in Chinese") << "<#systemmsg#>服务器将于今晚维护"
                                                   << "服务器将于今晚维护"
                                                   << "系统信息" << MsgIcon::Information;
        QTest::newRow("error") << "<#errMsg#>"
                               << "与服务器连接出现障碍，请重试！\r\n如还有问题请拨打技术热线电话：" +
                                      PublishRules::supportPhone()
                               << "提示" << MsgIcon::Information;
    }
    void serverMessageBoxes() {
        QFETCH(QString, reply);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(MsgIcon, icon);
        Publishing p;
        QVERIFY(p.connectToPeer());
        QVERIFY(p.peer.waitFor("<#getversion#>"));
        p.peer.reply(reply);
        QVERIFY(p.waitForBoxes(1));
        QCOMPARE(p.dlg.last().text, text);
        QCOMPARE(p.dlg.last().title, title);
        QCOMPARE(p.dlg.last().icon, icon);
        QVERIFY(p.up->isConnected());
    }

    void passwordChange() {
        Publishing p(QStringLiteral("10001"));
        p.up->txt_newpwd->setText(QStringLiteral("new1  "));
        p.up->txt_cpwd->setText(QStringLiteral("new"));
        QVERIFY(!p.up->cmd_modPwd->isEnabled());
        p.up->txt_cpwd->setText(QStringLiteral("new1"));
        QVERIFY(p.up->cmd_modPwd->isEnabled());
        p.up->cmd_modPwd->click();
        QCOMPARE(p.dlg.last().text, QStringLiteral("还没登陆服务器！"));
        QCOMPARE(p.dlg.last().title, QStringLiteral("警告"));

        QVERIFY(p.login());
        p.peer.received.clear();
        p.up->cmd_modPwd->click();
        QVERIFY(p.peer.waitFor("<#modPwd#>new1  "));
        QCOMPARE(p.peer.received, QByteArray("<#modPwd#>new1  "));
        QVERIFY(!p.up->cmd_modPwd->isEnabled());
        QVERIFY(p.up->txt_newpwd->text().isEmpty() && p.up->txt_cpwd->text().isEmpty());

        // Called directly with a mismatch (the button is disabled then).
        p.up->txt_newpwd->setText(QStringLiteral("a"));
        p.up->txt_cpwd->setText(QStringLiteral("b"));
        p.up->cmd_modPwd_Click();
        QCOMPARE(p.dlg.last().text, QStringLiteral("两次密码不同，请重新输入!"));
        QCOMPARE(p.dlg.last().title, QStringLiteral("提示"));
    }

    void siteNameInput() {
        Publishing p;
        QTest::keyClicks(p.up->txt_webName, QStringLiteral("ab-c"));
        QCOMPARE(p.up->txt_webName->text(), QStringLiteral("abc"));
        QCOMPARE(p.dlg.texts(), QStringList{"站点名只能输入英文字符或数字！"});
        QCOMPARE(p.dlg.last().icon, MsgIcon::Warning);
        p.up->txt_webName->clear();
        // Claiming: empty refused, not logged in refused before anything is sent.
        p.up->cmd_changeWebName_Click();
        QCOMPARE(p.dlg.last().text, QStringLiteral("不能未空！"));
        QVERIFY(p.connectToPeer());
        QVERIFY(p.peer.waitFor("<#getversion#>"));
        p.up->txt_webName->setText(QStringLiteral("abc"));
        p.up->cmd_changeWebName->click();
        QCOMPARE(p.dlg.last().text, QStringLiteral("还没登陆服务器！"));
        QTest::qWait(50);
        QVERIFY(!p.peer.received.contains("<#siteName#>"));
    }

    void idleWatchdog() {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.login());
        p.up->txt_webName->setText(QStringLiteral("abc"));
        p.up->cmd_changeWebName->click();
        QVERIFY(p.peer.waitFor("<#siteName#>abc"));
        p.peer.reply(QStringLiteral("<#siteName#>"));
        QVERIFY(QTest::qWaitFor([&] { return p.up->Timer_sck->isActive(); }, 5000));
        const int boxes = int(p.dlg.shown.size());
        for (int i = 0; i < 19; ++i)
            p.up->Timer_sck_Timer();
        QVERIFY(p.up->isConnected());
        QCOMPARE(p.dlg.shown.size(), boxes);
        p.up->Timer_sck_Timer();
        QCOMPARE(p.dlg.last().text, QStringLiteral("连接超时，已于服务器断开连接！"));
        QCOMPARE(p.dlg.last().title, QStringLiteral("提示"));
        QVERIFY(!p.up->Timer_sck->isActive());
        QCOMPARE(p.up->panelText(1), QStringLiteral("已与服务器断开连接"));
        QVERIFY(p.peer.waitClosed());
    }

    void notConnected() {
        Publishing p(QStringLiteral("10001"));
        p.up->sendToServer(QStringLiteral("<#getversion#>3.05"));
        QCOMPARE(p.dlg.last().text, QStringLiteral("没有和服务器建立连接！"));
        QCOMPARE(p.dlg.last().icon, MsgIcon::Warning);
        QCOMPARE(p.dlg.last().title, QStringLiteral("提示"));
        p.up->cmd_updata->click();
        QCOMPARE(p.dlg.last().text, QStringLiteral("还没登陆服务器！"));
    }

    void connectionRefused() {
        Publishing p(QStringLiteral("10001"));
        const quint16 closedPort = p.peer.port();
        p.peer.server.close();
        p.up->serverPort = closedPort;
        p.up->cmd_connSever->click();
        QCOMPARE(p.up->panelText(1), QStringLiteral("正在和服务器建立连接..."));
        QVERIFY(p.waitForBoxes(1));
        QCOMPARE(p.dlg.last().title, QStringLiteral("警告"));
        QCOMPARE(p.dlg.last().icon, MsgIcon::Critical);
        QVERIFY(!p.dlg.last().text.isEmpty());
        QCOMPARE(p.up->panelText(1), QStringLiteral("还未和服务器建立连接！"));
        QVERIFY(p.up->cmd_connSever->isEnabled());
        QVERIFY(!p.up->cmd_disconn->isEnabled());
    }

    void serverClosesAndUserDisconnects() {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.login());
        p.peer.conn->disconnectFromHost();
        QVERIFY(QTest::qWaitFor([&] { return !p.session.loggedIn; }, 5000));
        QCOMPARE(p.up->panelText(1), QStringLiteral("已与服务器断开连接"));
        QVERIFY(p.up->cmd_connSever->isEnabled());
        QVERIFY(!p.up->cmd_disconn->isEnabled());
        QCOMPARE(p.dlg.shown.size(), 1); // only the login box: a close is no error

        QVERIFY(p.login());
        p.up->cmd_disconn->click();
        QVERIFY(!p.session.loggedIn);
        QCOMPARE(p.up->panelText(1), QStringLiteral("已与服务器断开连接"));
        QVERIFY(p.peer.waitClosed());
    }

    void garbageFromTheServer() {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.login());
        const int boxes = int(p.dlg.shown.size());
        p.peer.replyBytes(QByteArray("\xff\xfe\x81\x30\x00\x00\x84", 7));
        QByteArray big(4 * 1024 * 1024, '\xfe');
        big.prepend("<<<<#");
        p.peer.replyBytes(big);
        p.peer.replyBytes(QByteArray("<#talk") + QByteArray(1024, '\0'));
        QTest::qWait(300);
        QVERIFY(p.up->isConnected());
        QCOMPARE(p.dlg.shown.size(), boxes);
        // Still answers after the junk.
        p.peer.reply(QStringLiteral("<#modPwd#>"));
        QVERIFY(p.waitForBoxes(boxes + 1));
        QCOMPARE(p.dlg.last().text, QStringLiteral("密码修改成功！"));
    }

    void sessionOutlivesTheWindowAndResetsOnLoad() {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.login());
        p.frame.unloadWindow(QStringLiteral("updataFrm")); // as restore and shutdown do
        QVERIFY(!p.up);
        QVERIFY(p.peer.waitClosed());
        QVERIFY(p.session.loggedIn);
        p.up = qobject_cast<updataFrm*>(p.frame.showWindow(QStringLiteral("updataFrm")));
        QVERIFY(!p.session.loggedIn);
        QVERIFY(!p.session.uploading);
    }

    // ---- upload ----

    void uploadEndToEnd() {
        Publishing p(QStringLiteral("10001"), QStringLiteral("mysite"));
        writeFile(p.app.workPath() + "images/logo.gif", QByteArray(300000, 'g'));
        QVERIFY(p.login());
        p.peer.received.clear();
        p.up->cmd_updata->click();
        QCOMPARE(p.up->panelText(2), QStringLiteral("压缩完成。"));
        const QByteArray archive = p.announcedArchive();
        QVERIFY(archive.startsWith("PK"));
        QVERIFY(p.peer.waitFor("<#sendFileInfo#>" + QByteArray::number(archive.size())));
        QVERIFY(!p.session.uploading);
        QVERIFY(p.acceptUpload(archive));
        QCOMPARE(p.up->panelText(2), QStringLiteral("数据传输完毕！"));
        QVERIFY(p.up->cmd_updata->isEnabled());

        // Again in the same session: a fresh archive, again byte for byte.
        p.peer.received.clear();
        p.dlg.clear();
        p.up->cmd_updata->click();
        QVERIFY(p.acceptUpload(p.announcedArchive()));
    }

    // Between the announcement and the last archive byte no text may travel:
    // it would land inside the archive.
    void nothingElseTravelsWithTheArchive() {
        Publishing p(QStringLiteral("10001"), QStringLiteral("mysite"));
        QVERIFY(p.login());
        p.up->cmd_updata->click();
        const QByteArray archive = p.announcedArchive();
        QVERIFY(p.session.uploadAnnounced);
        p.peer.received.clear();
        p.dlg.clear();
        p.up->timer_verion_Timer();
        p.up->timer_verion_Timer(); // the version query waits
        p.up->txt_newpwd->setText("pw");
        p.up->txt_cpwd->setText("pw");
        p.up->cmd_modPwd->click();
        p.up->cmd_updata->click();
        auto* chat = qobject_cast<dlgFrm*>(p.frame.showWindow("dlgFrm"));
        chat->txt_msg->setPlainText("hi");
        chat->OKButton->click();
        QCOMPARE(p.dlg.texts(),
                 (QStringList{"正在上传数据，请等上传完毕后再操作！", "正在上传数据，请等上传完毕后再操作！",
                              "正在上传数据不能，不能发送消息！"}));
        QTest::qWait(50);
        QVERIFY(p.peer.received.isEmpty());
        QVERIFY(p.acceptUpload(archive));
        // Afterwards the version query goes out.
        p.up->timer_verion_Timer();
        p.up->timer_verion_Timer();
        QVERIFY(p.peer.waitFor(archive + "<#getversion#>3.05"));
    }

    void serverRefusesTheAnnouncedUpload() {
        Publishing p(QStringLiteral("10001"), QStringLiteral("mysite"));
        QVERIFY(p.login());
        p.up->cmd_updata->click();
        QVERIFY(p.peer.waitFor("<#sendFileInfo#>"));
        p.peer.reply(QStringLiteral("<#errMsg#>"));
        QVERIFY(QTest::qWaitFor([&] { return !p.session.uploadAnnounced; }, 5000));
        QVERIFY(p.dlg.last().text.startsWith("与服务器连接出现障碍，请重试！"));
        p.peer.received.clear();
        p.up->cmd_updata->click();
        QVERIFY(p.peer.waitFor("<#sendFileInfo#>"));
    }

    void serverClosesMidUpload() {
        Publishing p(QStringLiteral("10001"), QStringLiteral("mysite"));
        // Pictures are stored as they are, so the archive is as big as the picture.
        writeFile(p.app.workPath() + "big.jpg", QByteArray(48 * 1024 * 1024, 'b'));
        QVERIFY(p.login());
        p.up->cmd_updata->click();
        QVERIFY(p.peer.waitFor("<#sendFileInfo#>"));
        p.peer.readAll = false; // a server that stops reading, then goes away
        p.peer.reply(QStringLiteral("<#sendFileInfo#>"));
        QVERIFY(QTest::qWaitFor([&] { return p.up->ccprg->value() > 0; }, 10000));
        QCOMPARE(p.up->panelText(2), QStringLiteral("正在上传数据..."));
        p.dlg.clear();
        p.peer.conn->abort();
        QVERIFY(QTest::qWaitFor([&] { return !p.session.uploading; }, 10000));
        QCOMPARE(p.up->ccprg->value(), 0);
        QVERIFY(p.up->cmd_updata->isEnabled());
        QVERIFY(p.dlg.texts().contains(ArchiveSender::interruptedText()));
        QVERIFY(!p.dlg.texts().contains(QStringLiteral("数据传输完毕！")));
        QVERIFY(!p.session.loggedIn);
    }

    void uploadRefusals() {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.login());
        p.up->cmd_updata->click();
        QCOMPARE(p.dlg.last().text, QStringLiteral("请输入一站点名！"));
        // A "<#sendFileInfo#>" nobody asked for sends nothing and leaves no upload hanging.
        p.peer.received.clear();
        p.peer.reply(QStringLiteral("<#sendFileInfo#>"));
        QVERIFY(QTest::qWaitFor([&] { return p.dlg.shown.size() >= 3; }, 5000));
        QVERIFY(!p.session.uploading);
        QVERIFY(p.up->cmd_updata->isEnabled());
        QTest::qWait(50);
        QVERIFY(p.peer.received.isEmpty());
    }

    // ---- chat and announcements ----

    void chatFromServerWaitsForThePage() {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.login());
        p.peer.reply(QStringLiteral("<#talkmsg#>first"));
        QVERIFY(QTest::qWaitFor([&] { return p.frame.loadedWindow("dlgFrm"); }, 5000));
        auto* chat = qobject_cast<dlgFrm*>(p.frame.loadedWindow("dlgFrm"));
        QVERIFY(chat && chat->isVisible());
        QCOMPARE(chat->windowTitle(), QStringLiteral("咨询台"));
        chat->Timer1->stop();
        // A second one before the first tick replaces it.
        p.peer.reply(QStringLiteral("<#talkmsg#>您好<img src=x onerror=alert(1)><script>bad()</script>"));
        QVERIFY(QTest::qWaitFor([&] { return chat->pendingMsg.startsWith("您好"); }, 5000));
        chat->Timer1->stop();
        chat->Timer1_Timer();
        QCOMPARE(chat->webBer->lastInnerHtml("msg"), QString());
        chat->Timer1_Timer();
        const QString shown = chat->webBer->lastInnerHtml("msg");
        QVERIFY(shown.endsWith("<font size=2>您好<img src=\"x\"></font><br>"));
        QVERIFY(!shown.contains("first"));
        // Once ready, a message shows at once, above the older ones.
        p.peer.reply(QStringLiteral("<#talkmsg#>third"));
        QVERIFY(QTest::qWaitFor([&] { return chat->webBer->lastInnerHtml("msg").contains("third"); }, 5000));
        QVERIFY(chat->webBer->lastInnerHtml("msg").indexOf("third") <
                chat->webBer->lastInnerHtml("msg").indexOf("您好"));
    }

    void chatSending() {
        Publishing p(QStringLiteral("10001"));
        auto* chat = qobject_cast<dlgFrm*>(p.frame.showWindow("dlgFrm"));
        QVERIFY(chat);
        chat->txt_msg->setPlainText("hello");
        chat->OKButton->click();
        QCOMPARE(p.dlg.last().text, QStringLiteral("还没和服务器建立连接"));
        QCOMPARE(chat->txt_msg->toPlainText(), QStringLiteral("hello"));

        QVERIFY(p.login());
        chat->txt_msg->setPlainText(QString(128, QLatin1Char('x')));
        chat->OKButton->click();
        QCOMPARE(p.dlg.last().text, QStringLiteral("最大字符两位128"));
        QCOMPARE(p.dlg.last().title, QStringLiteral("提示"));

        p.peer.received.clear();
        const QString text127 = QStringLiteral("你'好 \"x\"\n") + QString(119, QLatin1Char('y'));
        QCOMPARE(text127.size(), 127);
        chat->txt_msg->setPlainText(text127);
        chat->OKButton->click();
        const QString encoded = "你&#39;好&nbsp;&#34;x&#34;<br>" + QString(119, QLatin1Char('y'));
        QVERIFY(p.peer.waitFor(Protocol::toWire("<#talkmsg#>" + encoded)));
        QVERIFY(chat->txt_msg->toPlainText().isEmpty());
        QVERIFY(chat->webBer->lastInnerHtml("msg").startsWith(
            "<font color=red size=2><b>客户端(我的发言)</b></font>"));
        QVERIFY(chat->webBer->lastInnerHtml("msg").contains(encoded));

        // Ctrl+Enter sends, without leaving a line break behind.
        p.peer.received.clear();
        chat->txt_msg->setPlainText("ctrl");
        QTest::keyClick(chat->txt_msg, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(p.peer.waitFor("<#talkmsg#>ctrl"));
        QCOMPARE(p.peer.received, QByteArray("<#talkmsg#>ctrl"));
        QVERIFY(chat->txt_msg->toPlainText().isEmpty());
    }

    void announcement_data() {
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("shown");
        QTest::newRow("hidden 13 days ago") << 13 << "1" << false;
        QTest::newRow("hidden 14 days ago") << 14 << "1" << true;
    }
    void announcement() {
        QFETCH(int, daysAgo);
        QFETCH(QString, flag);
        QFETCH(bool, shown);
        Publishing p(QStringLiteral("10001"));
        p.frame.conn().run("UPDATE user_info SET field06=?",
                           {flag + "||" + QDate::currentDate().addDays(-daysAgo).toString("yyyy/M/d")});
        QVERIFY(p.login());
        p.peer.reply(QStringLiteral("<#getversion#><b>3.06 已发布</b>"));
        QTest::qWait(300);
        auto* notice = qobject_cast<verFrm*>(p.frame.loadedWindow("verFrm"));
        QCOMPARE(notice != nullptr, shown);
        if (!shown)
            return;
        QCOMPARE(notice->windowTitle(), QStringLiteral("系统公告"));
        QCOMPARE(notice->pendingMsg, QStringLiteral("<b>3.06 已发布</b>"));
        notice->Timer1->stop();
        notice->Timer1_Timer();
        notice->Timer1_Timer();
        QVERIFY(notice->webBer->lastInnerHtml("msg").endsWith("<font size=2><b>3.06 已发布</b></font><br>"));

        // "不再显示" writes the setting, and unticking writes it back.
        QVERIFY(!notice->chk_ver->isChecked());
        notice->chk_ver->click();
        QCOMPARE(p.userInfo("field06"), "1||" + QDate::currentDate().toString("yyyy/M/d"));
        notice->chk_ver->click();
        QCOMPARE(p.userInfo("field06"), "0||" + QDate::currentDate().toString("yyyy/M/d"));
    }

    void unreadableNoticeSettingIsReportedAndShown() {
        Publishing p(QStringLiteral("10001"));
        p.frame.conn().run("UPDATE user_info SET field06='nonsense'");
        QVERIFY(p.login());
        p.peer.reply(QStringLiteral("<#getversion#>hello"));
        QVERIFY(QTest::qWaitFor([&] { return p.frame.loadedWindow("verFrm"); }, 5000));
        QCOMPARE(p.dlg.last().title, QStringLiteral("提示"));
        QVERIFY(p.dlg.last().text.contains("nonsense"));
    }
};

WEBLARK_TEST_MAIN(TestUpdataFrm)
#include "test_updatafrm.moc"
