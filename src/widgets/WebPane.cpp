#include "WebPane.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

// The object pages talk to through the web channel.
class WebBridge : public QObject {
    Q_OBJECT
public:
    explicit WebBridge(WebPane* pane) : QObject(pane), m_pane(pane) {}

public Q_SLOTS:
    void push(const QString& key, const QString& value) { m_pane->onPushed(key, value); }

private:
    WebPane* m_pane;
};

static QString readResource(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

WebPane::WebPane(QWidget* parent, Scripts scripts)
    : QWidget(parent),
      m_world(scripts == Scripts::Page ? QWebEngineScript::MainWorld : QWebEngineScript::ApplicationWorld)
{
    Q_INIT_RESOURCE(webpane);
    m_view = new QWebEngineView(this);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(m_view);

    QWebEnginePage* page = m_view->page();
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    // Only the document's own scripts stop; the program's world keeps running.
    page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, scripts == Scripts::Page);

    m_bridge = new WebBridge(this);
    m_channel = new QWebChannel(this);
    m_channel->registerObject(QStringLiteral("weblark"), m_bridge);
    page->setWebChannel(m_channel, m_world);

    QWebEngineScript script;
    script.setName(QStringLiteral("weblark-bridge"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(m_world);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(readResource(QStringLiteral(":/qtwebchannel/qwebchannel.js")) + QLatin1Char('\n') +
                         readResource(QStringLiteral(":/weblark/webpane/bridge.js")));
    page->scripts().insert(script);

    connect(m_view, &QWebEngineView::loadStarted, this, [this] { m_loaded = false; });
    connect(m_view, &QWebEngineView::loadFinished, this, &WebPane::onLoadFinished);
}

WebPane::~WebPane() = default;

void WebPane::navigate(const QString& pathOrUrl)
{
    const QUrl url = QFileInfo(pathOrUrl).isAbsolute() ? QUrl::fromLocalFile(pathOrUrl) : QUrl(pathOrUrl);
    m_url = url;
    m_loaded = false;
    m_pending.clear();
    m_view->setUrl(url);
}

void WebPane::setHtml(const QString& html, const QUrl& baseUrl)
{
    m_url = baseUrl;
    m_loaded = false;
    m_pending.clear();
    m_view->setHtml(html, baseUrl.isEmpty() ? QUrl(QStringLiteral("file:///")) : baseUrl);
}

QString WebPane::call(const QString& function, const QJsonArray& args)
{
    const QString json = QString::fromUtf8(QJsonDocument(args).toJson(QJsonDocument::Compact));
    return QStringLiteral("(function(){var f=window%1;if(typeof f==='function'){f.apply(null,%2);}})();")
        .arg(QString::fromUtf8(QJsonDocument(QJsonArray{function}).toJson(QJsonDocument::Compact)), json);
}

void WebPane::addScript(const QString& name, const QString& source)
{
    QWebEngineScript script;
    script.setName(name);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(m_world);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(source);
    m_view->page()->scripts().insert(script);
}

void WebPane::callFunction(const QString& function, const QJsonArray& args,
                           const std::function<void(const QVariant&)>& done)
{
    if (!m_loaded)
        return;
    const QString json = QString::fromUtf8(QJsonDocument(args).toJson(QJsonDocument::Compact));
    const QString name = QString::fromUtf8(QJsonDocument(QJsonArray{function}).toJson(QJsonDocument::Compact));
    m_view->page()->runJavaScript(
        QStringLiteral("(function(){var f=window%1;return typeof f==='function'?f.apply(null,%2):null;})();")
            .arg(name, json),
        m_world, done);
}

void WebPane::runOrQueue(const QString& script)
{
    if (m_loaded)
        m_view->page()->runJavaScript(script, m_world);
    else
        m_pending << script;
}

void WebPane::setInnerHtml(const QString& element, const QString& html)
{
    m_lastInner.insert(element, html);
    runOrQueue(QStringLiteral("window.__weblark&&__weblark.setInner.apply(null,%1);")
                   .arg(QString::fromUtf8(QJsonDocument(QJsonArray{element, html}).toJson(QJsonDocument::Compact))));
}

void WebPane::prependInnerHtml(const QString& element, const QString& html)
{
    m_lastInner[element].prepend(html);
    runOrQueue(QStringLiteral("window.__weblark&&__weblark.prependInner.apply(null,%1);")
                   .arg(QString::fromUtf8(QJsonDocument(QJsonArray{element, html}).toJson(QJsonDocument::Compact))));
}

void WebPane::setValue(const QString& element, const QString& value)
{
    m_values.insert(element, value);
    runOrQueue(QStringLiteral("window.__weblark&&__weblark.setValue.apply(null,%1);")
                   .arg(QString::fromUtf8(QJsonDocument(QJsonArray{element, value}).toJson(QJsonDocument::Compact))));
}

void WebPane::callFunction(const QString& function, const QJsonArray& args)
{
    runOrQueue(call(function, args));
}

void WebPane::onPushed(const QString& key, const QString& value)
{
    m_values.insert(key, value);
    Q_EMIT valuePushed(key, value);
}

void WebPane::onLoadFinished(bool ok)
{
    m_loaded = true;
    const QStringList pending = std::exchange(m_pending, {});
    for (const QString& s : pending)
        m_view->page()->runJavaScript(s, m_world);
    Q_EMIT loadFinished(ok);
}

#include "WebPane.moc"
