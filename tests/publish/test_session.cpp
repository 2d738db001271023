#include "TestAppDir.h"
#include "TestMain.h"
#include "data/SiteDb.h"
#include "publish/ChatHtml.h"
#include "publish/MessageFramer.h"
#include "publish/PublishSession.h"
#include "publish/SyncManifest.h"

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

    // How each end cuts its stream into messages, step by step on a made-up clock:
    // "@T bytes" arrives at T ms, "@T" is a tick with nothing new. Each message is
    // shown with the time it came out; "skip N" counts bytes thrown away before a
    // tag, "overflow" a message past the limit, "rest" what stays for raw data.
    void framing_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<QList<QByteArray>>("steps");
        QTest::addColumn<QStringList>("out");
        const auto row = [](const char* name, bool server, QList<QByteArray> steps, QStringList out, int max = 0) {
            QTest::newRow(name) << server << max << steps << out;
        };
        row("one message in two pieces ends at the gap", true, {"@0 <#siteNa", "@10 me#>split1", "@59", "@60"},
            {"60 <#siteName#>split1"});
        row("the gap restarts with every piece", true, {"@0 <#modPwd#>a", "@40 b", "@60", "@90"}, {"90 <#modPwd#>ab"});
        row("a version query ends where the next tag starts", true, {"@0 <#getversion#>3.05<#siteName#>a", "@50"},
            {"0 <#getversion#>3.05", "50 <#siteName#>a"});
        row("a login quoting a tag runs to the gap", true, {"@0 <#login#>1||<#modPwd#>x<#siteName#>y", "@50"},
            {"50 <#login#>1||<#modPwd#>x<#siteName#>y"});
        row("a chat line quoting a tag stays one", true, {"@0 <#talkmsg#>what <#getversion#>?", "@50"},
            {"50 <#talkmsg#>what <#getversion#>?"});
        row("bytes before a tag are skipped", true, {"@0 hello \x01<#getversion#>3.05", "@50"},
            {"skip 7", "50 <#getversion#>3.05"});
        row("bytes without a tag wait for the gap", true, {"@0 \xff\xfe<#siteN", "@49", "@50"}, {"skip 9"});
        row("a character split across reads is whole", true,
            {"@0 <#talkmsg#>\xc4", "@1 \xfa\x95\x32", "@2 \x82\x36", "@52"}, {"52 <#talkmsg#>您𠀀"});
        row("server tags mean nothing to the server", true, {"@0 <#login#>a<#errMsg#>", "@50"},
            {"50 <#login#>a<#errMsg#>"});
        row("a message past the limit is dropped", true, {"@0 <#talkmsg#>0123", "@1 456789"}, {"overflow"}, 20);
        row("bytes without a tag past the limit too", true, {"@0 012345678901234567890"}, {"overflow"}, 20);
        row("what follows a length announcement is left raw", true, {"@0 <#sendFileInfo#>9<#login#>PK\x03"},
            {"0 <#sendFileInfo#>9", "rest <#login#>PK\x03"});
        row("a sync manifest ends where the next tag starts", true,
            {"@0 <#syncManifest#>1\na%3C%23b 1 ff\n<#sendFileInfo#>9", "@50"},
            {"0 <#syncManifest#>1\na%3C%23b 1 ff\n", "50 <#sendFileInfo#>9"});
        row("client: a sync answer is a reply of its own", false, {"@0 <#syncNeed#>a.jpg\n<#errMsg#>", "@50"},
            {"0 <#syncNeed#>a.jpg\n", "50 <#errMsg#>"});
        row("client: every reply ends at the next one", false, {"@0 <#modPwd#><#systemmsg#>A<#login#>", "@50"},
            {"0 <#modPwd#>", "0 <#systemmsg#>A", "50 <#login#>"});
        row("client: junk before the first reply", false, {"@0 \xff\x81junk<#modPwd#>", "@50"},
            {"skip 6", "50 <#modPwd#>"});
        row("client: a reply past the limit is handled at once", false, {"@0 <#systemmsg#>0123456789"},
            {"0 <#systemmsg#>0123456789"}, 20);
    }
    void framing()
    {
        QFETCH(bool, server);
        QFETCH(int, maxBytes);
        QFETCH(QList<QByteArray>, steps);
        QFETCH(QStringList, out);
        MessageFramer::Rules rules = server ? MessageFramer::serverSide() : MessageFramer::clientSide();
        if (maxBytes)
            rules.maxBytes = maxBytes;
        MessageFramer framer(rules);
        QStringList got;
        for (const QByteArray& step : steps) {
            const qsizetype blank = step.indexOf(' ');
            const qint64 at = step.mid(1, blank < 0 ? -1 : blank - 1).toLongLong();
            const auto messages = blank < 0 ? framer.tick(at) : framer.feed(step.mid(blank + 1), at);
            if (const qsizetype skipped = framer.takeSkipped())
                got << QStringLiteral("skip %1").arg(skipped);
            for (const MessageFramer::Message& m : messages) {
                QVERIFY(m.text.startsWith(Protocol::tagText(m.tag)));
                got << QStringLiteral("%1 %2").arg(at).arg(m.text);
            }
            if (framer.overflowed())
                got << QStringLiteral("overflow");
        }
        const QByteArray rest = framer.takeBuffered();
        if (!rest.isEmpty())
            got << "rest " + QString::fromLatin1(rest);
        QCOMPARE(got, out);
    }

    // A manifest as it travels: what is read comes back the same, and one hostile
    // or malformed line refuses the whole manifest.
    void manifestCodec_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("read");
        const QByteArray hash = SyncManifest::hashText(QByteArray(SyncManifest::kHashBytes, '\xfb'));
        const auto line = [&](const QByteArray& path, const QByteArray& size = "1") {
            return path + ' ' + size + ' ' + hash + '\n';
        };
        QByteArray tooMany = "1\n";
        for (int i = 0; i <= SyncManifest::kMaxEntries; ++i)
            tooMany += line("p" + QByteArray::number(i));
        QTest::newRow("empty") << QByteArray("1\n") << true;
        QTest::newRow("names as published")
            << "1\n" + line("govbuilder.sbd") + line("images/%E6%96%B0%20a%3C%23%25.jpg") << true;
        const QList<QPair<const char*, QByteArray>> refused = {
            {"parent", line("..")},
            {"up from images", line("images/..")},
            {"out through images", line("images/../x")},
            {"encoded way out", line("images%2F..%2F..%2Fx")},
            {"absolute", line("/etc/passwd")},
            {"deeper folder", line("images/a/b")},
            {"other folder", line("sub/x")},
            {"backslashes", line("images/..%5C..%5Cx")},
            {"drive letter", line("C%3Ax")},
            {"NUL", line("a%00b")},
            {"the manifest itself", line(".weblark-sync-manifest")},
            {"a path twice", line("a") + line("a")},
            {"negative size", line("a", "-1")},
            {"size with a sign", line("a", "+1")},
            {"short hash", "1\na 1 abc\n"},
            {"hash padded", line("a").replace(hash, hash + "==")},
            {"no final line break", "1\na 1 " + hash},
            {"too many entries", tooMany},
        };
        for (const auto& [name, payload] : refused)
            QTest::newRow(name) << "1\n" + payload.mid(payload.startsWith("1\n") ? 2 : 0) << false;
        QTest::newRow("no format line") << line("a") << false;
    }
    void manifestCodec()
    {
        QFETCH(QByteArray, payload);
        QFETCH(bool, read);
        SyncManifest::List entries;
        QString error;
        QVERIFY2(SyncManifest::decode(payload, &entries, &error) == read, qPrintable(error));
        if (read)
            QCOMPARE(SyncManifest::encode(entries), payload);
    }

    // Each server message: its box, the session it leaves and what the window must do. The
    // session starts each row logged out, with a name set and not uploading.
    void reactions()
    {
        const QString error = "与服务器连接出现障碍，请重试！\r\n如还有问题请拨打技术热线电话：" + supportPhone();
        const std::tuple<QString, Tag, QString, QString, MsgIcon, QString, bool, bool, bool> rows[] = {
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
        for (const auto& [received, t, box, title, icon, panel1, loggedIn, siteNameSet, uploading] : rows) {
            PublishSession s;
            s.siteNameSet = true;
            const ServerReaction r = reactToServerMessage(received, s, db, QStringLiteral("abc"), kToday);
            QStringList boxes;
            for (const auto& b : r.boxes)
                boxes << b.text + '|' + b.title + '|' + QString::number(int(b.icon));
            const QStringList expectedBoxes =
                box.isEmpty() ? QStringList() : QStringList{box + '|' + title + '|' + QString::number(int(icon))};
            QVERIFY2(r.tag == t && boxes == expectedBoxes && r.panel1 == panel1 && s.loggedIn == loggedIn &&
                         s.siteNameSet == siteNameSet && s.uploading == uploading &&
                         r.closeSocket == (t == Tag::Logout) && r.enableConnect == (t == Tag::Logout) &&
                         r.startVersionTimer == (t == Tag::Login) && r.restoreWebName == (t == Tag::SiteNameExist) &&
                         r.sendArchive == (t == Tag::SendFileInfo),
                     qPrintable(received + " -> " + boxes.join(',')));
        }
    }

    // A name the database cannot store leaves the session as it was; an accepted one
    // is confirmed and stored as it is, even one that could break a statement.
    void siteNameAcceptedIsStored()
    {
        SiteDb broken(QStringLiteral("broken"));
        PublishSession s;
        s.confirmedSiteName = QStringLiteral("old1");
        const ServerReaction failed =
            reactToServerMessage(QStringLiteral("<#siteName#>"), s, broken, QStringLiteral("x"), kToday);
        QCOMPARE(failed.boxes.size(), 1);
        QCOMPARE(failed.boxes.first().title, QStringLiteral("提示"));
        QVERIFY(!failed.boxes.first().text.isEmpty());
        QVERIFY(!s.siteNameSet);
        QVERIFY(!failed.startIdleWatchdog);
        QCOMPARE(s.confirmedSiteName, QStringLiteral("old1"));

        const ServerReaction r =
            reactToServerMessage(QStringLiteral("<#siteName#>"), s, db, QStringLiteral("new2"), kToday);
        QCOMPARE(r.boxes.first().text, QStringLiteral("站点名更改成功！"));
        QVERIFY(r.startIdleWatchdog && r.disableChangeWebName);
        QVERIFY(s.siteNameSet);
        QCOMPARE(s.confirmedSiteName, QStringLiteral("new2"));
        QCOMPARE(userInfo(QStringLiteral("site_name")), QStringLiteral("new2"));
        reactToServerMessage(QStringLiteral("<#siteName#>"), s, db, QStringLiteral("a'b"), kToday);
        QCOMPARE(userInfo(QStringLiteral("site_name")), QStringLiteral("a'b"));
    }

    // The stored "hide the notice" setting (flag||date) -> whether the notice shows
    // today, and a box when the setting cannot be read.
    void versionReplyFollowsTheSetting_data()
    {
        QTest::addColumn<QString>("field06");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("boxes");
        QTest::newRow("13 days") << noticeSetting(true, kToday.addDays(-13)) << false << 0;
        QTest::newRow("14 days") << noticeSetting(true, kToday.addDays(-14)) << true << 0;
        QTest::newRow("not hidden") << noticeSetting(false, kToday) << true << 0;
        QTest::newRow("ISO date") << "1||" + kToday.addDays(-13).toString("yyyy-MM-dd") << false << 0;
        QTest::newRow("padded") << "1||2026/12/01" << false << 0;
        QTest::newRow("in the future") << "1||2027/1/1" << false << 0;
        QTest::newRow("empty") << QStringLiteral("") << true << 1;
        QTest::newRow("flag unreadable") << "x||2026/12/1" << true << 1;
        QTest::newRow("no such day") << "1||2026/2/30" << true << 1;
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
        const QByteArray junk = "<#talkmsg#>" + QByteArray(3 * 1024 * 1024, '\x81');
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
