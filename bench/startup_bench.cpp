// Start-up time: from process start to the main window shown and idle, against
// a temporary application directory with the pristine database.
#include "TestAppDir.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = 7;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        TestAppDir dir;
        if (!dir.isValid()) {
            std::fprintf(stderr, "cannot stage an application directory\n");
            return 1;
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        env.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"), QStringLiteral("--disable-gpu --no-sandbox"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(WEBLARK_PROGRAM),
                {QStringLiteral("--appdir"), dir.path(), QStringLiteral("--startup-probe")});
        if (!p.waitForFinished(60000)) {
            std::fprintf(stderr, "the program did not finish\n");
            p.kill();
            return 1;
        }
        const QList<QByteArray> lines = p.readAllStandardOutput().split('\n');
        for (const QByteArray& line : lines) {
            if (line.startsWith("startup_ms "))
                times.push_back(line.mid(11).trimmed().toDouble());
        }
    }
    if (times.empty()) {
        std::fprintf(stderr, "no start-up time was printed\n");
        return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("startup_ms %.0f ms\n", times[times.size() / 2]);
    std::printf("startup_ms_min %.0f ms\n", times.front());
    return 0;
}
