// weblark-shoot: the template pictures of the choosers, as screenshots of the
// themes themselves. For every row of defaultTmpl (home page) and headTmpl
// (inner pages) a sample site of the row's category is rendered with that
// template and photographed: <code>.png (thumbnail) and <code>.jpg (full size).
//
//   weblark-shoot --appdir STAGED_APPDIR --out resources/appdir/template
//
// Needs a display (run it under Xvfb: scripts/shoot-templates.sh).
#include "SampleSite.h"
#include "data/SiteDb.h"
#include "site/SiteRenderer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <cstdio>

namespace {

constexpr int kPageWidth = 1000; // the width the themes are designed for
constexpr int kHomeHeight = 750;
constexpr int kInnerHeight = 600;

struct Row {
    QString category;
    QString name; // "D0101.png"
};

QList<Row> rows(const SiteDb& db, const QString& table)
{
    QList<Row> out;
    const SqlResult r = db.run(QStringLiteral("SELECT tmplType, tmplName FROM %1").arg(table));
    for (const QSqlRecord& rec : r.rows)
        out.append({rec.value(0).toString(), rec.value(1).toString()});
    return out;
}

// The first page the home page links to, other than itself: an inner page.
QString innerPage(const QString& outDir)
{
    QFile f(outDir + QStringLiteral("index.htm"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString html = QString::fromUtf8(f.readAll());
    QRegularExpressionMatchIterator it =
        QRegularExpression(QStringLiteral("href=\"([^\"#?:]+\\.htm)\"")).globalMatch(html);
    while (it.hasNext()) {
        const QString href = it.next().captured(1);
        if (href != QLatin1String("index.htm") && QFileInfo::exists(outDir + href))
            return href;
    }
    return {};
}

class Camera {
public:
    Camera()
    {
        // A picture of the page, not of the browser around it.
        m_view.settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
        m_view.show();
    }
    // Loads the page at the given size and returns what the window shows.
    QImage shoot(const QString& file, int height)
    {
        m_view.resize(kPageWidth, height);
        QEventLoop loop;
        bool ok = false;
        const auto c = QObject::connect(&m_view, &QWebEngineView::loadFinished, &loop, [&](bool done) {
            ok = done;
            // Pictures and fonts settle a moment after the load event.
            QTimer::singleShot(600, &loop, &QEventLoop::quit);
        });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        m_view.setUrl(QUrl::fromLocalFile(file));
        loop.exec();
        QObject::disconnect(c);
        return ok ? m_view.grab().toImage() : QImage();
    }

private:
    QWebEngineView m_view;
};

bool save(const QImage& page, const QString& out, const QString& code, int thumbWidth, QString* error)
{
    if (page.isNull()) {
        *error = code + QStringLiteral(": the page did not load");
        return false;
    }
    const QImage thumb = page.scaledToWidth(thumbWidth, Qt::SmoothTransformation);
    if (!page.save(out + code + QStringLiteral(".jpg"), "JPG", 85) ||
        !thumb.save(out + code + QStringLiteral(".png"), "PNG")) {
        *error = code + QStringLiteral(": cannot write into ") + out;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption appdirOpt(QStringLiteral("appdir"), QStringLiteral("Staged application folder."),
                                       QStringLiteral("DIR"));
    const QCommandLineOption outOpt(QStringLiteral("out"), QStringLiteral("Folder for the pictures."),
                                    QStringLiteral("DIR"));
    parser.addOptions({appdirOpt, outOpt});
    parser.process(app);
    const QString appdir = QDir(parser.value(appdirOpt)).absolutePath() + QLatin1Char('/');
    const QString out = QDir(parser.value(outOpt)).absolutePath() + QLatin1Char('/');
    const QString pristine = appdir + QStringLiteral("initData/govbuilder.sbd");
    if (!parser.isSet(appdirOpt) || !parser.isSet(outOpt) || !QFileInfo::exists(pristine)) {
        std::fprintf(stderr, "usage: weblark-shoot --appdir STAGED_APPDIR --out DIR (no %s)\n", qPrintable(pristine));
        return 2;
    }
    QDir().mkpath(out);

    QList<Row> homes, heads;
    {
        SiteDb db(QStringLiteral("shoot-rows"));
        if (!db.open(appdir + QStringLiteral("initData/"))) {
            std::fprintf(stderr, "weblark-shoot: %s\n", qPrintable(db.lastOpenError()));
            return 1;
        }
        homes = rows(db, QStringLiteral("defaultTmpl"));
        heads = rows(db, QStringLiteral("headTmpl"));
    }

    Camera camera;
    QTemporaryDir tmp;
    int n = 0;
    QString error;
    const auto shootRow = [&](const Row& row, bool home) {
        // A fresh workspace per picture: the sample of the row's category with this template.
        const QString work = tmp.filePath(QStringLiteral("w%1/").arg(n));
        const QString site = tmp.filePath(QStringLiteral("s%1/").arg(n++));
        QDir().mkpath(work);
        if (!QFile::copy(pristine, work + SiteDb::kFileName) ||
            !QFile::setPermissions(work + SiteDb::kFileName, QFile::ReadOwner | QFile::WriteOwner) ||
            !SampleSite::fill(work, row.category, &error))
            return false;
        {
            SiteDb db(QStringLiteral("shoot-choice"));
            db.open(work);
            db.run(QStringLiteral("UPDATE user_info SET %1=?")
                       .arg(home ? QStringLiteral("defaultTmpl") : QStringLiteral("headTmpl")),
                   {row.name});
            if (home) // the inner pages in the home page's family
                db.run(QStringLiteral("UPDATE user_info SET headTmpl=(SELECT tmplName FROM headTmpl WHERE tmplType=?)"),
                       {row.category});
        }
        const SiteRenderResult r = renderSite(SiteRenderRequest::forWorkspace(work, appdir, site));
        if (!r.ok) {
            error = row.name + QStringLiteral(": ") + r.error;
            return false;
        }
        const QString page = home ? QStringLiteral("index.htm") : innerPage(site);
        if (page.isEmpty()) {
            error = row.name + QStringLiteral(": the home page links to no inner page");
            return false;
        }
        const QString code = row.name.left(5);
        if (!save(camera.shoot(site + page, home ? kHomeHeight : kInnerHeight), out, code, 160, &error))
            return false;
        std::printf("%s.png %s.jpg (%s)\n", qPrintable(code), qPrintable(code), qPrintable(page));
        std::fflush(stdout);
        return true;
    };
    for (const Row& row : std::as_const(homes)) {
        if (!shootRow(row, true)) {
            std::fprintf(stderr, "weblark-shoot: %s\n", qPrintable(error));
            return 1;
        }
    }
    for (const Row& row : std::as_const(heads)) {
        if (!shootRow(row, false)) {
            std::fprintf(stderr, "weblark-shoot: %s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}
