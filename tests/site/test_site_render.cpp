#include "GeneratedSite.h"
#include "TestMain.h"
#include "TestPage.h"
#include "TestPictures.h"
#include "data/FeatureFields.h"
#include "shell/SiteInfo.h"
#include "site/SiteRenderer.h"
#include "text/TextCodec.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

namespace {

const QString kAwkward = QStringLiteral("A<b>\"Q\" & 'S' /网站");

int pageCount(const QString& root)
{
    return QDir(root).entryList({QStringLiteral("*.htm")}, QDir::Files).size();
}

// A workspace holding the pristine database and the sample site: a page of every format
// at level 1 (p1.htm .. p11.htm, formats in GeneratedSite order), then a catalog with a
// catalog holding one page (p12.htm, p12-1.htm, p12-1-1.htm), then a page with an awkward name.
struct SampleSite {
    QTemporaryDir work;
    QTemporaryDir out;
    SiteDb db{QStringLiteral("sample-site-%1").arg(quintptr(this))};

    QString workPath() const { return work.path() + QLatin1Char('/'); }

    SampleSite()
    {
        writeFile(workPath() + QStringLiteral("govbuilder.sbd"),
                  readFile(TestAppDir::stagedAppDir() + QStringLiteral("/initData/govbuilder.sbd")));
        db.open(workPath());
        GeneratedSite gen;
        gen.drawPictures(workPath());
        // One picture larger than pages show it, so resized copies are offered.
        TestPictures::write(workPath() + GeneratedSite::picture(4), 1000, 750);
        int n = gen.writeEveryFormat(db, QStringLiteral("格式 "));
        insertCatalogRow(db, 1, {QStringLiteral("机构")}, true, ++n);
        insertCatalogRow(db, 2, {QStringLiteral("机构"), QStringLiteral("科室")}, true, 1);
        insertCatalogRow(db, 3, {QStringLiteral("机构"), QStringLiteral("科室"), kAwkward}, false, 1,
                         QStringLiteral("txt"));
        ContentRecords::insert(db, 3, kAwkward, ContentRecords::TextPage{kAwkward, QStringLiteral("x|y"), {}, {}});
        // A page whose picture is broken and one whose picture is missing.
        insertCatalogRow(db, 1, {QStringLiteral("坏图")}, false, ++n, QStringLiteral("bigImg"));
        ContentRecords::insert(db, 1, QStringLiteral("坏图"),
                               ContentRecords::BigImagePage{QStringLiteral("broken.jpg")});
        insertCatalogRow(db, 1, {QStringLiteral("缺图")}, false, ++n, QStringLiteral("imgTxt01"));
        ContentRecords::insert(db, 1, QStringLiteral("缺图"),
                               ContentRecords::TextPage{
                                   QStringLiteral("缺图"), {}, QStringLiteral("gone.jpg"), GeneratedSite::picture(1)});
        writeFile(workPath() + QStringLiteral("broken.jpg"), "not a picture");
        writeFile(workPath() + QStringLiteral("other.htm"),
                  QStringEncoder("gbk")(u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                        u"charset=gb2312\"><title>其他网页</title></head><body><img "
                                        u"src=\"images/o.gif\"></body></html>"));
        TestPictures::write(workPath() + QStringLiteral("images/o.gif"), 4, 4, "PNG");
        SiteInfo::Details details;
        details.webName = kAwkward;
        details.govName = QStringLiteral("示范单位");
        details.tel = QStringLiteral("010-1234<5678>");
        SiteInfo::save(db, details, GeneratedSite::picture(2));
        const std::pair<const char*, QString> appearance[] = {
            {"backGround", GeneratedSite::picture(3)},
            {"defaultTmpl", QStringLiteral("D0203.png")},
            {"headTmpl", QStringLiteral("H0302.png")},
            {"defaultFont", QStringLiteral("font03.png")},
            {"headFont", QStringLiteral("font05.png")},
            {"field01", FeatureFields::joinOtherPages({QStringLiteral("other.htm")})},
            {"field02", QStringLiteral("1")},
            {"adBoard", FeatureFields::adBoardField({QStringLiteral("320"), QStringLiteral("180"), QStringLiteral("40"),
                                                     QStringLiteral("60"), QStringLiteral("公告|通知"),
                                                     QStringLiteral("第一行\nIt's <b>|")})},
            {"Javascript", FeatureFields::scriptField({6, QStringLiteral("欢迎|光临"), true, {}})},
        };
        for (const auto& [column, value] : appearance)
            db.updateUserInfo(QString::fromLatin1(column), value);
    }

