#include "TestMain.h"
#include "publish/Protocol.h"

using namespace Protocol;

class TestProtocol : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dispatchOrder_data()
    {
        QTest::addColumn<QString>("received");
        QTest::addColumn<int>("tag");
        QTest::newRow("login wins over others") << "<#siteName#><#login#>" << int(Tag::Login);
        QTest::newRow("siteNameExist is not siteName") << "<#siteNameExist#>" << int(Tag::SiteNameExist);
        QTest::newRow("anywhere in the text") << "xx<#modPwd#>yy" << int(Tag::ModPwd);
        QTest::newRow("talk before version") << "<#getversion#>a<#talkmsg#>b" << int(Tag::TalkMsg);
        QTest::newRow("err last") << "<#errMsg#><#sendFileInfo#>" << int(Tag::SendFileInfo);
        QTest::newRow("none") << "hello <#unknown#>" << int(Tag::None);
        QTest::newRow("empty") << "" << int(Tag::None);
        QTest::newRow("case matters") << "<#LOGIN#>" << int(Tag::None);
    }
    void dispatchOrder()
    {
        QFETCH(QString, received);
        QFETCH(int, tag);
        QCOMPARE(int(classifyServerMessage(received)), tag);
    }

    void clientMessages()
    {
        QCOMPARE(loginMessage("10001", "531946"), QStringLiteral("<#login#>10001||531946"));
        QCOMPARE(versionQuery(), QStringLiteral("<#getversion#>3.05"));
        QCOMPARE(siteNameMessage("abc1"), QStringLiteral("<#siteName#>abc1"));
        QCOMPARE(modPwdMessage("new pw "), QStringLiteral("<#modPwd#>new pw "));
        QCOMPARE(sendFileInfoMessage(0), QStringLiteral("<#sendFileInfo#>0"));
        QCOMPARE(talkMessage("a&nbsp;b"), QStringLiteral("<#talkmsg#>a&nbsp;b"));
        QString a, p;
        QVERIFY(splitLogin("10001||pw||x", &a, &p));
        QCOMPARE(a, QStringLiteral("10001"));
        QCOMPARE(p, QStringLiteral("pw||x"));
        QVERIFY(!splitLogin("nosep", &a, &p));
        QCOMPARE(int(classifyClientMessage("<#talkmsg#>see <#login#>")), int(Tag::TalkMsg));
    }

    void systemText()
    {
        QCOMPARE(systemMessageText("<#systemmsg#>HELLO<br>WORLD 你好"), QStringLiteral("hello\r\nworld 你好"));
    }

    void wireRoundTrip()
    {
        const QString text = QStringLiteral("<#talkmsg#>您好，网站𠀀 ok");
        const QByteArray wire = toWire(text);
        QCOMPARE(wire.left(11), QByteArray("<#talkmsg#>"));
        QCOMPARE(wire.mid(11, 4), QByteArray("\xc4\xfa\xba\xc3")); // GBK bytes of 您好
        QCOMPARE(fromWire(wire), text);
        // Garbage never throws and keeps the readable part.
        const QString bad = fromWire(QByteArray("<#login#>\xff\xff\x81", 12));
        QVERIFY(bad.startsWith("<#login#>"));
        QCOMPARE(int(classifyServerMessage(bad)), int(Tag::Login));
    }
};

WEBLARK_TEST_MAIN(TestProtocol)
#include "test_protocol.moc"
