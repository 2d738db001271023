#pragma once

#include "site/SiteRenderer.h"

#include <QFutureWatcher>
#include <QWidget>

#include <memory>

class AppContext;
class QLabel;
class QProgressBar;
class QPushButton;
class QTemporaryDir;
class WebPane;

// The preview window "预览网站": the whole site rendered from the current
// workspace into a temporary folder and browsed like the published site.
// Nothing is uploaded and the workspace is left as it is.
class siteViewFrm : public QWidget {
    Q_OBJECT
public:
    siteViewFrm(AppContext& ctx, QWidget* parent = nullptr);
    ~siteViewFrm() override;

    // Renders the site again and shows its home page.
    void cmd_refresh_Click();
    bool isRendering() const { return m_watcher.isRunning(); }
    WebPane* pane() const { return m_pane; }

Q_SIGNALS:
    // A rendering ended; its home page is then loading.
    void rendered(bool ok);

private:
    void renderFinished();

    AppContext& m_ctx;
    WebPane* m_pane = nullptr;
    QPushButton* cmd_back = nullptr;
    QPushButton* cmd_forward = nullptr;
    QPushButton* cmd_refresh = nullptr;
    QProgressBar* prg_render = nullptr;
    QLabel* lbl_status = nullptr;
    // The rendering on show, and the one being made (swapped in once complete).
    std::unique_ptr<QTemporaryDir> m_shown;
    std::unique_ptr<QTemporaryDir> m_next;
    QFutureWatcher<SiteRenderResult> m_watcher;
};