    SiteRenderResult render(const QString& baseUrl = {}, const QString& indexer = {}, const QString& into = {},
                            const QString& cache = {})
    {
        return renderSite({workPath() + QStringLiteral("govbuilder.sbd"), workPath(), TestAppDir::stagedAppDir(),
                           into.isEmpty() ? out.path() : into, baseUrl, indexer, cache});
    }
    QString page(const QString& file) const
    {
        return QString::fromUtf8(readFile(out.path() + QLatin1Char('/') + file));
    }
};

// Every href, src and CSS url() of the output that points inside the site, with the files that do not exist.
QStringList brokenLinks(const QString& root)
{
    static const QRegularExpression ref(
        QStringLiteral("(?:href|src)=\"([^\"]*)\"|url\\(\"?([^\")]*)\"?\\)|(?:srcset=\"|, )([^\" ,]+) \\d+w"));
    QStringList broken;
    QDirIterator it(root, {QStringLiteral("*.htm"), QStringLiteral("*.css")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString text = QString::fromUtf8(readFile(file));
        for (auto m = ref.globalMatch(text); m.hasNext();) {
            const auto hit = m.next();
            QString target = hit.captured(1) + hit.captured(2) + hit.captured(3);
            if (target.contains(QLatin1Char(':')) || target == QLatin1String("#"))
                continue; // other sites, mail, data
            if (target.startsWith(QLatin1Char('#'))) {
                if (!text.contains(QStringLiteral("id=\"%1\"").arg(target.mid(1))))
                    broken << file + QStringLiteral(" -> ") + target;
                continue;
            }
            target = target.section(QLatin1Char('#'), 0, 0).section(QLatin1Char('?'), 0, 0);
            if (target.isEmpty() || target.startsWith(QLatin1Char('/')) ||
                !QFileInfo(QFileInfo(file).dir(), target).canonicalFilePath().startsWith(QDir(root).canonicalPath()))
                broken << file + QStringLiteral(" -> ") + target;
        }
    }
    return broken;
}

// Copies the text of a rendered site into folder: "files.txt" listing every output
// file, and each generated page and style sheet (material copied as it is and
// pictures only by name).
void writeTextOutput(const QString& root, const QString& folder)
{
    QStringList files;
    for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    writeFile(folder + QStringLiteral("/files.txt"), (files.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    for (const QString& f : files)
        if (f.endsWith(QLatin1String(".htm")) || f == QLatin1String("style/theme.css"))
            writeFile(folder + QLatin1Char('/') + f, readFile(root + QLatin1Char('/') + f));
}

} // namespace

// Records the script errors of the pages it loads.
class WatchedPage : public QWebEnginePage {
public:
    QStringList errors;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override
    {
        if (level == ErrorMessageLevel)
            errors << QStringLiteral("%1:%2 %3").arg(source).arg(line).arg(message);
    }
};

class TestSiteRender : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_site.work.isValid() && m_site.out.isValid());
        m_result = m_site.render();
        QVERIFY2(m_result.ok, qPrintable(m_result.error));
    }

    // The whole output against the expected site under tests/site/golden: the list of
    // files and every generated page and style sheet, shown as a diff when they differ.
    // scripts/regen-site-golden.sh writes the expected site anew after a deliberate change.
    void outputMatchesTheExpectedSite()
    {
        const QString golden = QStringLiteral(WEBLARK_SITE_GOLDEN);
        QTemporaryDir actual;
        writeTextOutput(m_site.out.path(), actual.path());
        if (qEnvironmentVariableIsSet("WEBLARK_WRITE_GOLDEN")) {
            QDir(golden).removeRecursively();
            writeTextOutput(m_site.out.path(), golden);
            QSKIP("expected site written");
        }
        QProcess diff;
        diff.start(QStringLiteral("diff"), {QStringLiteral("-ru"), golden, actual.path()});
        QVERIFY(diff.waitForFinished(30000));
        const QString shown = QString::fromUtf8(diff.readAllStandardOutput().left(20000));
        QVERIFY2(diff.exitCode() == 0, qPrintable(QStringLiteral("the site differs from %1:\n%2").arg(golden, shown)));
    }

    // An unnamed site is titled with the organisation's name.
    void unnamedSiteIsTitledWithTheOrganisation()
    {
        SampleSite untitled;
        SiteInfo::Details details;
        details.govName = QStringLiteral("示范单位");
        SiteInfo::save(untitled.db, details, QString());
        QVERIFY(untitled.render().ok);
        QVERIFY(untitled.page(QStringLiteral("index.htm")).contains(QStringLiteral("<title>示范单位</title>")));
        QVERIFY(untitled.page(QStringLiteral("p1.htm")).contains(QStringLiteral(" - 示范单位</title>")));
    }

