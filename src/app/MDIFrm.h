#pragma once

#include "app/AppContext.h"
#include "app/CommandTable.h"
#include "app/Workspace.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class QIcon;

// The frame window: workspace and connection owner, menu and tool bar, and the
// home of every task window.
class MDIFrm : public QMainWindow, public WindowHost {
    Q_OBJECT
public:
    static QString captionSuffix() { return QStringLiteral("--Weblark自动建站系列软件"); }
    static QString bareCaption() { return QStringLiteral("Weblark自动建站系列软件"); }
    static const QStringList& startupWindows();

    // Runs the start-up sequence against the application directory appDir.
    // openWindows = false leaves the task windows closed (tests of the frame alone).
    MDIFrm(const QString& appDir, DialogService& dialogs, bool openWindows = true, QWidget* parent = nullptr);
    ~MDIFrm() override;

    AppContext& context() { return m_ctx; }
    SiteDb& conn() { return m_db; }
    const WorkspaceSetup& setup() const { return m_setup; }
    QMdiArea* mdiArea() const { return m_mdi; }
    QToolBar* toolBar() const { return m_toolBar; }

    // Where task windows come from; the default is createTaskWindow (tests substitute their own).
    using WindowFactory = std::function<QWidget*(const QString&, AppContext&, QWidget*)>;
    void setWindowFactory(WindowFactory factory) { m_factory = std::move(factory); }

    QObject* loadedWindow(const QString& name) const override;
    QObject* showWindow(const QString& name) override;
    // Closes and destroys a loaded window; nothing when it is not loaded.
    void unloadWindow(const QString& name);

public Q_SLOTS:
    void xMenu1_Click(const QString& itemName);
    void xToolbar1_ButtonClick(int index);
    void mnufile_backup();
    void mnufile_revert();
    // Step 11 of start-up: the six task windows, the structure designer active.
    void openStartupWindows();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildToolBar();
    QIcon windowIconFor(const QString& name) const;
    void run(Command command);
    void reportStartupProblems();

    DialogService& m_dialogs;
    SiteDb m_db;
    AppContext m_ctx;
    WorkspaceSetup m_setup;
    QMdiArea* m_mdi = nullptr;
    QToolBar* m_toolBar = nullptr;
    QHash<QString, QPointer<QWidget>> m_windows;
    bool m_shuttingDown = false;
    WindowFactory m_factory;
};
