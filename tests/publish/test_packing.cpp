// Packing the workspace: which files go into which archive, how they are
// compressed, and that another zip reader (Python's) checks the result whole.
#include "TestFiles.h"
#include "TestMain.h"
#include "TestZip.h"
#include "publish/SitePacker.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

QByteArray contentFor(const QString& name)
{
    // Pictures get incompressible bytes, the rest repetitive text.
    if (SitePacker::isStoredAsIs(name))
        return randomBytes(40000 + name.size(), uint(qHash(name)));
    return (name + QStringLiteral(" 内容 ")).toUtf8().repeated(500);
}

// What Python's zipfile makes of an archive: testzip()'s first bad entry, the
// number of entries, and the non-ASCII names without the UTF-8 flag (which other
// tools read as code page 437).
QJsonObject pythonView(const QString& path)
{
    const char* script = R"(
import json, sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
unflagged = [i.filename for i in z.infolist() if not i.filename.isascii() and not i.flag_bits & 0x800]
print(json.dumps({"bad": z.testzip(), "count": len(z.infolist()), "unflagged": unflagged}))
)";
    QProcess p;
    p.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromUtf8(script), path});
    p.waitForFinished(60000);
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

} // namespace

class TestPacking : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString appPath() const { return m_tmp.path() + QStringLiteral("/app/"); }
    QString workPath() const { return appPath() + QStringLiteral("userImages/"); }

    void makeWorkspace(const QStringList& files)
    {
        QDir(appPath()).removeRecursively();
        QDir().mkpath(workPath());
        for (const QString& f : files) {
            if (f.endsWith(QLatin1Char('/'))) {
                QDir().mkpath(workPath() + f);
                continue;
            }
            writeFile(workPath() + f, contentFor(QFileInfo(f).fileName()));
            if (f.endsWith(QLatin1String("asp"), Qt::CaseInsensitive))
                QFile::setPermissions(workPath() + f, QFileDevice::ReadOwner | QFileDevice::ReadUser);
        }
    }

    void checkArchive(const QString& archive, const QString& sourceFolder, QStringList expected)
    {
        const QMap<QString, ZipEntry> entries = readZip(readFile(archive));
        std::sort(expected.begin(), expected.end());
        QCOMPARE(entries.keys(), expected);
        for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
            QVERIFY2(readFile(sourceFolder + it.key()) == it.value().data, qPrintable(it.key()));
            static const QRegularExpression compressedKinds(QStringLiteral("\\.(jpe?g|gif|png|zip)$"),
                                                            QRegularExpression::CaseInsensitiveOption);
            const int wanted = compressedKinds.match(it.key()).hasMatch() ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
            QVERIFY2(it.value().method == wanted, qPrintable(it.key()));
        }
        const QJsonObject clean{{"bad", QJsonValue::Null}, {"count", expected.size()}, {"unflagged", QJsonArray()}};
        QCOMPARE(pythonView(archive), clean);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_tmp.isValid()); }

    void packingRules_data()
    {
        QTest::addColumn<QStringList>("files");         // relative to the workspace; "x/" is a folder
        QTest::addColumn<QStringList>("uploadEntries"); // expected in ziptest.zip
        QTest::addColumn<QStringList>("imagesEntries"); // expected in images.zip; empty: no images.zip
        QTest::addColumn<QStringList>("left");          // server scripts left out and left in place

        const auto row = [](const char* name, const QStringList& files, const QStringList& uploadEntries,
                            const QStringList& imagesEntries = {}, const QStringList& left = {}) {
            QTest::newRow(name) << files << uploadEntries << imagesEntries << left;
        };
        row("asp left out in any case, wasp packed",
            {"govbuilder.sbd", "INDEX.ASP", "page.Asp", "wasp.txt", "wasp", "images/a.jpg", "images/B.ASP",
             "images/gasp"},
            {"govbuilder.sbd", "wasp.txt", "wasp", "images.zip"}, {"a.jpg", "gasp"},
            {"INDEX.ASP", "page.Asp", "images/B.ASP"});
        row("no images folder", {"govbuilder.sbd", "logo.gif"}, {"govbuilder.sbd", "logo.gif"});
        row("empty images folder drops an old images.zip", {"govbuilder.sbd", "images/", "images.zip"},
            {"govbuilder.sbd"});
        row("images folder holding only server scripts", {"govbuilder.sbd", "images/x.asp"}, {"govbuilder.sbd"}, {},
            {"images/x.asp"});
        const QStringList kinds{"govbuilder.sbd", "p.JPG", "q.jpeg", "r.gif", "s.PNG",
                                "t.zip",          "u.bmp", "v.htm",  "w.swf"};
        row("stored and deflated kinds", kinds, kinds);
        row("chinese names", {"govbuilder.sbd", "新闻图片.jpg", "说明 文件.txt", "images/产品一.png", "images/图.bmp"},
            {"govbuilder.sbd", "新闻图片.jpg", "说明 文件.txt", "images.zip"}, {"产品一.png", "图.bmp"});
        row("only files directly in the workspace",
            {"govbuilder.sbd", "savedData/govbuilder.sbd", "images/sub/deep.jpg", "images/top.gif"},
            {"govbuilder.sbd", "images.zip"}, {"top.gif"});
    }
    void packingRules()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, uploadEntries);
        QFETCH(QStringList, imagesEntries);
        QFETCH(QStringList, left);
        makeWorkspace(files);
        // A stale upload archive from an earlier run must not leak old entries.
        writeFile(appPath() + "ziptest.zip", "stale");

        SitePacker packer(appPath(), workPath());
        QVERIFY2(packer.zipSiteData(), qPrintable(packer.errorText()));
        QCOMPARE(packer.archiveMessages(), QStringList{});

        for (const QString& f : left)
            QVERIFY2(QFileInfo::exists(workPath() + f), qPrintable(f));
        if (imagesEntries.isEmpty()) {
            QVERIFY(!QFileInfo::exists(workPath() + "images.zip"));
        } else {
            checkArchive(workPath() + "images.zip", workPath() + "images/", imagesEntries);
        }
        checkArchive(appPath() + "ziptest.zip", workPath(), uploadEntries);
    }

    void failures()
    {
        // The old upload archive cannot be removed: packing stops and says so.
        makeWorkspace({"govbuilder.sbd"});
        QDir().mkpath(appPath() + "ziptest.zip/blocker");
        {
            SitePacker packer(appPath(), workPath());
            QVERIFY(!packer.zipSiteData());
            QVERIFY2(packer.errorText().startsWith("70 Form1::cmdZip_Click "), qPrintable(packer.errorText()));
        }
        // A workspace without files gives no archive, which must not pass for success.
        makeWorkspace({"images/"});
        SitePacker packer(appPath(), workPath());
        QVERIFY(!packer.zipSiteData());
        QCOMPARE(packer.archiveMessages().size(), 1);
        QVERIFY(!QFileInfo::exists(appPath() + "ziptest.zip"));
        QVERIFY(packer.errorText().contains("Form1::cmdZip_Click"));
    }
};

WEBLARK_TEST_MAIN(TestPacking)
#include "test_packing.moc"