    // Every link resolves; the pictures that cannot be read are left out with a note.
    void everyLinkResolvesAndBadPicturesAreNoted()
    {
        QCOMPARE(pageCount(m_site.out.path()), m_result.pages);
        QCOMPARE(QDir(m_site.out.path() + QStringLiteral("/pictures")).entryList(QDir::Files).size(),
                 m_result.pictures);
        const QStringList broken = brokenLinks(m_site.out.path());
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
        const QString notes = m_result.notes.join(QLatin1Char('\n'));
        QVERIFY2(notes.contains(QStringLiteral("broken.jpg")) && notes.contains(QStringLiteral("gone.jpg")),
                 qPrintable(notes));
    }

    // The generated pages are valid HTML to the Nu checker; the installed page is the user's own.
    void generatedPagesAreValidHtml()
    {
        const QString java = QStandardPaths::findExecutable(QStringLiteral("java"));
        if (java.isEmpty() || !QFileInfo::exists(QStringLiteral(WEBLARK_VNU_JAR)))
            QSKIP("the HTML checker needs java and build-tools/web (scripts/install-deps.sh tests)");
        QStringList args{QStringLiteral("-jar"), QStringLiteral(WEBLARK_VNU_JAR), QStringLiteral("--errors-only")};
        for (const QString& f : QDir(m_site.out.path()).entryList({QStringLiteral("*.htm")}, QDir::Files))
            if (f != QLatin1String("other.htm"))
                args << m_site.out.path() + QLatin1Char('/') + f;
        QProcess vnu;
        vnu.start(java, args);
        QVERIFY(vnu.waitForFinished(180000));
        QVERIFY2(vnu.exitCode() == 0, vnu.readAllStandardError().left(20000).constData());
    }

    // The copies of a picture are made when it is new or changed, taken from the cache
    // when it is not, the same bytes either way; never wider than the picture; none for a
    // picture too large to decode or one cut short, which keeps its original. The cache keeps
    // only what the last rendering used.
    void resizedCopiesFollowTheirPictures()
    {
        QTemporaryDir cache;
        SampleSite site;
        const QString photo = site.workPath() + GeneratedSite::picture(4);
        const QByteArray original = readFile(photo);
        QByteArray huge = original;
        const qsizetype sof = huge.indexOf("\xff\xc0");
        huge.replace(sof + 5, 4, QByteArray::fromHex("75307530")); // 30000 x 30000
        const QByteArray narrow = TestPictures::encoded(TestPictures::make(700, 525), "JPG");
        const struct {
            QByteArray picture; // "" keeps the one there
            int resized;
            const char* copies;
            const char* note;
        } steps[] = {
            {{}, 1, "480,960", nullptr},
            {{}, 0, "480,960", nullptr},
            {narrow, 1, "480", nullptr},
            {huge, 0, "", "尺寸过大"},
            {original.left(original.size() / 3), 0, "", "不完整"},
            {original, 1, "480,960", nullptr},
        };
        QByteArray firstCopy;
        for (const auto& step : steps) {
            if (!step.picture.isEmpty())
                writeFile(photo, step.picture);
            QTemporaryDir out;
            const SiteRenderResult r = site.render({}, {}, out.path(), cache.path());
            QVERIFY2(r.ok, qPrintable(r.error));
            QCOMPARE(r.resizedPictures, step.resized);
            QStringList copies;
            for (int width : {480, 960, 1600})
                if (QFileInfo::exists(QStringLiteral("%1/pictures/%2/pic4.jpg.webp").arg(out.path()).arg(width)))
                    copies << QString::number(width);
            QCOMPARE(copies.join(QLatin1Char(',')), QLatin1String(step.copies));
            const QString notes = r.notes.join(QLatin1Char('\n'));
            QVERIFY2(!step.note || notes.contains(QString::fromUtf8(step.note)), qPrintable(notes));
            const QByteArray copy = readFile(out.path() + QStringLiteral("/pictures/960/pic4.jpg"));
            if (firstCopy.isEmpty())
                firstCopy = copy;
            else if (!copy.isEmpty())
                QCOMPARE(copy, firstCopy);
            QVERIFY(brokenLinks(out.path()).isEmpty());
        }
    }

