// Draws the pictures of the application directory: weblark-mkassets OUTDIR
// or the program's icons for the desktop (hicolor theme):   weblark-mkassets --icons OUTDIR
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
    const bool icons = args.size() == 3 && args.at(1) == QLatin1String("--icons");
    if (args.size() != 2 && !icons) {
        std::fprintf(stderr, "usage: weblark-mkassets [--icons] OUTDIR\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    try {
        mk::AssetWriter out(args.last());
        if (icons) {
            mk::makeIcons(out);
        } else {
            mk::makeNameStyles(out);
            mk::makeBackgrounds(out);
            mk::makeChooserImages(out);
            mk::makeSplash(out);
            mk::makeSkins(out);
        }
        std::printf("weblark-mkassets: %d pictures in %s (%lld ms)\n", int(out.written().size()),
                    qPrintable(args.last()), static_cast<long long>(clock.elapsed()));
    } catch (const mk::AssetError& e) {
        std::fprintf(stderr, "weblark-mkassets: %s\n", e.what());
        return 1;
    }
    return 0;
}
