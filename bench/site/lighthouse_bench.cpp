// The rendered site as a phone sees it: Lighthouse (mobile profile, Debian's chromium)
// audits pages served by weblark-hostd on loopback and the lowest score of each category
// is printed: over one page of every kind in the first theme pair, and over a few pages
// of the other two home and inner layouts and of a site with a script effect and the
// ad board. While tuning, WEBLARK_LIGHTHOUSE_SITE=name audits only that site and
// WEBLARK_LIGHTHOUSE_PAGES=N only the first N pages; WEBLARK_LIGHTHOUSE_REPORTS=folder
// keeps every report there.
#include "GeneratedSite.h"
#include "HostdProcess.h"
#include "site/SiteRenderer.h"
#include "site/SiteSearch.h"

#include "data/FeatureFields.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <vector>

namespace {

const QString kTools = QStringLiteral(WEBLARK_WEB_TOOLS);
const QString kChromium = QStringLiteral("/usr/bin/chromium");

struct AuditedSite {
    const char* name; // the site's name on the server: letters and digits
    const char* home; // home-page theme
    const char* inner;
    bool extras; // script effect and ad board
    QStringList pages;
};

// Phone-camera-sized pictures with something in them to compress.
void drawPhotos(const QString& workPath, int count)
{
    for (int n = 0; n < count; ++n) {
        QImage img(1200, 900, QImage::Format_RGB32);
        QPainter p(&img);
        QLinearGradient g(0, 0, 1200, 900);
        g.setColorAt(0, QColor::fromHsv((n * 37) % 360, 140, 230));
        g.setColorAt(1, QColor::fromHsv((n * 37 + 120) % 360, 200, 90));
        p.fillRect(img.rect(), g);
        p.setPen(QPen(Qt::white, 6));
        for (int i = 0; i < 12; ++i)
            p.drawEllipse(QPoint(100 * i, 450 + 200 * ((i + n) % 3 - 1)), 80 + 10 * i, 60);
        p.end();
        img.save(workPath + GeneratedSite::picture(n), "JPG", 82);
    }
}

// A site of every page kind in data/sites/<name>/www: pages p1..p11 of the display
// formats in turn, a catalog p12 with a page, a news item and a product page.
bool buildSite(const QString& data, const AuditedSite& shape)
{
    const QString site = data + QStringLiteral("/sites/") + QLatin1String(shape.name) + QLatin1Char('/');
    const QString work = site + QStringLiteral("site/");
    QDir().mkpath(work);
    QFile::copy(QStringLiteral(WEBLARK_STAGED_APPDIR) + QStringLiteral("/initData/govbuilder.sbd"),
                work + QStringLiteral("govbuilder.sbd"));
    QFile::setPermissions(work + QStringLiteral("govbuilder.sbd"), QFile::ReadOwner | QFile::WriteOwner);
    {
        SiteDb db(QStringLiteral("lighthouse-") + QLatin1String(shape.name));
        if (!db.open(work))
            return false;
        GeneratedSite gen;
        drawPhotos(work, gen.pictures);
        int n = gen.writeEveryFormat(db, QStringLiteral("栏目 "));
        insertCatalogRow(db, 1, {QStringLiteral("机构设置")}, true, ++n);
        insertCatalogRow(db, 2, {QStringLiteral("机构设置"), QStringLiteral("办公室")}, false, 1,
                         QStringLiteral("txt"));
        gen.fillPage(db, 2, QStringLiteral("办公室"), QStringLiteral("txt"), n);
        const std::pair<const char*, QString> settings[] = {
            {"webName", QStringLiteral("示范单位门户网站")},
            {"gov_name", QStringLiteral("示范单位")},
            {"address", QStringLiteral("示范市人民路1号")},
            {"tel", QStringLiteral("010-12345678")},
            {"logo", GeneratedSite::picture(2)},
            {"defaultTmpl", QLatin1String(shape.home) + QStringLiteral(".png")},
            {"headTmpl", QLatin1String(shape.inner) + QStringLiteral(".png")},
            {"defaultFont", QStringLiteral("font02.png")},
            {"headFont", QStringLiteral("font05.png")},
            {"adBoard", shape.extras ? FeatureFields::adBoardField({QStringLiteral("300"), QStringLiteral("160"),
                                                                    QStringLiteral("120"), QStringLiteral("40"),
                                                                    QStringLiteral("通知"), QStringLiteral("欢迎访问")})
                                     : QString()},
            {"javascript",
             shape.extras ? FeatureFields::scriptField({6, QStringLiteral("欢迎光临"), true, {}}) : QString()},
        };
        for (const auto& [column, value] : settings)
            db.updateUserInfo(QLatin1String(column), value);
    }
    const QString appdir = QStringLiteral(WEBLARK_STAGED_APPDIR) + QLatin1Char('/');
    SiteRenderRequest request = SiteRenderRequest::forWorkspace(work, appdir, site + QStringLiteral("www"));
    request.searchIndexer = SiteSearch::findIndexer(QString(), appdir);
    const SiteRenderResult r = renderSite(request);
    if (!r.ok)
        std::fprintf(stderr, "cannot render %s: %s\n", shape.name, qPrintable(r.error));
    return r.ok;
}

// The first record page of a kind ("news1_", "prod1_") of a rendered site.
QString firstOf(const QString& www, const QString& prefix)
{
    const QStringList files = QDir(www).entryList({prefix + QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
    return files.value(0);
}

struct Scores {
    std::map<QString, int> byCategory; // performance, accessibility, best-practices, seo
    QStringList misses;                // audits short of full marks, for tuning
};

Scores audit(const QString& url, const QString& report)
{
    QProcess lh;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CHROME_PATH"), kChromium);
    lh.setProcessEnvironment(env);
    lh.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    lh.start(kTools + QStringLiteral("/node_modules/.bin/lighthouse"),
             {url, QStringLiteral("--quiet"), QStringLiteral("--output=json"),
              QStringLiteral("--output-path=") + report,
              QStringLiteral("--only-categories=performance,accessibility,best-practices,seo"),
              QStringLiteral("--chrome-flags=--headless=new --no-sandbox")});
    Scores s;
    if (!lh.waitForFinished(240000) || lh.exitCode() != 0)
        return s;
    QFile f(report);
    if (!f.open(QIODevice::ReadOnly))
        return s;
    const QJsonObject root = QJsonDocument::fromJson(f.readAll()).object();
    const QJsonObject categories = root.value(QStringLiteral("categories")).toObject();
    const QJsonObject audits = root.value(QStringLiteral("audits")).toObject();
    for (auto it = categories.begin(); it != categories.end(); ++it) {
        const QJsonObject c = it.value().toObject();
        s.byCategory[it.key()] = qRound(c.value(QStringLiteral("score")).toDouble(-1) * 100);
        for (const auto& ref : c.value(QStringLiteral("auditRefs")).toArray()) {
            const QJsonObject r = ref.toObject();
            const QString id = r.value(QStringLiteral("id")).toString();
            const QJsonObject a = audits.value(id).toObject();
            const QJsonValue score = a.value(QStringLiteral("score"));
            if (r.value(QStringLiteral("weight")).toDouble() == 0 || !score.isDouble() || score.toDouble() >= 1)
                continue;
            // The first item the audit names: a file or an element (for a layout shift, the
            // element that moved most).
            const QJsonObject named = id == QLatin1String("cumulative-layout-shift")
                                          ? audits.value(QStringLiteral("layout-shifts")).toObject()
                                          : a;
            const QJsonObject item = named.value(QStringLiteral("details"))
                                         .toObject()
                                         .value(QStringLiteral("items"))
                                         .toArray()
                                         .first()
                                         .toObject();
            const QString where =
                item.value(QStringLiteral("url")).toString() +
                item.value(QStringLiteral("node")).toObject().value(QStringLiteral("snippet")).toString();
            s.misses << QStringLiteral("%1=%2 [%3]").arg(id).arg(score.toDouble(), 0, 'f', 2).arg(where.left(160));
        }
    }
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!QFile::exists(kTools + QStringLiteral("/node_modules/.bin/lighthouse")) || !QFile::exists(kChromium)) {
        std::printf("skip bench_lighthouse: needs %s (scripts/install-deps.sh bench) and %s\n",
                    qPrintable(kTools + QStringLiteral("/node_modules/.bin/lighthouse")), qPrintable(kChromium));
        return 0;
    }
    const QStringList allKinds{
        QStringLiteral("index.htm"), QStringLiteral("p12.htm"), QStringLiteral("p1.htm"), QStringLiteral("p3.htm"),
        QStringLiteral("p4.htm"),    QStringLiteral("p5.htm"),  QStringLiteral("p6.htm"), QStringLiteral("p2.htm"),
        QStringLiteral("news1_"),    QStringLiteral("p7.htm"),  QStringLiteral("p9.htm"), QStringLiteral("p10.htm"),
        QStringLiteral("p11.htm"),   QStringLiteral("prod1_"),  QStringLiteral("p8.htm"), QStringLiteral("search.htm")};
    const QStringList some{QStringLiteral("index.htm"), QStringLiteral("p2.htm"), QStringLiteral("p4.htm"),
                           QStringLiteral("prod1_")};
    std::vector<AuditedSite> sites{
        {"classicleft", "D0101", "H0101", false, allKinds},
        {"portalright", "D0102", "H0102", false, some},
        {"sidebarwide", "D0103", "H0103", false, some},
        {"effect", "D0302", "H0302", true, {QStringLiteral("index.htm"), QStringLiteral("p4.htm")}}};

    QTemporaryDir tmp;
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                          QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    const QString data = tmp.filePath(QStringLiteral("data"));
    for (const AuditedSite& s : sites)
        if (!buildSite(data, s))
            return 1;
    QProcess hostd;
    const quint16 port =
        startHostd(hostd, QStringLiteral(WEBLARK_HOSTD), tmp.path(), data, QStringLiteral(WEBLARK_STAGED_APPDIR));
    if (!port)
        return 1;

    QFile loadavg(QStringLiteral("/proc/loadavg"));
    loadavg.open(QIODevice::ReadOnly);
    std::printf("lighthouse_load_before %.2f load\n", loadavg.readAll().split(' ').value(0).toDouble());
    std::fflush(stdout);

    int budget = qEnvironmentVariableIsSet("WEBLARK_LIGHTHOUSE_PAGES")
                     ? qEnvironmentVariableIntValue("WEBLARK_LIGHTHOUSE_PAGES")
                     : 1000;
    const QStringList categories{QStringLiteral("performance"), QStringLiteral("accessibility"),
                                 QStringLiteral("best-practices"), QStringLiteral("seo")};
    std::map<QString, int> lowest;
    bool failed = false;
    for (const AuditedSite& s : sites) {
        const QByteArray only = qgetenv("WEBLARK_LIGHTHOUSE_SITE");
        if (!only.isEmpty() && only != s.name)
            continue;
        std::map<QString, int> siteLowest;
        const QString www = data + QStringLiteral("/sites/") + QLatin1String(s.name) + QStringLiteral("/www");
        for (QString page : s.pages) {
            if (budget-- <= 0)
                break;
            if (!page.endsWith(QLatin1String(".htm")))
                page = firstOf(www, page);
            if (page.isEmpty() || !QFile::exists(www + QLatin1Char('/') + page)) {
                std::fprintf(stderr, "%s: no page %s (the search page needs the indexer)\n", s.name, qPrintable(page));
                continue;
            }
            const QString url = QStringLiteral("http://127.0.0.1:%1/%2/%3").arg(port).arg(QLatin1String(s.name), page);
            const QString reports = qEnvironmentVariable("WEBLARK_LIGHTHOUSE_REPORTS");
            const Scores sc = audit(
                url, reports.isEmpty() ? tmp.filePath(QStringLiteral("report.json"))
                                       : reports + QStringLiteral("/%1-%2.json").arg(QLatin1String(s.name), page));
            if (sc.byCategory.size() != size_t(categories.size())) {
                std::fprintf(stderr, "lighthouse failed on %s\n", qPrintable(url));
                failed = true;
                continue;
            }
            std::fprintf(stderr, "%s/%s: perf %d a11y %d bp %d seo %d %s\n", s.name, qPrintable(page),
                         sc.byCategory.at(categories[0]), sc.byCategory.at(categories[1]),
                         sc.byCategory.at(categories[2]), sc.byCategory.at(categories[3]),
                         qPrintable(sc.misses.join(QLatin1Char(' '))));
            for (const auto& [c, v] : sc.byCategory) {
                siteLowest[c] = siteLowest.count(c) ? std::min(siteLowest[c], v) : v;
                lowest[c] = lowest.count(c) ? std::min(lowest[c], v) : v;
            }
        }
        for (const QString& c : categories)
            if (siteLowest.count(c))
                std::printf("lighthouse_%s_min_%s %d score\n", s.name, qPrintable(QString(c).replace('-', '_')),
                            siteLowest[c]);
        std::fflush(stdout);
    }
    for (const QString& c : categories)
        if (lowest.count(c))
            std::printf("lighthouse_min_%s %d score\n", qPrintable(QString(c).replace('-', '_')), lowest[c]);
    loadavg.seek(0);
    std::printf("lighthouse_load_after %.2f load\n", loadavg.readAll().split(' ').value(0).toDouble());
    hostd.write("quit\n");
    if (!hostd.waitForFinished(10000))
        hostd.kill();
    return failed ? 1 : 0;
}