    void customHomePageReplacesTheGenerated()
    {
        SampleSite custom;
        const QByteArray home = "<html><body><h1>Our own</h1><img src=\"images/o.gif\"></body></html>";
        writeFile(custom.workPath() + QStringLiteral("default.htm"), home);
        custom.db.updateUserInfo(QStringLiteral("defaultFile"), QStringLiteral("default.htm"));
        TestPictures::write(custom.workPath() + QStringLiteral("topHeadSelf.jpg"), 64, 48);
        custom.db.updateUserInfo(QStringLiteral("topHead"), QStringLiteral("topHeadSelf.jpg"));
        const SiteRenderResult r = custom.render();
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(custom.page(QStringLiteral("index.htm")).toUtf8(), home);
        for (const char* file : {"images/o.gif", "other.htm", "p1.htm"})
            QVERIFY2(QFileInfo::exists(custom.out.path() + QLatin1Char('/') + QLatin1String(file)), file);
        // The custom head picture heads the inner pages in place of the lettered name.
        QVERIFY(custom.page(QStringLiteral("p1.htm")).contains(QStringLiteral("src=\"pictures/topHeadSelf.jpg\"")));
        for (const char* unused : {"name-inner.png", "name-home.png"})
            QVERIFY2(!QFileInfo::exists(custom.out.path() + QStringLiteral("/pictures/") + QLatin1String(unused)),
                     unused);
        QCOMPARE(r.pages, pageCount(custom.out.path()));
        QVERIFY(brokenLinks(custom.out.path()).isEmpty());
    }

