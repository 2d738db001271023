#include "TestAppDir.h"
#include "TestMain.h"
#include "data/SiteDb.h"
#include "publish/ChatHtml.h"
#include "publish/PublishSession.h"

using namespace PublishRules;
using Protocol::Tag;

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

    // Each server message: its box, the session it leaves and what the window must do. The
    // session starts each row logged out, with a name set and not uploading.
    void reactions()
    {
        const QString error = "与服务器连接出现障碍，请重试！\r\n如还有问题请拨打技术热线电话：" + supportPhone();
        const struct {
            QString received;
            Tag tag;
            QString box, title;
            MsgIcon icon;
            QString panel1;
            bool loggedIn, siteNameSet, uploading;
        } rows[] = {
            {"<#login#>", Tag::Login, "登陆服务器成功！", "提示", MsgIcon::Information, "登陆服务器成功！", 1, 1, 0},
            {"<#siteNameExist#><#login#>", Tag::Login, "登陆服务器成功！", "提示", MsgIcon::Information,
             "登陆服务器成功！", 1, 1, 0}, // login wins over a second tag
            {"<#logout#>", Tag::Logout, "系列号或密码不对,重新登陆！", "提示", MsgIcon::Critical, "登陆服务器失败！", 0,
             1, 0},
            {"<#siteNameExist#>", Tag::SiteNameExist, "站点名已存在，重新输入！", "提示", MsgIcon::Information, "", 0,
             0, 0},
            {"<#modPwd#>", Tag::ModPwd, "密码修改成功！", "提示", MsgIcon::Information, "", 0, 1, 0},
            {"<#selectTemplate#>", Tag::SelectTemplate, "模板选择错误，请重新选择！", "提示", MsgIcon::Critical, "", 0,
             1, 0},
            {"<#systemmsg#>SERVER<br>MAINTENANCE", Tag::SystemMsg, "server\r\nmaintenance", "系统信息",
             MsgIcon::Information, "", 0, 1, 0},
            {"<#errMsg#>", Tag::ErrMsg, error, "提示", MsgIcon::Information, "", 0, 1, 0},
            {"<#sendFileInfo#>", Tag::SendFileInfo, "", "", MsgIcon::None, "", 0, 1, 1},
            {"<#hello#>", Tag::None, "", "", MsgIcon::None, "", 0, 1, 0},
        };
        for (const auto& row : rows) {
            PublishSession s;
            s.siteNameSet = true;
            const ServerReaction r = reactToServerMessage(row.received, s, db, QStringLiteral("abc"), kToday);
            QStringList boxes;
            for (const auto& b : r.boxes)
                boxes << b.text + '|' + b.title + '|' + QString::number(int(b.icon));
            const QStringList expectedBoxes =
                row.box.isEmpty() ? QStringList()
                                  : QStringList{row.box + '|' + row.title + '|' + QString::number(int(row.icon))};
            const Tag t = row.tag;
            QVERIFY2(r.tag == t && boxes == expectedBoxes && r.panel1 == row.panel1 && s.loggedIn == row.loggedIn &&
                         s.siteNameSet == row.siteNameSet && s.uploading == row.uploading &&
                         r.closeSocket == (t == Tag::Logout) && r.enableConnect == (t == Tag::Logout) &&
                         r.startVersionTimer == (t == Tag::Login) && r.restoreWebName == (t == Tag::SiteNameExist) &&
                         r.sendArchive == (t == Tag::SendFileInfo),
                     qPrintable(row.received + " -> " + boxes.join(',')));
        }
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

    // The stored "hide the notice" setting (flag||date) -> the decision today.
    void announcement()
    {
        const auto d = [](int daysAgo) { return kToday.addDays(-daysAgo).toString("yyyy/M/d"); };
        const std::pair<QString, NoticeDecision> cases[] = {
            {"1||" + d(13), NoticeDecision::Hide},
            {"1||" + d(14), NoticeDecision::Show},
            {"0||" + d(0), NoticeDecision::Show},
            {"1||" + kToday.addDays(-13).toString("yyyy-MM-dd"), NoticeDecision::Hide},
            {"1||2026/12/01", NoticeDecision::Hide}, // padded
            {"1||2027/1/1", NoticeDecision::Hide},   // in the future
            {"", NoticeDecision::Unreadable},
            {"x||2026/12/1", NoticeDecision::Unreadable},
            {"1||2026/2/30", NoticeDecision::Unreadable},
        };
        for (const auto& [field06, decision] : cases)
            QVERIFY2(announcementDecision(field06, kToday) == decision, qPrintable(field06));
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

    void siteNameFilterPasswordPairAndChatRefusals()
    {
        // Typed site name -> how many leading characters are kept.
        const std::pair<const char*, int> names[] = {{"Abc09z", 6}, {"ab-c", 2}, {"中ab", 0},
                                                     {"ab c", 2},   {"a１", 1},  {"", 0}};
        for (const auto& [typed, kept] : names)
            QVERIFY2(allowedSiteNameLength(QString::fromUtf8(typed)) == kept, typed);
        // New password and confirmation -> may be sent: trailing blanks count only in the confirmation.
        const std::tuple<const char*, const char*, bool> pairs[] = {{"abc", "abc", true},
                                                                    {"abc  ", "abc", true},
                                                                    {"abc", "abc ", false},
                                                                    {"abc", "abd", false},
                                                                    {"   ", "", false}};
        for (const auto& [newPwd, confirm, enabled] : pairs)
            QVERIFY2(passwordPairMatches(newPwd, confirm) == enabled, newPwd);
        const std::tuple<QString, bool, QString> chats[] = {
            {QString(127, QChar(0x4f60)), false, ""},
            {QString(128, QLatin1Char('a')), false, "最大字符两位128"},
            {"", false, "请输入要发送的消息！"},
            {"", true, "请输入要发送的消息！"},
            {"hi", true, "正在上传数据不能，不能发送消息！"},
        };
        for (const auto& [text, uploading, refusal] : chats)
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
