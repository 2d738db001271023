#pragma once

#include <QHash>
#include <QJsonArray>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <functional>

class QWebEngineView;
class QWebChannel;
class WebBridge;

// One embedded browser and all of its scripting. Pages push values that the
// program must be able to read at any moment (a ticked record, the editor's
// HTML) with weblark.push(key, value); they are kept here, so reading them
// never waits on the browser. Calls made before the page has loaded are held
// and run, in order, once it has.
class WebPane : public QWidget {
    Q_OBJECT
public:
    // UserDocument: the document comes from the user and runs no script of its
    // own; the program's helpers and the channel live in a world it cannot reach.
    enum class Scripts { Page, UserDocument };
    explicit WebPane(QWidget* parent = nullptr, Scripts scripts = Scripts::Page);
    ~WebPane() override;

    // A local file path or a URL.
    void navigate(const QString& pathOrUrl);
    void setHtml(const QString& html, const QUrl& baseUrl = QUrl());
    QUrl url() const { return m_url; }
    bool isLoaded() const { return m_loaded; }

    // Element by id, else the first element with that name.
    void setInnerHtml(const QString& element, const QString& html);
    void prependInnerHtml(const QString& element, const QString& html);
    // Sets a form control's value (by id, else name) and pushes it as that key.
    void setValue(const QString& element, const QString& value);
    // window[function](...args)
    void callFunction(const QString& function, const QJsonArray& args = {});
    // The same, handing the function's return value to done (not called before the page has loaded).
    void callFunction(const QString& function, const QJsonArray& args,
                      const std::function<void(const QVariant&)>& done);
    // A script of the program injected into every document, after the bridge.
    void addScript(const QString& name, const QString& source);

    // The value last pushed by the page under key ("" when none).
    QString pushedValue(const QString& key) const { return m_values.value(key); }
    void clearPushedValues() { m_values.clear(); }
    // The HTML last given to setInnerHtml for that element (what the page shows once loaded).
    QString lastInnerHtml(const QString& element) const { return m_lastInner.value(element); }

    QWebEngineView* view() const { return m_view; }

Q_SIGNALS:
    void loadFinished(bool ok);
    void valuePushed(const QString& key, const QString& value);

private:
    friend class WebBridge;
    void onPushed(const QString& key, const QString& value);
    void onLoadFinished(bool ok);
    void runOrQueue(const QString& script);
    static QString call(const QString& function, const QJsonArray& args);

    QWebEngineView* m_view = nullptr;
    quint32 m_world = 0;
    QWebChannel* m_channel = nullptr;
    WebBridge* m_bridge = nullptr;
    QUrl m_url;
    bool m_loaded = false;
    QStringList m_pending;
    QHash<QString, QString> m_values;
    QHash<QString, QString> m_lastInner;
};
