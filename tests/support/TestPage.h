#pragma once

#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QtTest>

#include <memory>
#include <optional>

// Runs a script in the page and waits for its answer: an invalid value when none comes in time.
// The answer is shared with the callback, which may still arrive after the wait gave up.
inline QVariant evalJs(QWebEnginePage* page, const QString& js, int timeoutMs = 10000,
                       quint32 world = QWebEngineScript::MainWorld)
{
    const auto answer = std::make_shared<std::optional<QVariant>>();
    page->runJavaScript(js, world, [answer](const QVariant& v) { *answer = v; });
    return QTest::qWaitFor([&] { return answer->has_value(); }, timeoutMs) ? **answer : QVariant();
}
