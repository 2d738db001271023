// Draws the pictures of the application directory: weblark-mkassets OUTDIR
#include "art.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // Runs during the build, where there is no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: weblark-mkassets OUTDIR\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    try {
        mk::AssetWriter out(args.at(1));
        mk::makeNameStyles(out);
        mk::makeBackgrounds(out);
        mk::makeChooserImages(out);
        mk::makeSplash(out);
        mk::makeSkins(out);
        std::printf("weblark-mkassets: %d pictures in %s (%lld ms)\n", int(out.written().size()),
                    qPrintable(args.at(1)), static_cast<long long>(clock.elapsed()));
    } catch (const mk::AssetError& e) {
        std::fprintf(stderr, "weblark-mkassets: %s\n", e.what());
        return 1;
    }
    return 0;
}
