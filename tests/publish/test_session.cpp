#include "TestAppDir.h"
#include "TestMain.h"
#include "data/SiteDb.h"
#include "publish/ChatHtml.h"
#include "publish/PublishSession.h"

using namespace PublishRules;
using Protocol::Tag;

Q_DECLARE_METATYPE(MsgIcon)

static const QDate kToday(2026, 12, 6);

class TestSession : public QObject {
    Q_OBJECT
    TestAppDir app;
    SiteDb db{QStringLiteral("session-test")};

    QString userInfo(const QString& column) { return fieldText(db.selectUserInfo().first(), column); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(app.isValid());
        QVERIFY(db.open(app.workPath()));
    }

    // Each server message: its boxes, the session it leaves and what the window must do.
    void reactions_data()
    {
        QTest::addColumn<QString>("received");
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("boxTitle");
        QTest::addColumn<MsgIcon>("boxIcon");
        QTest::addColumn<QString>("panel1");
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<bool>("siteNameSet");
        QTest::addColumn<bool>("uploading");

        // The session starts each row logged out, with a name set and not uploading.
        QTest::newRow("login") << "<#login#>" << int(Tag::Login) << "登陆服务器成功！"
                               << "提示" << MsgIcon::Information << "登陆服务器成功！" << true << true << false;
        QTest::newRow("login wins over a second tag")
            << "<#siteNameExist#><#login#>" << int(Tag::Login) << "登陆服务器成功！"
            << "提示" << MsgIcon::Information << "登陆服务器成功！" << true << true << false;
        QTest::newRow("logout") << "<#logout#>" << int(Tag::Logout) << "系列号或密码不对,重新登陆！"
                                << "提示" << MsgIcon::Critical << "登陆服务器失败！" << false << true << false;
        QTest::newRow("site name taken") << "<#siteNameExist#>" << int(Tag::SiteNameExist) << "站点名已存在，重新输入！"
                                         << "提示" << MsgIcon::Information << "" << false << false << false;
        QTest::newRow("password") << "<#modPwd#>" << int(Tag::ModPwd) << "密码修改成功！"
                                  << "提示" << MsgIcon::Information << "" << false << true << false;
        QTest::newRow("template") << "<#selectTemplate#>" << int(Tag::SelectTemplate) << "模板选择错误，请重新选择！"
                                  << "提示" << MsgIcon::Critical << "" << false << true << false;
        QTest::newRow("system message") << "<#systemmsg#>SERVER<br>MAINTENANCE" << int(Tag::SystemMsg)
                                        << "server\r\nmaintenance"
                                        << "系统信息" << MsgIcon::Information << "" << false << true << false;
        QTest::newRow("error") << "<#errMsg#>" << int(Tag::ErrMsg)
                               << "与服务器连接出现障碍，请重试！\r\n如还有问题请拨打技术热线电话：" + supportPhone()
                               << "提示" << MsgIcon::Information << "" << false << true << false;
        QTest::newRow("send file") << "<#sendFileInfo#>" << int(Tag::SendFileInfo) << ""
                                   << "" << MsgIcon::None << "" << false << true << true;
        QTest::newRow("no tag") << "<#hello#>" << int(Tag::None) << ""
                                << "" << MsgIcon::None << "" << false << true << false;
    }
    void reactions()
    {
        QFETCH(QString, received);
        QFETCH(int, tag);
        QFETCH(QString, boxText);
        QFETCH(QString, boxTitle);
        QFETCH(MsgIcon, boxIcon);
        QFETCH(QString, panel1);
        QFETCH(bool, loggedIn);
        QFETCH(bool, siteNameSet);
        QFETCH(bool, uploading);

        PublishSession s;
        s.siteNameSet = true;
        const ServerReaction r = reactToServerMessage(received, s, db, QStringLiteral("abc"), kToday);
        QCOMPARE(int(r.tag), tag);
        if (boxText.isEmpty()) {
            QVERIFY(r.boxes.isEmpty());
        } else {
            QCOMPARE(r.boxes.size(), 1);
            QCOMPARE(r.boxes.first().text, boxText);
            QCOMPARE(r.boxes.first().title, boxTitle);
            QCOMPARE(r.boxes.first().icon, boxIcon);
        }
        QCOMPARE(r.panel1, panel1);
        QCOMPARE(s.loggedIn, loggedIn);
        QCOMPARE(s.siteNameSet, siteNameSet);
        QCOMPARE(s.uploading, uploading);
        QCOMPARE(r.closeSocket, tag == int(Tag::Logout));
        QCOMPARE(r.enableConnect, tag == int(Tag::Logout));
        QCOMPARE(r.startVersionTimer, tag == int(Tag::Login));
        QCOMPARE(r.restoreWebName, tag == int(Tag::SiteNameExist));
        QCOMPARE(r.sendArchive, tag == int(Tag::SendFileInfo));
    }

