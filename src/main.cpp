#include "app/MDIFrm.h"
#include "app/Translations.h"
#include "app/WindowTable.h"
#include "app/frmSplash.h"
#include "widgets/QtDialogService.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
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
    parser.addOption(appDirOption);
    parser.addOption(probeOption);
    parser.process(app);

    const QString appDir =
        parser.isSet(appDirOption) ? parser.value(appDirOption) : QCoreApplication::applicationDirPath();
    const bool probe = parser.isSet(probeOption);

    QtDialogService dialogs;
    std::unique_ptr<MDIFrm> mainWindow;
    frmSplash* splash = nullptr;
    splash = new frmSplash(appDir + QStringLiteral("/splash.png"), [&] {
        // The composition root: the frame learns of the program's windows only through this table.
        mainWindow = std::make_unique<MDIFrm>(appDir, dialogs, programWindows());
        connectProgramWindows(*mainWindow);
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
