#pragma once

#include "app/CommandTable.h"
#include "app/WindowEntry.h"
#include "core/AppContext.h"
#include "workspace/Workspace.h"

#include <QFuture>
#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <utility>

class QMdiArea;
class QMdiSubWindow;
class QToolBar;

// The frame window: workspace and connection owner, menu and tool bar, and the
// home of every task window. Which windows exist comes from the table it is given.
class MDIFrm : public QMainWindow {
    Q_OBJECT
public:
    static QString captionSuffix() { return QStringLiteral("--Weblark自动建站系列软件"); }
    static QString bareCaption() { return QStringLiteral("Weblark自动建站系列软件"); }

    // Runs the start-up sequence in the two roots (a writable application directory
    // is both) up to the open connection and the caption; load() does the rest.
    MDIFrm(const DataRoots& roots, DialogService& dialogs, WindowTable windows = {}, QWidget* parent = nullptr);
    ~MDIFrm() override;

    AppContext& context() { return m_ctx; }
    SiteDb& conn() { return m_db; }
    const WorkspaceSetup& setup() const { return m_setup; }
    QMdiArea* mdiArea() const { return m_mdi; }
    QToolBar* toolBar() const { return m_toolBar; }
    const WindowTable& windows() const { return m_windows; }

    // The end of start-up: shows the frame with its task windows, closes the
    // splash, then tells the user about what went wrong on the way (over the frame).
    void load(QWidget* splash);

    // The window if it is loaded (open), else nullptr. Never loads it.
    QWidget* loadedWindow(const QString& name) const;
    // Loads the window if needed and brings it forward (no reload when open);
    // nullptr, with a warning in the log, for a name the table does not hold.
    QWidget* showWindow(const QString& name);
    // Closes and destroys a loaded window; nothing when it is not loaded.
    void unloadWindow(const QString& name);

public Q_SLOTS:
    void xMenu1_Click(const QString& itemName);
    void xToolbar1_ButtonClick(int index);
    void mnufile_backup();
    void mnufile_revert();
    // The task windows of the start-up order, then the one that starts active gets the focus.
    void openStartupWindows();
    // The start-up problems: a notice titled "提示", then a warning titled "警告".
    void reportStartupProblems();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Copies files (backup, restore) on a worker thread: the frame keeps painting and takes
    // no input until the work is over; done then runs here with the outcome.
    void runFileWork(std::function<bool(QString* error)> work, std::function<void(bool ok, QString error)> done);
    void buildMenu();
    void buildToolBar();
    void run(Command command);
    const WindowEntry* specOf(const QString& name) const;
    // Tells the task windows concerned that the user turned from one to another.
    void subWindowActivated(QMdiSubWindow* sub);
    // Names of the start-up windows in their order.
    QStringList startupWindows() const;

    DialogService& m_dialogs;
    SiteDb m_db;
    AppContext m_ctx;
    WorkspaceSetup m_setup;
    WindowTable m_windows;
    QMdiArea* m_mdi = nullptr;
    QPointer<QMdiSubWindow> m_lastActive; // the task window the user last turned to
    QToolBar* m_toolBar = nullptr;
    QHash<QString, QPointer<QWidget>> m_loaded;
    bool m_shuttingDown = false;
    QFuture<std::pair<bool, QString>> m_fileWork;
};
