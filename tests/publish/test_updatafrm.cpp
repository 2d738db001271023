// The publishing, chat and notice windows as the user drives them, against a loopback peer.
#include "PublishingFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "publish/MsgPageWindow.h"
#include "publish/siteViewFrm.h"
#include "widgets/WebPane.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>

namespace {
QString shownLog(QObject* window)
{
    return window->findChild<WebPane*>(QStringLiteral("webBer"))->lastInnerHtml(QStringLiteral("msg"));
}
// Every file of a folder with its size and time: what a preview must not change.
QStringList listing(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        out << f.filePath() + ' ' + QString::number(f.size()) + ' ' + f.lastModified().toString(Qt::ISODateWithMs);
    }
    out.sort();
    return out;
}
// Waits for the preview's next rendering and the load of its home page.
bool renderedAndLoaded(siteViewFrm* view, bool ok = true)
{
    QSignalSpy rendered(view, &siteViewFrm::rendered);
    if (!rendered.wait(60000) || rendered.at(0).at(0).toBool() != ok)
        return false;
    return !ok || QTest::qWaitFor([&] { return view->pane()->isLoaded(); }, 20000);
}
// Runs the page timer's two ticks by hand, as two seconds after the window opened.
void pageReady(QObject* window)
{
    window->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    auto* page = static_cast<MsgPageWindow*>(window);
    page->Timer1_Timer();
    page->Timer1_Timer();
}
} // namespace

