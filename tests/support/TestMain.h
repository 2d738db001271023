#pragma once

#include <QApplication>
#include <QtTest>

// QTEST_MAIN for the program's tests: headless, with the web engine set up as the program does.
#define WEBLARK_TEST_MAIN(TestClass)                                                                                   \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        qputenv("QT_QPA_PLATFORM",                                                                                     \
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));          \
        if (qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").isEmpty())                                                           \
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");                                       \
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");                                                                   \
        QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                                        \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestClass tc;                                                                                                  \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