    void siteNameAcceptedIsStored()
    {
        PublishSession s;
        s.confirmedSiteName = QStringLiteral("old1");
        const ServerReaction r =
            reactToServerMessage(QStringLiteral("<#siteName#>"), s, db, QStringLiteral("new2"), kToday);
        QCOMPARE(r.boxes.first().text, QStringLiteral("站点名更改成功！"));
        QVERIFY(r.startIdleWatchdog && r.disableChangeWebName);
        QVERIFY(s.siteNameSet);
        QCOMPARE(s.confirmedSiteName, QStringLiteral("new2"));
        QCOMPARE(userInfo(QStringLiteral("site_name")), QStringLiteral("new2"));

        // A name that could break a statement is stored as it is.
        reactToServerMessage(QStringLiteral("<#siteName#>"), s, db, QStringLiteral("a'b"), kToday);
        QCOMPARE(userInfo(QStringLiteral("site_name")), QStringLiteral("a'b"));
    }

    void siteNameWithBrokenDatabaseKeepsState()
    {
        SiteDb broken(QStringLiteral("broken"));
        PublishSession s;
        s.confirmedSiteName = QStringLiteral("old1");
        const ServerReaction r =
            reactToServerMessage(QStringLiteral("<#siteName#>"), s, broken, QStringLiteral("x"), kToday);
        QCOMPARE(r.boxes.size(), 1);
        QCOMPARE(r.boxes.first().title, QStringLiteral("提示"));
        QVERIFY(!r.boxes.first().text.isEmpty());
        QVERIFY(!s.siteNameSet);
        QVERIFY(!r.startIdleWatchdog);
        QCOMPARE(s.confirmedSiteName, QStringLiteral("old1"));
    }

    void announcement_data()
    {
        QTest::addColumn<QString>("field06");
        QTest::addColumn<int>("decision");
        const auto d = [](int daysAgo) { return kToday.addDays(-daysAgo).toString("yyyy/M/d"); };
        QTest::newRow("hidden 13 days ago") << "1||" + d(13) << int(NoticeDecision::Hide);
        QTest::newRow("hidden 14 days ago") << "1||" + d(14) << int(NoticeDecision::Show);
        QTest::newRow("flag 0 today") << "0||" + d(0) << int(NoticeDecision::Show);
        QTest::newRow("iso date 13") << "1||" + kToday.addDays(-13).toString("yyyy-MM-dd") << int(NoticeDecision::Hide);
        QTest::newRow("padded short date") << "1||2026/12/01" << int(NoticeDecision::Hide);
        QTest::newRow("future date") << "1||2027/1/1" << int(NoticeDecision::Hide);
        QTest::newRow("empty") << "" << int(NoticeDecision::Unreadable);
        QTest::newRow("flag not a number") << "x||2026/12/1" << int(NoticeDecision::Unreadable);
        QTest::newRow("impossible date") << "1||2026/2/30" << int(NoticeDecision::Unreadable);
    }
    void announcement()
    {
        QFETCH(QString, field06);
        QFETCH(int, decision);
        QCOMPARE(int(announcementDecision(field06, kToday)), decision);
    }