class TestUpdataFrm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadShowsAccountAndName()
    {
        Publishing p(QStringLiteral(" 10001 "), QStringLiteral("mysite"));
        QCOMPARE(p.edit("txt_serial")->text(), QStringLiteral(" 10001 "));
        QCOMPARE(p.edit("txt_webName")->text(), QStringLiteral("mysite"));
        QCOMPARE(p.edit("txt_url")->text(), PublishRules::siteAddressPrefix() + "mysite");
        QVERIFY(!p.button("cmd_changeWebName")->isEnabled());
        QVERIFY(p.session.siteNameSet);
        QCOMPARE(p.up->panelText(1), QStringLiteral("还未和服务器建立连接！"));
        QVERIFY(p.dlg.shown.isEmpty());

        Publishing blank(QStringLiteral("   "), QStringLiteral("  "));
        QCOMPARE(blank.session.userAccount, QString());
        QVERIFY(!blank.session.siteNameSet);
        QCOMPARE(blank.edit("txt_webName")->text(), QString());
    }

    void noSettingsRowClosesTheWindow()
    {
        TestAppDir app;
        RecordingDialogService dlg;
        ProgramParts parts;
        MDIFrm frame(app.path(), dlg, programWindows(parts));
        frame.conn().run("DELETE FROM user_info");
        dlg.clear();
        QPointer<QObject> up = frame.showWindow("updataFrm");
        QVERIFY(up);
        QVERIFY(dlg.lastIs("获得序列号出错！", "警告", MsgIcon::Critical));
        QTRY_VERIFY(!up);
    }

    void typedAccountIsStoredUsedAndRefused()
    {
        Publishing p;
        QVERIFY(p.connectToPeer());
        QVERIFY(p.peer.waitFor("<#getversion#>3.05"));
        QVERIFY(!p.button("cmd_connSever")->isEnabled());
        QVERIFY(p.button("cmd_disconn")->isEnabled());
        p.button("cmd_disconn")->click();
        QVERIFY(p.peer.waitClosed());

        p.edit("txt_serial")->setText(QStringLiteral("20002"));
        p.edit("txt_pwd")->setText(QStringLiteral("pw"));
        QVERIFY(p.connectToPeer());
        QVERIFY(p.peer.waitFor("<#login#>20002||pw"));
        QCOMPARE(p.userInfo("serial"), QStringLiteral("20002"));

        // Refused: told, shown in the status bar, and the connection closed for another try.
        p.dlg.clear();
        p.peer.reply(QStringLiteral("<#logout#>"));
        QTRY_VERIFY(!p.dlg.shown.isEmpty());
        QVERIFY(p.dlg.lastIs("系列号或密码不对,重新登陆！", "提示", MsgIcon::Critical));
        QCOMPARE(p.up->panelText(1), QStringLiteral("登陆服务器失败！"));
        QVERIFY(p.button("cmd_connSever")->isEnabled());
        QVERIFY(p.peer.waitClosed());
    }

    void siteNameInput()
    {
        Publishing p;
        QLineEdit* name = p.edit("txt_webName");
        QTest::keyClicks(name, QStringLiteral("ab-c"));
        QCOMPARE(name->text(), QStringLiteral("abc"));
        QVERIFY(p.dlg.lastIs("站点名只能输入英文字符或数字！", "提示", MsgIcon::Warning));
        QVERIFY(p.button("cmd_changeWebName")->isEnabled());
        name->clear();
        QVERIFY(!p.button("cmd_changeWebName")->isEnabled());
        // Claiming while not logged in is refused before anything is sent.
        QVERIFY(p.connectToPeer());
        name->setText(QStringLiteral("abc"));
        p.button("cmd_changeWebName")->click();
        QVERIFY(p.dlg.lastIs("还没登陆服务器！", "警告", MsgIcon::Critical));
        p.peer.reply(QStringLiteral("<#modPwd#>"));
        QVERIFY(QTest::qWaitFor([&] { return p.dlg.last().text == QStringLiteral("密码修改成功！"); }, 5000));
        QVERIFY(!p.peer.received.contains("<#siteName#>"));
    }

    void passwordChange()
    {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.login());
        p.edit("txt_newpwd")->setText(QStringLiteral("new1  "));
        p.edit("txt_cpwd")->setText(QStringLiteral("new"));
        QVERIFY(!p.button("cmd_modPwd")->isEnabled());
        p.edit("txt_cpwd")->setText(QStringLiteral("new1"));
        p.button("cmd_modPwd")->click();
        QVERIFY(p.peer.waitFor("<#modPwd#>new1  "));
        QVERIFY(!p.button("cmd_modPwd")->isEnabled());
        QVERIFY(p.edit("txt_newpwd")->text().isEmpty() && p.edit("txt_cpwd")->text().isEmpty());
    }

    // Closing the window mid-upload ends the upload: chat works again, and a new window can upload.
    void closingMidUploadEndsTheUpload()
    {
        Publishing p(QStringLiteral("10001"), QStringLiteral("mysite"));
        writeFile(p.app.workPath() + "big.jpg", QByteArray(48 * 1024 * 1024, 'b'));
        QVERIFY(p.login());
        p.button("cmd_updata")->click();
        QVERIFY(p.peer.waitFor("<#sendFileInfo#>"));
        p.peer.readAll = false;
        p.peer.reply(QStringLiteral("<#sendFileInfo#>"));
        QVERIFY(QTest::qWaitFor([&] { return p.control<QProgressBar>("ccprg")->value() > 0; }, 10000));
        p.frame.unloadWindow(QStringLiteral("updataFrm"));
        QVERIFY(!p.up);
        QVERIFY(!p.session.uploading);
        QVERIFY(p.peer.waitClosed());
        QVERIFY(p.session.loggedIn); // the session flags outlive the window ...

        QObject* chat = p.frame.showWindow(QStringLiteral("dlgFrm"));
        p.control<QPlainTextEdit>("txt_msg", chat)->setPlainText(QStringLiteral("hi"));
        p.control<QPushButton>("OKButton", chat)->click();
        QCOMPARE(p.dlg.last().text, QStringLiteral("还没和服务器建立连接"));

        p.up = qobject_cast<updataFrm*>(p.frame.showWindow(QStringLiteral("updataFrm")));
        QVERIFY(!p.session.loggedIn); // ... until it loads again
        QVERIFY(p.button("cmd_updata")->isEnabled());
    }

    // The preview renders the workspace into a folder of its own, shows its home
    // page, renders afresh on "刷新", and a failed rendering is reported.
    void previewWebsite()
    {
        Publishing p;
        p.frame.conn().run(QStringLiteral("UPDATE user_info SET Tel=?"), {"010-5551234"});
        const QStringList workspace = listing(p.app.workPath());
        p.button("cmd_siteView")->click();
        auto* view = p.up->findChild<siteViewFrm*>(QStringLiteral("siteViewFrm"));
        QVERIFY(view && view->isWindow());
        QVERIFY(renderedAndLoaded(view));
        const QString home = view->pane()->url().toLocalFile();
        QVERIFY2(readFile(home).contains("010-5551234"), qPrintable(home));
        p.control<QPushButton>("cmd_refresh", view)->click();
        QVERIFY(renderedAndLoaded(view));
        QVERIFY(view->pane()->url().toLocalFile() != home && !QFileInfo::exists(home));
        QCOMPARE(listing(p.app.workPath()), workspace);

        writeFile(p.app.workPath() + "govbuilder.sbd", "not a database");
        p.control<QPushButton>("cmd_refresh", view)->click();
        QVERIFY(renderedAndLoaded(view, false));
        QVERIFY(p.dlg.last().text.startsWith(QStringLiteral("生成网站失败：")));
    }

    // Every chat text is shown, in order, however quickly they follow each other.
    void chatTextsWaitForThePage()
    {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.login());
        p.peer.reply(QStringLiteral("<#talkmsg#>first"));
        QVERIFY(QTest::qWaitFor([&] { return p.frame.loadedWindow("dlgFrm"); }, 5000));
        QObject* chat = p.frame.loadedWindow("dlgFrm");
        // A second text before the page is ready; the box that follows it marks its arrival.
        p.peer.reply(QStringLiteral("<#talkmsg#>您好<img src=x onerror=alert(1)>"));
        p.peer.reply(QStringLiteral("<#modPwd#>"));
        QVERIFY(QTest::qWaitFor([&] { return p.dlg.last().text == QStringLiteral("密码修改成功！"); }, 5000));
        QCOMPARE(shownLog(chat), QString());
        pageReady(chat);
        QString shown = shownLog(chat);
        QVERIFY(shown.endsWith("<font size=2>first</font><br>"));
        QVERIFY(shown.contains("<font size=2>您好</font><br>"));
        QVERIFY(shown.indexOf("您好") < shown.indexOf("first"));
        // Once ready, a text shows at once, above the older ones.
        p.peer.reply(QStringLiteral("<#talkmsg#>third"));
        QVERIFY(QTest::qWaitFor([&] { return shownLog(chat).contains("third"); }, 5000));
        shown = shownLog(chat);
        QVERIFY(shown.indexOf("third") < shown.indexOf("您好"));
    }

    void chatSending()
    {
        Publishing p(QStringLiteral("10001"));
        QVERIFY(p.login());
        QObject* chat = p.frame.showWindow("dlgFrm");
        auto* text = p.control<QPlainTextEdit>("txt_msg", chat);
        text->setPlainText(QString(128, QLatin1Char('x')));
        p.control<QPushButton>("OKButton", chat)->click();
        QCOMPARE(p.dlg.last().text, QStringLiteral("最大字符两位128"));

        p.peer.received.clear();
        text->setPlainText(QStringLiteral("你'好\n") + QString(123, QLatin1Char('y')));
        p.control<QPushButton>("OKButton", chat)->click();
        const QString encoded = "你&#39;好<br>" + QString(123, QLatin1Char('y'));
        QVERIFY(p.peer.waitFor("<#talkmsg#>\xc4\xe3&#39;"));
        QVERIFY(p.peer.waitFor(Protocol::toWire("<#talkmsg#>" + encoded)));
        QVERIFY(text->toPlainText().isEmpty());
        QVERIFY(shownLog(chat).startsWith("<font color=red size=2><b>客户端(我的发言)</b></font>"));

        // Ctrl+Enter sends, without leaving a line break behind.
        p.peer.received.clear();
        text->setPlainText("ctrl");
        QTest::keyClick(text, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(p.peer.waitFor("<#talkmsg#>ctrl"));
        QVERIFY(text->toPlainText().isEmpty());
    }

    void announcement()
    {
        Publishing p(QStringLiteral("10001"));
        p.frame.conn().run("UPDATE user_info SET field06=?",
                           {"1||" + QDate::currentDate().addDays(-14).toString("yyyy/M/d")});
        QVERIFY(p.login());
        p.peer.reply(QStringLiteral("<#getversion#><b>3.06 已发布</b>"));
        QVERIFY(QTest::qWaitFor([&] { return p.frame.loadedWindow("verFrm"); }, 5000));
        QObject* notice = p.frame.loadedWindow("verFrm");
        pageReady(notice);
        QVERIFY(shownLog(notice).endsWith("<font size=2><b>3.06 已发布</b></font><br>"));

        // "不再显示" writes the setting, and unticking writes it back.
        auto* box = p.control<QCheckBox>("chk_ver", notice);
        QVERIFY(!box->isChecked());
        box->click();
        QCOMPARE(p.userInfo("field06"), "1||" + QDate::currentDate().toString("yyyy/M/d"));
        box->click();
        QCOMPARE(p.userInfo("field06"), "0||" + QDate::currentDate().toString("yyyy/M/d"));
    }
};

WEBLARK_TEST_MAIN(TestUpdataFrm)
#include "test_updatafrm.moc"
