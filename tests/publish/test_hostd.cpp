// The reference hosting server over loopback: replies, accounts and site names,
// publishing, options. The client's side of a publish is in test_publish_hostd.
#include "AtomicFile.h"
#include "HostdClient.h"
#include "SitePublisher.h"
#include "TestAppDir.h"
#include "TestFiles.h"
#include "publish/Protocol.h"
#include "publish/SyncManifest.h"

#include <QProcess>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThreadPool>

#include <optional>
#include <unistd.h>

namespace {

const QString kNotice = QStringLiteral("<p>系统公告：新版本 3.06</p>");
const QString kVersionReply = QStringLiteral("<#getversion#>") + kNotice;

} // namespace

class TestHostd : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    TestHost m_host;

    QString path(const QString& name) const { return m_tmp->filePath(name); }
    quint16 port() const { return m_host.server->serverPort(); }
    QString dataDir() const { return path(QStringLiteral("data")); }
    QString siteFolder(const QString& name) const { return dataDir() + QStringLiteral("/sites/") + name + '/'; }

    // Wrong passwords are not throttled unless a test asks for it.
    void startServer(const std::function<void(HostConfig&)>& adjust = {})
    {
        HostConfig cfg = TestHost::config(m_tmp->path());
        cfg.throttle.freeFailures = cfg.throttle.closeAfter = 1000;
        cfg.noticeFile = path("notice.htm");
        cfg.maxUploadBytes = 8 * 1024 * 1024;
        if (adjust)
            adjust(cfg);
        m_host.start(cfg);
    }

    // A connected client, logged in as account and holding site (when given).
    void loggedIn(Client& c, const QString& account, const QString& site = QString())
    {
        QVERIFY(c.open(port()));
        QCOMPARE(c.ask(Protocol::loginMessage(account, "531946")), QStringLiteral("<#login#>"));
        if (!site.isEmpty())
            QCOMPARE(c.ask(Protocol::siteNameMessage(site)), QStringLiteral("<#siteName#>"));
    }

    // The upload archive of a small site whose every file ends with marker.
    QByteArray siteZip(const QByteArray& marker)
    {
        const QByteArray images = zipOf(path("inner.zip"), {{"a.jpg", "a " + marker}, {"产品.gif", "g " + marker}});
        return zipOf(path("outer.zip"),
                     {{"govbuilder.sbd", "db " + marker}, {"新闻.jpg", "n " + marker}, {"images.zip", images}});
    }

    // Announces and sends an archive (in the same write when together); true when
    // the server published it.
    bool upload(Client& c, const QByteArray& archive, bool together = false)
    {
        QSignalSpy finished(m_host.server.get(), &HostServer::uploadFinished);
        const QByteArray announcement = Protocol::toWire(Protocol::sendFileInfoMessage(archive.size()));
        c.send(together ? announcement + archive : announcement);
        if (c.waitReply() != QLatin1String("<#sendFileInfo#>"))
            return false;
        if (!together)
            c.send(archive);
        return finished.wait(20000) && finished.at(0).at(1).toBool();
    }

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        writeFile(path("accounts.txt"), "# account password\n10001 531946\n10002 531946\n\n10003 other pw\n");
        writeFile(path("notice.htm"), kNotice.toUtf8());
        m_host.log.clear();
        startServer();
    }
    void cleanup()
    {
        m_host.server.reset();
        m_tmp.reset();
    }

    // The reply to each message, in order, over three connections: n is not
    // logged in (until it logs in as 10003), a and b log in as 10001 and 10002.
    // A refused message leaves the connection reading messages (not archive
    // bytes), and a reply nobody asked for would show in front of the next one.
    void replies()
    {
        Client a, b, n;
        for (Client* c : {&a, &b, &n})
            QVERIFY(c->open(port()));
        const std::tuple<Client*, const char*, const char*> steps[] = {
            {&n, "<#login#>10001||531947", "<#logout#>"},
            {&n, "<#login#>10001||531946 ", "<#logout#>"}, // a trailing blank is part of the password
            {&n, "<#login#>99999||531946", "<#logout#>"},
            {&n, "<#login#>#||account password", "<#logout#>"}, // a comment line is no account
            {&n, "<#login#>10001531946", "<#logout#>"},
            {&n, "<#siteName#>free1", "<#errMsg#>"},
            {&n, "<#modPwd#>x", "<#errMsg#>"},
            {&n, "<#sendFileInfo#>100", "<#errMsg#>"},
            {&n, "<#login#>10003||other pw", "<#login#>"},
            {&a, "<#login#>10001||531946", "<#login#>"},
            {&b, "<#login#>10002||531946", "<#login#>"},
            {&b, "<#sendFileInfo#>100", "<#errMsg#>"}, // no site name yet
            {&a, "<#siteName#>abc1", "<#siteName#>"},
            // Lengths over the limit, beyond 32 bits, empty, not a number, negative.
            {&a, "<#sendFileInfo#>8388609", "<#errMsg#>"},
            {&a, "<#sendFileInfo#>4294967296", "<#errMsg#>"},
            {&a, "<#sendFileInfo#>0", "<#errMsg#>"},
            {&a, "<#sendFileInfo#>12ab", "<#errMsg#>"},
            {&a, "<#sendFileInfo#>-5", "<#errMsg#>"},
            {&b, "<#siteName#>ABC1", "<#siteNameExist#>"}, // names are domain labels: case does not matter
            {&b, "<#siteName#>ab-c", "<#errMsg#>"},
            {&b, "<#siteName#>网站", "<#errMsg#>"},
            {&b, "<#siteName#>../etc", "<#errMsg#>"},
            {&a, "<#siteName#>abc1", "<#siteName#>"}, // its own name again
            {&b, "<#siteName#>other2", "<#siteName#>"},
            {&b, "<#modPwd#>新 pass ", "<#modPwd#>"},
            {&b, "<#modPwd#>", "<#errMsg#>"},
            {&b, "<#modPwd#>a\r\nb", "<#errMsg#>"},
            {&a, "<#login#>10002||新 pass ", "<#login#>"},
            {&a, "<#getversion#>3.05", "<#getversion#><p>系统公告：新版本 3.06</p>"}, // still reading messages
        };
        for (const auto& [client, message, expected] : steps) {
            const QString reply = client->ask(QString::fromUtf8(message));
            QVERIFY2(reply == QString::fromUtf8(expected), qPrintable(QString::fromUtf8(message) + " -> " + reply));
        }
        // Only the account's line changes; the owners outlive the server.
        QCOMPARE(readFile(path("accounts.txt")),
                 QStringLiteral("# account password\n10001 531946\n10002 新 pass \n\n10003 other pw\n").toUtf8());
        startServer();
        QCOMPARE(m_host.server->store().siteOf("10001"), QStringLiteral("abc1"));
        QCOMPARE(m_host.server->store().siteOf("10002"), QStringLiteral("other2"));
        QVERIFY(!QFileInfo::exists(dataDir() + "/sites/etc") && !QFileInfo::exists(path("etc")));
    }

    // The files the server rewrites: only the line concerned changes, byte for
    // byte the rest; a rewrite that cannot be finished, or that would overwrite
    // an edit made meanwhile or under the operator's lock, changes nothing.
    void rewrites_data()
    {
        QTest::addColumn<QString>("change"); // "pwd ACCOUNT NEW" or "claim ACCOUNT NAME"
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QByteArray accounts = "# \xd5\xcb\xba\xc5 GBK\r\n10001 531946\r\n10002 531946";
        const QByteArray owners = "# kept\r\nold1 10001\r\nmine 10005\r\n";
        const auto row = [](const char* name, const char* change, const char* fault, QByteArray before,
                            QByteArray after) { QTest::newRow(name) << change << fault << before << after; };
        row("password: its line only", "pwd 10001 新 pw", "", accounts,
            "# \xd5\xcb\xba\xc5 GBK\r\n10001 新 pw\r\n10002 531946");
        row("password: disk full", "pwd 10002 x", "full", accounts, accounts);
        row("password: edited meanwhile", "pwd 10002 x", "edit", accounts, accounts + "\n9 x");
        row("password: locked", "pwd 10002 x", "lock", accounts, accounts);
        row("claim: the operator's name counts", "claim 10001 MINE", "", owners, owners);
        row("claim: the operator's lines stay", "claim 10001 new1", "", owners, "# kept\r\nmine 10005\r\nnew1 10001\n");
        row("claim: disk full", "claim 10001 new1", "full", owners, owners);
        row("claim: edited meanwhile", "claim 10001 new1", "edit", owners, owners + "\n9 x");
    }
    void rewrites()
    {
        QFETCH(QString, change);
        QFETCH(QString, fault);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QStringList words = change.split(' ');
        const bool pwd = words[0] == "pwd";
        const QString file = pwd ? path("accounts.txt") : dataDir() + "/siteowners.txt";
        writeFile(dataDir() + "/siteowners.txt", "old1 10001\n");
        QDir().mkpath(siteFolder("old1") + "site");
        // The failing write stores half, as a full disk does; the editing one lets an operator in.
        const AtomicFile::WriteFn write = [&](int fd, const char* data, size_t size) -> ssize_t {
            if (fault == "edit")
                writeFile(file, readFile(file) + "\n9 x");
            if (fault != "full")
                return ::write(fd, data, size);
            if (::write(fd, data, size / 2) < 0)
                return -1;
            errno = ENOSPC;
            return -1;
        };
        SiteStore store(path("accounts.txt"), dataDir(), write);
        writeFile(file, before); // edited by the operator after the server read it
        QCOMPARE(store.siteOf("10005"), pwd ? QString() : QString("mine"));
        std::optional<AtomicFile::Lock> held;
        if (fault == "lock")
            held.emplace(file);
        QString error;
        const bool ok = pwd ? store.changePassword(words[1], words.mid(2).join(' '), &error)
                            : store.claimSiteName(words[1], words[2], &error) == SiteStore::Claim::Granted;
        QCOMPARE(readFile(file), after);
        QCOMPARE(ok, fault.isEmpty() && before != after);
        QCOMPARE(QDir(QFileInfo(file).path()).entryList({"*.new-*"}, QDir::Files), QStringList()); // no leftovers
        QCOMPARE(QFileInfo::exists(siteFolder("old1")), !ok || pwd);
        if (ok && pwd)
            QVERIFY(store.checkLogin(words[1], words.mid(2).join(' ')));
    }

    void uploadsReplaceTheSiteAndMoveWithItsName()
    {
        Client c, again, other;
        loggedIn(c, "10001", "first");
        QVERIFY(upload(c, siteZip("v1")));
        const QByteArray v2 = siteZip("v2");
        QVERIFY(upload(c, v2));
        // Success is silent (the client reports it itself): the next reply is the one asked for.
        QCOMPARE(c.ask(Protocol::versionQuery()), kVersionReply);
        const QMap<QString, QByteArray> site = filesUnder(siteFolder("first"));
        QMap<QString, QByteArray> files = site;
        files.remove("site.index"); // the hashes the sync of changed files answers from
        QCOMPARE(files, (QMap<QString, QByteArray>{{"ziptest.zip", v2},
                                                   {"site/govbuilder.sbd", "db v2"},
                                                   {"site/新闻.jpg", "n v2"},
                                                   {"site/images.zip", readFile(path("inner.zip"))},
                                                   {"site/images/a.jpg", "a v2"},
                                                   {"site/images/产品.gif", "g v2"}}));

        // A connection lost mid-upload leaves the site as it was and frees it.
        QSignalSpy finished(m_host.server.get(), &HostServer::uploadFinished);
        QCOMPARE(c.ask(Protocol::sendFileInfoMessage(100000)), QStringLiteral("<#sendFileInfo#>"));
        c.send(QByteArray(40000, 'z'));
        QTRY_VERIFY(m_host.server->operatorCommand("list").contains("uploading 40000/100000 bytes"));
        c.socket.abort();
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.at(0).at(1).toBool(), false);
        QCOMPARE(filesUnder(siteFolder("first")), site);

        loggedIn(again, "10001");
        QCOMPARE(again.ask(Protocol::siteNameMessage("second")), QStringLiteral("<#siteName#>"));
        QVERIFY(!QFileInfo::exists(siteFolder("first")));
        QCOMPARE(filesUnder(siteFolder("second")), site);
        loggedIn(other, "10002", "first"); // the old name is free again
    }

    // A sync against the published site of siteZip("v1"): what the server asks
    // for, and whether it publishes. Every refusal answers <#errMsg#> and leaves
    // the site as it was; no manifest links or reads a file outside the site.
    void syncs_data()
    {
        QTest::addColumn<Entries>("manifest"); // path, content
        QTest::addColumn<Entries>("upload");
        QTest::addColumn<QString>("need"); // "" when the offer is refused
        QTest::addColumn<QString>("outcome");
        const Entries kept = {{"新闻.jpg", "n v1"}, {"images/a.jpg", "a v1"}, {"images/产品.gif", "g v1"}};
        const Entries db = {{"govbuilder.sbd", "db v2"}};
        const Entries a2 = {{"images/a.jpg", "a v2"}};
        const auto row = [](const char* name, Entries manifest, Entries upload, const char* need, const char* outcome) {
            QTest::newRow(name) << manifest << upload << need << outcome;
        };
        row("the database alone", db + kept, db, "govbuilder.sbd", "<#syncDone#>");
        row("a picture deleted, one changed", db + a2, db + a2, "govbuilder.sbd images/a.jpg", "<#syncDone#>");
        row("a link planted in the site", db + Entries{{"images/evil", "secret"}}, db, "govbuilder.sbd images/evil",
            "<#errMsg#>");
        row("a file the manifest does not name", db, db + Entries{{"extra.jpg", "x"}}, "govbuilder.sbd", "<#errMsg#>");
        row("content other than named", db, {{"govbuilder.sbd", "db v3"}}, "govbuilder.sbd", "<#errMsg#>");
        row("neither sent nor published", db + Entries{{"new.jpg", "n"}}, db, "govbuilder.sbd new.jpg", "<#errMsg#>");
        row("interrupted", db, db, "govbuilder.sbd", "");
        row("a path out of the site", {{"../sites/x", "x"}}, db, "", "");
    }
    void syncs()
    {
        QFETCH(Entries, manifest);
        QFETCH(Entries, upload);
        QFETCH(QString, need);
        QFETCH(QString, outcome);
        Client c;
        loggedIn(c, "10001", "first");
        QCOMPARE(c.ask(SyncManifest::offerMessage({})), QStringLiteral("<#errMsg#>")); // nothing published yet
        QVERIFY(this->upload(c, siteZip("v1")));
        writeFile(path("secret"), "secret");
        QVERIFY(QFile::link(path("secret"), siteFolder("first") + "site/images/evil"));
        const QMap<QString, QByteArray> before = filesUnder(siteFolder("first"));

        SyncManifest::List entries;
        for (const auto& [file, content] : manifest)
            entries.append({QString::fromUtf8(file), content.size(), SyncManifest::hashBytes(content)});
        const QString answer = c.ask(SyncManifest::offerMessage(entries));
        if (need.isEmpty()) {
            QCOMPARE(answer, QStringLiteral("<#errMsg#>"));
            return;
        }
        QCOMPARE(answer, SyncManifest::needMessage(need.split(' ')));
        const QByteArray archive =
            zipOf(path("delta.zip"), upload + Entries{{".weblark-sync-manifest", SyncManifest::encode(entries)}});
        QSignalSpy finished(m_host.server.get(), &HostServer::uploadFinished);
        QCOMPARE(c.ask(Protocol::sendFileInfoMessage(archive.size())), QStringLiteral("<#sendFileInfo#>"));
        c.send(outcome.isEmpty() ? archive.left(archive.size() / 2) : archive);
        if (outcome.isEmpty())
            c.socket.disconnectFromHost();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.at(0).at(1).toBool(), outcome == "<#syncDone#>");
        if (!outcome.isEmpty())
            QCOMPARE(c.waitReply(), outcome);
        if (outcome != "<#syncDone#>") {
            QCOMPARE(filesUnder(siteFolder("first")), before);
            return;
        }
        QMap<QString, QByteArray> site;
        for (const auto& [file, content] : manifest)
            site.insert("site/" + QString::fromUtf8(file), content);
        site.insert("ziptest.zip", archive);
        QMap<QString, QByteArray> after = filesUnder(siteFolder("first"));
        QVERIFY(after.take("site.index").contains("images/a.jpg "));
        QCOMPARE(after, site);
    }

    // A refused archive, or one that cannot be put in place, leaves the published
    // site as it was, and nothing lands beside it.
    void refusedArchives_data()
    {
        QTest::addColumn<QByteArray>("entryName");
        QTest::addColumn<QString>("kind");
        QTest::newRow("parent folder") << QByteArray("../x.txt") << "entry";
        QTest::newRow("far up") << QByteArray("a/../../../../x.txt") << "entry";
        QTest::newRow("absolute") << QByteArray("/tmp/weblark_abs_escape.txt") << "entry";
        QTest::newRow("backslashes") << QByteArray("..\\..\\x.txt") << "entry";
        QTest::newRow("drive letter") << QByteArray("C:x.txt") << "entry";
        QTest::newRow("inside images.zip") << QByteArray("../../../y.txt") << "images entry";
        QTest::newRow("not a zip at all") << QByteArray() << "garbage";
        QTest::newRow("a folder where ziptest.zip goes") << QByteArray() << "blocked";
        // Each part within the limit, the two together beyond it.
        QTest::newRow("images.zip past the bytes left") << QByteArray() << "big images";
        QTest::newRow("images.zip past the entries left") << QByteArray() << "many images";
    }
    void refusedArchives()
    {
        QFETCH(QByteArray, entryName);
        QFETCH(QString, kind);
        startServer([](HostConfig& cfg) {
            cfg.unpackFactor = 1;
            cfg.maxUnpackEntries = 50;
        });
        Client c;
        loggedIn(c, "10001", "mysite");
        QVERIFY(upload(c, siteZip("v1")));
        QByteArray archive = siteZip("v2");
        if (kind == "blocked") {
            const QString published = siteFolder("mysite") + "ziptest.zip";
            QVERIFY(QFile::rename(published, path("v1.zip")));
            writeFile(published + "/keep", "x");
        } else if (kind == "garbage") {
            // Archive bytes, though they look like a message and come with the announcement.
            archive = Protocol::toWire(Protocol::versionQuery()).leftJustified(5000, '\x07');
        } else if (kind == "big images" || kind == "many images") {
            Entries outer{{"govbuilder.sbd", "db"}}, inner;
            const int files = kind == "big images" ? 1 : 30;
            const QByteArray content(kind == "big images" ? 5 << 20 : 1, 'z');
            for (int i = 0; i < files; ++i) {
                outer.append({"o" + QByteArray::number(i), content});
                inner.append({"i" + QByteArray::number(i), content});
            }
            outer.append({"images.zip", zipOf(path("inner.zip"), inner)});
            archive = zipOf(path("bad.zip"), outer);
        } else if (kind == "images entry") {
            const QByteArray inner = zipOf(path("inner.zip"), {{"ok.gif", "gif"}, {entryName, "escaped"}});
            archive = zipOf(path("bad.zip"), {{"govbuilder.sbd", "db"}, {"images.zip", inner}});
        } else {
            archive = zipOf(path("bad.zip"), {{"govbuilder.sbd", "db"}, {entryName, "escaped"}});
        }
        const QMap<QString, QByteArray> before = filesUnder(dataDir());
        QVERIFY(!upload(c, archive, kind == "garbage"));
        QCOMPARE(c.waitReply(), QStringLiteral("<#errMsg#>"));
        QCOMPARE(filesUnder(dataDir()), before);
        QVERIFY(!QFileInfo::exists(path("x.txt")) && !QFileInfo::exists("/tmp/weblark_abs_escape.txt"));
    }

    // Whichever move of a publish fails, the folder holds the previous site and
    // archive or the new ones, nothing between and nothing left over; with no
    // failure the site folder is there at every step (exchanged, never moved away).
    void everyFailedMoveIsUndone()
    {
        const QString folder = siteFolder("s");
        const QString received = folder + ".upload.part";
        QString error;
        const auto publish = [&](const QByteArray& archive, const SitePublisher::Move& move) {
            writeFile(received, archive);
            return SitePublisher::publish(received, folder, {1 << 20, 1000}, &error, move);
        };
        const QByteArray v1 = siteZip("v1"), v2 = siteZip("v2");
        QVERIFY2(publish(v2, {}), qPrintable(error));
        const QMap<QString, QByteArray> after = filesUnder(folder);
        QVERIFY(publish(v1, {}));
        const QMap<QString, QByteArray> before = filesUnder(folder);
        for (int failing : {0, 1, 2, 3, 4}) {
            int moves = 0;
            bool alwaysThere = true;
            const auto move = [&](const QString& from, const QString& to, bool exchange) {
                alwaysThere = alwaysThere && QFileInfo::exists(folder + "site/govbuilder.sbd");
                return ++moves != failing && SitePublisher::moveEntry(from, to, exchange);
            };
            const bool ok = publish(v2, move);
            QVERIFY2(filesUnder(folder) == (ok ? after : before), qPrintable(QString::number(failing) + error));
            QVERIFY(failing > 0 || (ok && alwaysThere));
            QVERIFY(publish(v1, {}));
        }
        // A publish cut short after moving the old site aside is repaired by the next one.
        QVERIFY(QDir().rename(folder + "site", folder + ".retired"));
        QVERIFY(!publish("not a zip", {}));
        QCOMPARE(filesUnder(folder), before);
    }

    // Unpacking runs on a worker: other connections are served meanwhile, the
    // site being published takes no new name, and a second upload of it waits
    // for the publish to end (but not for ever).
    void othersAreServedWhilePublishing_data()
    {
        QTest::addColumn<int>("waitMs");
        QTest::newRow("publish ends first") << 30000;
        QTest::newRow("publish takes too long") << 100;
    }
    void othersAreServedWhilePublishing()
    {
        QFETCH(int, waitMs);
        startServer([&](HostConfig& cfg) { cfg.announcementWaitMs = waitMs; });
        Client owner, second, other;
        loggedIn(owner, "10001", "mysite");
        const QByteArray archive = siteZip("v1"), v2 = siteZip("v2");

        // Hold every worker so the publish waits, as a long unpack would. The
        // semaphore outlives this function: a worker may still be starting.
        const auto gate = std::make_shared<QSemaphore>();
        const int workers = QThreadPool::globalInstance()->maxThreadCount();
        for (int i = 0; i < workers; ++i)
            QThreadPool::globalInstance()->start([gate] { gate->acquire(); });
        const auto releaseAnyway = qScopeGuard([gate, workers] { gate->release(workers); });
        QSignalSpy finished(m_host.server.get(), &HostServer::uploadFinished);
        QCOMPARE(owner.ask(Protocol::sendFileInfoMessage(archive.size())), QStringLiteral("<#sendFileInfo#>"));
        owner.send(archive);
        QVERIFY(m_host.waitLogged("bytes received for site mysite, publishing"));

        loggedIn(other, "10002");
        loggedIn(second, "10001");
        QCOMPARE(second.ask(Protocol::siteNameMessage("renamed")), QStringLiteral("<#errMsg#>"));
        second.send(Protocol::toWire(Protocol::sendFileInfoMessage(v2.size())));
        if (waitMs < 1000)
            QCOMPARE(second.waitReply(), QStringLiteral("<#errMsg#>"));
        else
            QVERIFY(m_host.waitLogged("upload for mysite waits"));
        QCOMPARE(finished.count(), 0);

        gate->release(workers);
        QVERIFY(finished.wait(20000));
        QVERIFY(finished.at(0).at(1).toBool());
        QCOMPARE(readFile(siteFolder("mysite") + "ziptest.zip"), archive);
        if (waitMs < 1000)
            return;
        QCOMPARE(second.waitReply(), QStringLiteral("<#sendFileInfo#>"));
        QSignalSpy again(m_host.server.get(), &HostServer::uploadFinished);
        second.send(v2);
        QVERIFY(again.wait(20000) && again.at(0).at(1).toBool());
        QCOMPARE(readFile(siteFolder("mysite") + "ziptest.zip"), v2);
    }

    // Past two wrong passwords the answers wait, past four the connection is
    // closed. A right password from another address is answered at once, a wrong
    // one for the same account waits; a third connection from one address is refused.
    void throttledLogins()
    {
        startServer([](HostConfig& cfg) {
            cfg.throttle = {2, 50, 100, 60000, 4};
            cfg.maxPerAddress = 2;
        });
        const auto delayed = [&] { return m_host.log.filter("answered in").size(); };
        Client guesser, owner, other, third;
        QVERIFY(guesser.open(port()));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(guesser.ask(Protocol::loginMessage("10001", "wrong")), QStringLiteral("<#logout#>"));
        QCOMPARE(delayed(), 2);
        QVERIFY(m_host.waitLogged("dropped: 4 wrong passwords"));
        QTRY_VERIFY(guesser.socket.state() != QAbstractSocket::ConnectedState);
        const QHostAddress elsewhere("127.0.0.2");
        QVERIFY(owner.open(port(), elsewhere) && other.open(port(), elsewhere));
        QCOMPARE(owner.ask(Protocol::loginMessage("10001", "531946")), QStringLiteral("<#login#>"));
        QCOMPARE(delayed(), 2);
        QCOMPARE(other.ask(Protocol::loginMessage("10001", "guess")), QStringLiteral("<#logout#>"));
        QCOMPARE(delayed(), 3);
        QVERIFY(third.open(port(), elsewhere));
        QVERIFY(m_host.waitLogged("refused: 2 open from there already"));
        QTRY_VERIFY(third.socket.state() != QAbstractSocket::ConnectedState);
        QCOMPARE(owner.ask(Protocol::versionQuery()), kVersionReply);
    }

    // A stranger that says nothing and an upload that stops are cut off: the
    // partial file goes and the site can be uploaded again; a session stays.
    void quietConnectionsAreClosed()
    {
        startServer([](HostConfig& cfg) { cfg.idleMs = cfg.uploadStallMs = 300; });
        Client stranger, uploader, session, again;
        QVERIFY(stranger.open(port()));
        loggedIn(uploader, "10001", "stall");
        loggedIn(session, "10002");
        QCOMPARE(uploader.ask(Protocol::sendFileInfoMessage(100000)), QStringLiteral("<#sendFileInfo#>"));
        uploader.send(QByteArray(1000, 'z'));
        QVERIFY(m_host.waitLogged("abandoned after 1000 bytes: nothing received for 0.3 s"));
        QTRY_VERIFY(stranger.socket.state() != QAbstractSocket::ConnectedState &&
                    uploader.socket.state() != QAbstractSocket::ConnectedState);
        QVERIFY(!QFileInfo::exists(siteFolder("stall") + ".upload.part"));
        loggedIn(again, "10001");
        QVERIFY(upload(again, siteZip("v1")));
        QCOMPARE(session.socket.state(), QAbstractSocket::ConnectedState);
    }

    // A message that grows past the limit without an end drops its connection, and only that.
    void endlessMessageIsDropped()
    {
        startServer([](HostConfig& cfg) { cfg.messageGapMs = 50; });
        Client c, next;
        QVERIFY(c.open(port()));
        c.send("<#talkmsg#>" + QByteArray(3 << 20, 'y'));
        QVERIFY(m_host.waitLogged("dropped"));
        QTRY_VERIFY(c.socket.state() != QAbstractSocket::ConnectedState);
        loggedIn(next, "10001");
    }

    void operatorCommands()
    {
        Client a, b;
        loggedIn(a, "10001", "abc");
        QVERIFY(b.open(port()));
        QVERIFY(m_host.waitLogged("connection 2 from"));
        const QString list = m_host.server->operatorCommand("list");
        QVERIFY2(list.contains("account 10001, site abc") && list.contains("not logged in"), qPrintable(list));
        const QString idOfA = list.split('\n').filter("10001").first().section(' ', 0, 0);
        QCOMPARE(m_host.server->operatorCommand("tell " + idOfA + " 只给你"), QStringLiteral("sent"));
        QCOMPARE(m_host.server->operatorCommand("notice SERVER<br>TONIGHT"), QStringLiteral("sent to 2 connection(s)"));
        QTRY_COMPARE(a.reply(), QStringLiteral("<#talkmsg#>只给你<#systemmsg#>SERVER<br>TONIGHT"));
        QTRY_COMPARE(b.reply(), QStringLiteral("<#systemmsg#>SERVER<br>TONIGHT"));
        QVERIFY(m_host.server->operatorCommand("tell 999 x").startsWith("no connection"));
        // A chat line from a client reaches the operator's log, decoded.
        a.send(Protocol::toWire(Protocol::talkMessage("网站&nbsp;打不开")));
        QVERIFY(m_host.waitLogged("(10001) says: 网站 打不开"));
        // One that tries to start a log line of its own stays on its line.
        a.send(Protocol::toWire("<#talkmsg#>x\r\n2026-12-07T10:00:00 connection 9: account 1 logged in\x1b\u2028\\"));
        QVERIFY(
            m_host.waitLogged("says: x\\r\\n2026-12-07T10:00:00 connection 9: account 1 logged in\\x1b\\u2028\\\\"));
        QVERIFY(m_host.log.filter(QRegularExpression("[\\x00-\\x1f\\x{2028}]")).isEmpty());
    }

    // The built server: the port it reports, its limit, operator input on stdin,
    // and a quit that does not wait for a rendering that would never end.
    void program()
    {
        QProcess p;
        p.start(WEBLARK_HOSTD, {"--port", "0", "--accounts", path("accounts.txt"), "--data", path("data2"),
                                "--max-upload-mb", "5", "--http-port", "0", "--render-seconds", "600"});
        QVERIFY(p.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(p.canReadLine(), 10000);
        const QByteArray first = p.readLine().trimmed();
        QVERIFY2(first.startsWith("listening "), first.constData());
        Client c;
        QVERIFY(c.open(quint16(first.mid(10).toUInt())));
        QCOMPARE(c.ask(Protocol::loginMessage("10001", "531946")), QStringLiteral("<#login#>"));
        QCOMPARE(c.ask(Protocol::versionQuery()), QStringLiteral("<#getversion#><b>欢迎使用网站托管服务。</b>"));
        QCOMPARE(c.ask(Protocol::siteNameMessage("prog")), QStringLiteral("<#siteName#>"));
        QCOMPARE(c.ask(Protocol::sendFileInfoMessage(5 * 1024 * 1024 + 1)), QStringLiteral("<#errMsg#>"));
        const QByteArray db =
            siteDbWith(TestAppDir::stagedAppDir() + "/initData/govbuilder.sbd", path("db"), endlessView());
        const QByteArray archive = zipOf(path("endless.zip"), {{"govbuilder.sbd", db}});
        QCOMPARE(c.ask(Protocol::sendFileInfoMessage(archive.size())), QStringLiteral("<#sendFileInfo#>"));
        c.send(archive);
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += p.readAllStandardError()).contains("site prog published"), 10000);
        p.write("say hello from the operator\n");
        QTRY_COMPARE(c.reply(), QStringLiteral("<#talkmsg#>hello from the operator"));
        QVERIFY2(!log.contains("rendered for the web"), log.constData()); // neither done nor failed
        p.write("quit\n");
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(QFileInfo::exists(path("data2/siteowners.txt")));
    }

    // Each refusal names the option and the value it refuses.
    void refusedOptions_data()
    {
        QTest::addColumn<QStringList>("option");
        QTest::newRow("port past 65535") << QStringList{"--port", "70000"};
        QTest::newRow("negative port") << QStringList{"--port", "-1"};
        QTest::newRow("port not a number") << QStringList{"--port", "x"};
        QTest::newRow("no upload size") << QStringList{"--max-upload-mb", "0"};
        QTest::newRow("upload size past 2 GB") << QStringList{"--max-upload-mb", "2048"};
        QTest::newRow("address") << QStringList{"--listen", "localhost"};
        QTest::newRow("no accounts file") << QStringList{"--accounts", "/nonexistent"};
        QTest::newRow("no data folder") << QStringList{"--data", ""};
        QTest::newRow("http port past 65535") << QStringList{"--http-port", "65536"};
        QTest::newRow("appdir without themes") << QStringList{"--appdir", "/nonexistent", "--http-port", "0"};
    }
    void refusedOptions()
    {
        QFETCH(QStringList, option);
        QProcess p;
        p.start(WEBLARK_HOSTD, QStringList{"--accounts", path("accounts.txt"), "--data", path("d")} + option);
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 2);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.startsWith("weblark-hostd: " + option[0]) && err.contains(option[1]), qPrintable(err));
        QVERIFY(p.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHostd)
#include "test_hostd.moc"