    void versionReplyFollowsTheSetting_data()
    {
        QTest::addColumn<QString>("field06");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("boxes");
        QTest::newRow("13 days") << noticeSetting(true, kToday.addDays(-13)) << false << 0;
        QTest::newRow("14 days") << noticeSetting(true, kToday.addDays(-14)) << true << 0;
        QTest::newRow("unreadable") << "garbage" << true << 1;
        QTest::newRow("null") << QString() << true << 1;
    }
    void versionReplyFollowsTheSetting()
    {
        QFETCH(QString, field06);
        QFETCH(bool, shown);
        QFETCH(int, boxes);
        QVERIFY(db.run("UPDATE user_info SET field06=?", {field06.isNull() ? QVariant() : QVariant(field06)}).ok);
        PublishSession s;
        const ServerReaction r =
            reactToServerMessage(QStringLiteral("<#getversion#><b>新版本</b>"), s, db, QString(), kToday);
        QCOMPARE(r.page == ServerReaction::Page::Announcement, shown);
        if (shown)
            QCOMPARE(r.pageText, QStringLiteral("<b>新版本</b>"));
        QCOMPARE(r.boxes.size(), boxes);
        if (boxes)
            QCOMPARE(r.boxes.first().title, QStringLiteral("提示"));
    }

    void hostileServerText()
    {
        // Not GB18030, empty, and several megabytes: handled without a crash.
        PublishSession s;
        QByteArray junk(3 * 1024 * 1024, '\x81');
        junk.prepend("<#talkmsg#>");
        const ServerReaction big = reactToServerMessage(Protocol::fromWire(junk), s, db, QString(), kToday);
        QCOMPARE(int(big.tag), int(Tag::TalkMsg));
        QVERIFY(big.pageText.size() < kMaxPageChars + 100);
        QVERIFY(big.pageText.endsWith("……（消息过长，其余部分未显示）"));
        const ServerReaction notice = reactToServerMessage("<#systemmsg#>" + QString(2 * 1024 * 1024, QLatin1Char('N')),
                                                           s, db, QString(), kToday);
        QCOMPARE(notice.boxes.first().text.left(3), QStringLiteral("nnn"));
        QVERIFY(notice.boxes.first().text.size() < kMaxBoxChars + 100);
        QVERIFY(reactToServerMessage(Protocol::fromWire(QByteArray()), s, db, QString(), kToday).ignored());
        QString manyTags;
        for (int i = 0; i < 200000; ++i)
            manyTags += QStringLiteral("<a x='");
        QVERIFY(!ChatHtml::sanitize(manyTags).contains("x="));
        QCOMPARE(ChatHtml::sanitize(QString(2 * 1024 * 1024, QLatin1Char('<'))).size(), 2 * 1024 * 1024 * 4);
    }

