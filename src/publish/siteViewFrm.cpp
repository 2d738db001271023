#include "publish/siteViewFrm.h"

#include "core/AppContext.h"
#include "site/SiteRenderer.h"
#include "widgets/WebPane.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>
#include <QtConcurrent/QtConcurrentRun>

siteViewFrm::siteViewFrm(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("siteViewFrm"));
    setWindowTitle(QStringLiteral("预览网站"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1024, 720);

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setEnabled(false);
        return b;
    };
    cmd_back = button("cmd_back", QStringLiteral("后退"));
    cmd_forward = button("cmd_forward", QStringLiteral("前进"));
    cmd_refresh = button("cmd_refresh", QStringLiteral("刷新"));
    prg_render = new QProgressBar(this);
    prg_render->setObjectName(QStringLiteral("prg_render"));
    prg_render->setFixedWidth(200);
    prg_render->setTextVisible(false);
    lbl_status = new QLabel(this);
    lbl_status->setObjectName(QStringLiteral("lbl_status"));
    m_pane = new WebPane(this);

    auto* bar = new QHBoxLayout;
    bar->addWidget(cmd_back);
    bar->addWidget(cmd_forward);
    bar->addWidget(cmd_refresh);
    bar->addSpacing(12);
    bar->addWidget(lbl_status, 1);
    bar->addWidget(prg_render);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(4, 4, 4, 4);
    box->addLayout(bar);
    box->addWidget(m_pane, 1);

    QWebEngineView* view = m_pane->view();
    connect(cmd_back, &QPushButton::clicked, view, &QWebEngineView::back);
    connect(cmd_forward, &QPushButton::clicked, view, &QWebEngineView::forward);
    connect(cmd_refresh, &QPushButton::clicked, this, &siteViewFrm::cmd_refresh_Click);
    connect(view, &QWebEngineView::urlChanged, this, [this, view] {
        cmd_back->setEnabled(view->history()->canGoBack());
        cmd_forward->setEnabled(view->history()->canGoForward());
    });
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &siteViewFrm::renderFinished);
    cmd_refresh_Click();
}

siteViewFrm::~siteViewFrm()
{
    // The rendering writes into m_next: let it end before the folder goes.
    m_watcher.waitForFinished();
}

void siteViewFrm::cmd_refresh_Click()
{
    if (m_watcher.isRunning())
        return;
    m_next = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/weblark-preview-XXXXXX"));
    SiteRenderRequest request =
        SiteRenderRequest::forWorkspace(m_ctx.workPath, m_ctx.appPath, m_next->path() + QLatin1Char('/'));
    request.pictureCache = SiteRenderRequest::cacheBelow(m_ctx.dataPath);
    cmd_refresh->setEnabled(false);
    prg_render->setRange(0, 0);
    prg_render->show();
    lbl_status->setText(QStringLiteral("正在生成网站..."));
    // Progress comes from the worker and reaches the bar through this window's
    // event queue; the window outlives the worker (its destructor waits).
    const auto progress = [this](int done, int total) {
        QMetaObject::invokeMethod(
            this,
            [this, done, total] {
                if (total > 0) {
                    prg_render->setRange(0, total);
                    prg_render->setValue(done);
                }
            },
            Qt::QueuedConnection);
    };
    m_watcher.setFuture(QtConcurrent::run([request, progress] { return renderSite(request, progress); }));
}

void siteViewFrm::renderFinished()
{
    const SiteRenderResult result = m_watcher.result();
    cmd_refresh->setEnabled(true);
    prg_render->hide();
    if (!result.ok) {
        m_next.reset();
        lbl_status->setText(QStringLiteral("生成网站失败。"));
        m_ctx.dialogs.critical(QStringLiteral("生成网站失败：") + result.error, QStringLiteral("预览网站"));
        Q_EMIT rendered(false);
        return;
    }
    // The page on show is replaced before its folder is removed.
    m_pane->navigate(m_next->path() + QStringLiteral("/index.htm"));
    m_shown = std::move(m_next);
    // Notes (skipped pictures, a name too long to draw) show beside the count, all of them on hover.
    QString status = QStringLiteral("共 %1 个页面，%2 张图片。").arg(result.pages).arg(result.pictures);
    if (!result.notes.isEmpty())
        status += result.notes.size() == 1
                      ? result.notes.first()
                      : QStringLiteral("%1 等 %2 条提示").arg(result.notes.first()).arg(result.notes.size());
    lbl_status->setText(status);
    lbl_status->setToolTip(result.notes.join(QLatin1Char('\n')));
    Q_EMIT rendered(true);
}
