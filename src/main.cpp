#include "app/MDIFrm.h"
#include "app/Translations.h"
#include "app/WindowTable.h"
#include "app/frmSplash.h"
#include "site/SiteFeeds.h"
#include "site/SiteRenderer.h"
#include "site/SiteSearch.h"
#include "widgets/QtDialogService.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    // Exporting the site opens no window, so it needs no display.
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--export-site") == 0 && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("weblark"));
    // No display name: the platform would append it to every title, which must read exactly as given.
    QApplication::setApplicationVersion(QStringLiteral(WEBLARK_VERSION));

    installChineseTranslations(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Weblark自动建站软件：不写网页代码，建立并发布单位网站。"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption appDirOption(
        QStringLiteral("appdir"), QStringLiteral("使用另一个程序目录（默认为程序所在目录）。"), QStringLiteral("DIR"));
    QCommandLineOption probeOption(QStringLiteral("startup-probe"), QStringLiteral("启动完成后打印所用毫秒数并退出。"));
    QCommandLineOption exportOption(QStringLiteral("export-site"),
                                    QStringLiteral("把当前工作区的网站生成为静态网页，写入DIR后退出。"),
                                    QStringLiteral("DIR"));
    QCommandLineOption baseUrlOption(
        QStringLiteral("base-url"),
        QStringLiteral("与 --export-site 同用：网站的公开地址（如 https://www.example.org/），"
                       "用于网站地图和新闻订阅；没有它就不生成这两样。"),
        QStringLiteral("URL"));
    parser.addOption(appDirOption);
    parser.addOption(baseUrlOption);
    parser.addOption(probeOption);
    parser.addOption(exportOption);
    parser.process(app);

    const DataRoots roots =
        Workspace::programRoots(parser.value(appDirOption), QCoreApplication::applicationDirPath(),
                                QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    if (parser.isSet(exportOption)) {
        const WorkspaceSetup ws = Workspace::resolve(roots);
        SiteRenderRequest request =
            SiteRenderRequest::forWorkspace(ws.workPath, ws.appPath, parser.value(exportOption));
        if (parser.isSet(baseUrlOption)) {
            QString error;
            request.baseUrl = SiteFeeds::normalBaseUrl(parser.value(baseUrlOption), &error);
            if (request.baseUrl.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                return 2;
            }
        }
        request.pictureCache = SiteRenderRequest::cacheBelow(ws.dataPath);
        request.searchIndexer = SiteSearch::findIndexer(QString(), ws.appPath);
        const SiteRenderResult r = renderSite(request);
        for (const QString& note : ws.problems + r.notes)
            std::fprintf(stderr, "%s\n", qPrintable(note));
        if (!r.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(r.error));
            return 1;
        }
        std::printf("pages %d\npictures %d\n", r.pages, r.pictures);
        if (request.searchIndexer.isEmpty())
            std::fprintf(stderr, "%s\n", "没有找到站内搜索索引程序 pagefind_extended，网页不带搜索框");
        return 0;
    }
    const bool probe = parser.isSet(probeOption);

    QtDialogService dialogs;
    ProgramParts parts; // outlives the frame's windows
    std::unique_ptr<MDIFrm> mainWindow;
    frmSplash* splash = nullptr;
    splash = new frmSplash(roots.appPath + QStringLiteral("splash.png"), [&] {
        // The composition root: the frame learns of the program's windows only through this table.
        mainWindow = std::make_unique<MDIFrm>(roots, dialogs, programWindows(parts));
        connectProgramWindows(*mainWindow, parts);
        mainWindow->load(splash);
        splash->deleteLater();
        if (probe) {
            // Idle: the first turn of the event loop with nothing left to do.
            QTimer::singleShot(0, &app, [&] {
                std::printf("startup_ms %lld\n", static_cast<long long>(sinceStart.elapsed()));
                std::fflush(stdout);
                mainWindow->close();
                app.quit();
            });
        }
    });
    splash->setAttribute(Qt::WA_DeleteOnClose, false);
    splash->show();
    return app.exec();
}