    void siteNameFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("kept");
        QTest::newRow("letters and digits") << "Abc09z" << 6;
        QTest::newRow("hyphen") << "ab-c" << 2;
        QTest::newRow("chinese first") << "中ab" << 0;
        QTest::newRow("blank") << "ab c" << 2;
        QTest::newRow("full-width digit") << "a１" << 1;
        QTest::newRow("empty") << "" << 0;
    }
    void siteNameFilter()
    {
        QFETCH(QString, typed);
        QFETCH(int, kept);
        QCOMPARE(allowedSiteNameLength(typed), kept);
    }

    void passwordPair_data()
    {
        QTest::addColumn<QString>("newPwd");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<bool>("enabled");
        const auto row = [](const char* name, const char* newPwd, const char* confirm, bool enabled) {
            QTest::newRow(name) << QString::fromUtf8(newPwd) << QString::fromUtf8(confirm) << enabled;
        };
        row("same", "abc", "abc", true);
        row("trailing blanks in new", "abc  ", "abc", true);
        row("trailing blanks in confirmation", "abc", "abc ", false);
        row("different", "abc", "abd", false);
        row("blank new", "   ", "", false);
    }
    void passwordPair()
    {
        QFETCH(QString, newPwd);
        QFETCH(QString, confirm);
        QFETCH(bool, enabled);
        QCOMPARE(passwordPairMatches(newPwd, confirm), enabled);
    }

    void chatRefusals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("uploading");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("127 characters") << QString(127, QChar(0x4f60)) << false << "";
        QTest::newRow("128 characters") << QString(128, QLatin1Char('a')) << false << "最大字符两位128";
        QTest::newRow("empty") << "" << false << "请输入要发送的消息！";
        QTest::newRow("empty while uploading") << "" << true << "请输入要发送的消息！";
        QTest::newRow("uploading") << "hi" << true << "正在上传数据不能，不能发送消息！";
    }
    void chatRefusals()
    {
        QFETCH(QString, text);
        QFETCH(bool, uploading);
        QFETCH(QString, refusal);
        QCOMPARE(chatRefusal(text, uploading), refusal);
    }

    // Hostile HTML from the server: only the allowed formatting survives.
    void sanitize_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* html, const char* expected) {
            QTest::newRow(name) << QString::fromUtf8(html) << QString::fromUtf8(expected);
        };
        row("formatting kept", "<b>粗</b><font color=red size=2>红</font><br>",
            "<b>粗</b><font color=\"red\" size=\"2\">红</font><br>");
        row("paragraph with alignment, style dropped", "<P style=\"color:red\" align=center>p</P>",
            "<p align=\"center\">p</p>");
        row("script dropped with content", "a<script>alert(1)</script>b", "ab");
        row("unclosed script", "a<script>alert(1)", "a");
        row("iframe", "<iframe src=\"http://x\">t</iframe>ok", "ok");
        row("object and embed", "<object data=x><param name=a></object><embed src=x.swf>z", "z");
        row("unknown elements keep their text", "<table><tr><td>格</td></tr></table><marquee>m</marquee>", "格m");
        row("web picture, handler dropped", "<IMG SRC='https://a.cn/p.png' width=10 onerror=\"alert(1)\">",
            "<img src=\"https://a.cn/p.png\" width=\"10\">");
        row("picture without a web address", "<img src=x onerror=alert(1)>t", "t");
        row("slash separated", "<img/src=http://a.cn/x/onerror=alert(1)>",
            "<img src=\"http://a.cn/x/onerror=alert(1)\">");
        row("web link, target dropped", "<a href=\"http://a.cn/?q=1&amp;r=2\" target=_blank>x</a>",
            "<a href=\"http://a.cn/?q=1&amp;r=2\">x</a>");
        row("javascript link", "<a href=' JaVa\tScRiPt:alert(1)'>x</a>", "<a>x</a>");
        row("entity-encoded scheme", "<a href=\"&#104;ttp://a.cn\">x</a>", "<a>x</a>");
        row("relative link", "<a href=\"/admin\">x</a>", "<a>x</a>");
        row("split tag cannot reassemble", "<scr<script>x</script>ipt>alert(1)</script>", "xipt&gt;alert(1)");
        row("stray brackets", "1 < 2 > 0", "1 &lt; 2 &gt; 0");
        row("comment", "a<!-- <script>x</script> -->b", "ab");
        row("meta refresh", "<meta http-equiv=refresh content='0;url=javascript:x'>t", "t");
        row("quote breaking value", "<font face='a\"onclick=\"x'>p</font>",
            "<font face=\"a&quot;onclick=&quot;x\">p</font>");
        row("unfinished tag", "ok<b onclick=alert(1)", "ok");
        row("nbsp kept", "a&nbsp;b", "a&nbsp;b");
    }
    void sanitize()
    {
        QFETCH(QString, html);
        QFETCH(QString, expected);
        QCOMPARE(ChatHtml::sanitize(html), expected);
    }

    void chatEntry()
    {
        const QDateTime when(QDate(2026, 5, 4), QTime(9, 8, 7));
        QCOMPARE(ChatHtml::entry("server", "您好<script>x</script>", when),
                 QStringLiteral("<font color=blue size=2><b>服务器(管理员)</b></font>(<i>2026/5/4 9:08:07</i>)<br>"
                                "<font size=2>您好</font><br>"));
        QCOMPARE(ChatHtml::entry("客户端(我的发言)", "a&nbsp;b", when),
                 QStringLiteral("<font color=red size=2><b>客户端(我的发言)</b></font>(<i>2026/5/4 9:08:07</i>)<br>"
                                "<font size=2>a&nbsp;b</font><br>"));
    }
};

WEBLARK_TEST_MAIN(TestSession)
#include "test_session.moc"