    // With the site's address and a search indexer: a sitemap, robots.txt and feeds that
    // xmllint reads, with absolute addresses and the news dates, newest first; and an index
    // in which a Chinese word of a news item finds that item's page and its list, nothing else.
    void feedsAndSearch()
    {
        const QString indexer = QStringLiteral(WEBLARK_SEARCH_INDEXER);
        if (!QFileInfo(indexer).isExecutable())
            QSKIP("no search indexer: scripts/install-deps.sh tests installs it");
        SampleSite site;
        const qint64 id =
            ContentRecords::insert(site.db, 1, QStringLiteral("格式 news"),
                                   ContentRecords::NewsItem{QStringLiteral("防汛<抗旱>工作部署"),
                                                            QStringLiteral("2026/3/9"),
                                                            TextCodec::encode(QStringLiteral("全县召开防汛会议\x01")),
                                                            {}})
                .lastInsertId.toLongLong();
        const SiteRenderResult r = site.render(QStringLiteral("https://example.org/s/"), indexer);
        QVERIFY2(r.ok && r.notes.filter(QStringLiteral("搜索")).isEmpty(), qPrintable(r.notes.join('\n') + r.error));
        const QString item = QStringLiteral("news1_%1.htm").arg(id);
        // Each file holds its text; {item} stands for the news item's page.
        const std::pair<const char*, const char*> expected[] = {
            {"sitemap.xml", "<loc>https://example.org/s/{item}</loc><lastmod>2026-03-09</lastmod>"},
            {"sitemap.xml", "<url><loc>https://example.org/s/</loc></url>"},
            {"robots.txt", "Sitemap: https://example.org/s/sitemap.xml"},
            {"rss.xml", "<item><title>防汛&lt;抗旱&gt;工作部署</title><link>https://example.org/s/{item}</link>"},
            {"rss-p2.xml",
             "<pubDate>Mon, 09 Mar 2026 00:00:00 +0800</pubDate><description>全县召开防汛会议</description>"},
            {"p2.htm", "<link rel=\"alternate\" type=\"application/rss+xml\" title=\"格式 news\" href=\"rss-p2.xml\">"},
            {"p6.htm", "<meta property=\"og:image\" content=\"https://example.org/s/pictures/"},
            {"p1.htm", "<form class=\"site-search\" action=\"search.htm\""},
        };
        for (const auto& [file, text] : expected) {
            const QString want = QString::fromUtf8(text).replace(QLatin1String("{item}"), item);
            QVERIFY2(site.page(QLatin1String(file)).contains(want), qPrintable(QLatin1String(file) + ": " + want));
        }
        QProcess lint;
        lint.start(QStringLiteral("xmllint"),
                   {QStringLiteral("--noout"), site.out.filePath(QStringLiteral("sitemap.xml")),
                    site.out.filePath(QStringLiteral("rss.xml")), site.out.filePath(QStringLiteral("rss-p2.xml"))});
        QVERIFY(lint.waitForFinished(30000));
        QVERIFY2(lint.exitCode() == 0, lint.readAllStandardError().constData());
        QProcess node;
        node.start(QStringLiteral("node"),
                   {QStringLiteral(WEBLARK_SEARCH_SCRIPT), site.out.path(), QStringLiteral("防汛")});
        QVERIFY(node.waitForFinished(30000));
        QStringList hits = QString::fromUtf8(node.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        hits.sort();
        QCOMPARE(hits, QStringList({QLatin1Char('/') + item, QStringLiteral("/p2.htm")})); // the item and its list
    }

    void unreadableDatabaseFails()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("bad.sbd")), QByteArray(4096, 'x'));
        for (const QString& db :
             {dir.filePath(QStringLiteral("bad.sbd")), dir.filePath(QStringLiteral("missing.sbd"))}) {
            const SiteRenderResult r =
                renderSite({db, dir.path(), TestAppDir::stagedAppDir(), dir.filePath(QStringLiteral("out"))});
            QVERIFY(!r.ok && !r.error.isEmpty());
        }
    }

    void pagesRunWithoutScriptErrors()
    {
        WatchedPage page;
        // The board greets on the home page only, until its close button is pressed; the ticker runs everywhere.
        const std::pair<const char*, const char*> pages[] = {{"index.htm", "true,false,true"},
                                                             {"news1_4.htm", "false,false,true"},
                                                             {"p7.htm", "false,false,true"},
                                                             {"prod1_16.htm", "false,false,true"}};
        // Whether there is a board, whether it is still there once closed, whether there is a ticker.
        const QString state = QStringLiteral("(() => { const had = !!document.querySelector('.ad-board');"
                                             "document.querySelector('.ad-close')?.click();"
                                             "return [had, !!document.querySelector('.ad-board'),"
                                             " !!document.querySelector('.ticker')].join(); })()");
        for (const auto& [file, expected] : pages) {
            QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
            page.load(QUrl::fromLocalFile(m_site.out.path() + QLatin1Char('/') + QLatin1String(file)));
            QVERIFY(loaded.wait(20000));
            QVERIFY(loaded.first().first().toBool());
            QCOMPARE(evalJs(&page, state).toString(), QString::fromLatin1(expected));
        }
        QVERIFY2(page.errors.isEmpty(), qPrintable(page.errors.join(QLatin1Char('\n'))));
    }

    // Every script effect of the theme table runs in a page, moved over and clicked, without an error.
    void everyEffectRunsWithoutErrors()
    {
        const QByteArray table = readFile(TestAppDir::stagedAppDir() + QStringLiteral("/site/themes.json"));
        const QJsonObject effects = QJsonDocument::fromJson(table).object().value(QStringLiteral("effects")).toObject();
        QCOMPARE(effects.size(), 13);
        WatchedPage page;
        // Shown, so that animation frames run.
        QWebEngineView view;
        view.setPage(&page);
        view.resize(400, 300);
        view.show();
        const QUrl folder = QUrl::fromLocalFile(TestAppDir::stagedAppDir() + QStringLiteral("/site/effects/"));
        for (auto it = effects.begin(); it != effects.end(); ++it) {
            const QJsonObject e = it.value().toObject();
            QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
            page.setHtml(
                QStringLiteral(
                    "<!DOCTYPE html><html><head><title>t</title></head><body><p>x</p>"
                    "<script>window.ticks = 0; (function t() { ++window.ticks; requestAnimationFrame(t); })();</script>"
                    "<script src=\"%1\" data-mode=\"%2\" data-text=\"欢迎 光临\" "
                    "onerror=\"console.error('the effect did not load')\"></script></body></html>")
                    .arg(e.value(QStringLiteral("file")).toString(), e.value(QStringLiteral("mode")).toString()),
                folder);
            QVERIFY(loaded.wait(20000));
            page.runJavaScript(QStringLiteral("for (const type of ['mousemove', 'click']) document.dispatchEvent("
                                              "new MouseEvent(type, {clientX: 50, clientY: 60, bubbles: true}));"
                                              "window.ticks = 0;"));
            QTRY_VERIFY_WITH_TIMEOUT(evalJs(&page, QStringLiteral("window.ticks")).toInt() >= 10, 10000);
            QVERIFY2(page.errors.isEmpty(),
                     qPrintable(it.key() + QLatin1Char(' ') + page.errors.join(QLatin1Char('\n'))));
        }
    }

private:
    SampleSite m_site;
    SiteRenderResult m_result;
};

WEBLARK_TEST_MAIN(TestSiteRender)
#include "test_site_render.moc"
