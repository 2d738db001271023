#include "MDIFrm.h"

#include "app/BackgroundJob.h"
#include "app/WindowFactories.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLoggingCategory>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include <exception>

Q_LOGGING_CATEGORY(lcFrame, "weblark.frame")

const QStringList& MDIFrm::startupWindows()
{
    static const QStringList names = {QStringLiteral("guidFrm"),   QStringLiteral("infoFrm"),
                                      QStringLiteral("sltTmplFrm"), QStringLiteral("designFrm"),
                                      QStringLiteral("insDataFrm"), QStringLiteral("updataFrm")};
    return names;
}

MDIFrm::MDIFrm(const QString& appDir, DialogService& dialogs, bool openWindows, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_ctx(m_db, dialogs), m_factory(&createTaskWindow)
{
    setObjectName(QStringLiteral("MDIFrm"));
    setWindowTitle(bareCaption());
    m_ctx.host = this;

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setBackground(QColor(0xAB, 0xAB, 0xAB));
    setCentralWidget(m_mdi);
    buildMenu();
    buildToolBar();

    // Steps 1-6: the workspace folder and its database.
    m_setup = Workspace::resolve(appDir);
    m_ctx.appPath = m_setup.appPath;
    m_ctx.workPath = m_setup.workPath;
    m_ctx.imgPath = m_setup.imgPath;

    // Steps 7-9: from here on nothing stops the start-up.
    if (!m_db.open(m_ctx.workPath)) {
        m_setup.problems << QStringLiteral("无法打开网站数据库“%1”：%2\r\n数据库文件未被改动，请检查该文件或从备份还原数据。")
                                .arg(QDir::toNativeSeparators(m_ctx.workPath + SiteDb::kFileName), m_db.lastOpenError());
    }
    setWindowTitle(m_db.webName() + captionSuffix());
    resize(1180, 760);
    setMinimumSize(800, 560);

    // Step 11.
    if (openWindows)
        openStartupWindows();
    reportStartupProblems();
}

MDIFrm::~MDIFrm()
{
    m_shuttingDown = true;
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it) {
        if (it.value() && it.value()->parent() == nullptr)
            delete it.value().data();
    }
}

void MDIFrm::buildMenu()
{
    QMenu* current = nullptr;
    for (const MenuItemDef& item : CommandTable::menuItems()) {
        if (item.heading) {
            current = menuBar()->addMenu(item.caption);
            current->setObjectName(item.name);
            current->menuAction()->setObjectName(item.name);
            continue;
        }
        if (!current)
            continue;
        if (item.caption == QLatin1String("-")) {
            QAction* sep = current->addSeparator();
            sep->setObjectName(item.name);
            continue;
        }
        QAction* a = current->addAction(item.caption);
        a->setObjectName(item.name);
        const QString name = item.name;
        connect(a, &QAction::triggered, this, [this, name] { xMenu1_Click(name); });
    }
}

static QIcon toolIcon(QStyle* style, int index)
{
    switch (index) {
    case 1: return style->standardIcon(QStyle::SP_DialogHelpButton);
    case 2: return style->standardIcon(QStyle::SP_FileDialogInfoView);
    case 3: return style->standardIcon(QStyle::SP_DirOpenIcon);
    case 4: return style->standardIcon(QStyle::SP_FileDialogDetailedView);
    case 5: return style->standardIcon(QStyle::SP_FileDialogContentsView);
    case 6: return style->standardIcon(QStyle::SP_ArrowUp);
    case 8: return style->standardIcon(QStyle::SP_DialogCloseButton);
    default: return {};
    }
}

// A task window carries the picture of its tool bar button.
QIcon MDIFrm::windowIconFor(const QString& name) const
{
    for (const ToolButtonDef& b : CommandTable::toolButtons()) {
        if (CommandTable::windowOf(b.command) == name)
            return toolIcon(style(), b.index);
    }
    return toolIcon(style(), 5);
}

void MDIFrm::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("xToolbar1"));
    m_toolBar->setObjectName(QStringLiteral("xToolbar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(28, 28));
    for (const ToolButtonDef& b : CommandTable::toolButtons()) {
        if (b.caption.isEmpty()) {
            QAction* sep = m_toolBar->addSeparator();
            sep->setObjectName(QStringLiteral("xToolbar1_%1").arg(b.index));
            continue;
        }
        QAction* a = m_toolBar->addAction(toolIcon(style(), b.index), b.caption);
        a->setToolTip(b.caption);
        a->setObjectName(QStringLiteral("xToolbar1_%1").arg(b.index));
        a->setData(b.key);
        const int index = b.index;
        connect(a, &QAction::triggered, this, [this, index] { xToolbar1_ButtonClick(index); });
    }
}

void MDIFrm::xMenu1_Click(const QString& itemName)
{
    run(CommandTable::forMenuItem(itemName));
}

void MDIFrm::xToolbar1_ButtonClick(int index)
{
    try {
        run(CommandTable::forToolButton(index));
    } catch (const std::exception& e) {
        m_dialogs.message(QString::fromLocal8Bit(e.what()), QStringLiteral("提示"), MsgIcon::Information);
    }
}

void MDIFrm::run(Command command)
{
    switch (command) {
    case Command::None:
        return;
    case Command::Backup:
        mnufile_backup();
        return;
    case Command::Restore:
        mnufile_revert();
        return;
    case Command::Quit:
        close();
        return;
    default:
        showWindow(CommandTable::windowOf(command));
        return;
    }
}

QObject* MDIFrm::loadedWindow(const QString& name) const
{
    const QPointer<QWidget> w = m_windows.value(name);
    return w.data();
}

QObject* MDIFrm::showWindow(const QString& name)
{
    if (name.isEmpty() || m_shuttingDown)
        return nullptr;
    QWidget* w = m_windows.value(name).data();
    const bool floating = isFloatingWindow(name);
    if (!w) {
        w = m_factory ? m_factory(name, m_ctx, floating ? this : nullptr) : nullptr;
        if (!w) {
            qCDebug(lcFrame) << "no window named" << name;
            return nullptr;
        }
        if (w->objectName().isEmpty())
            w->setObjectName(name);
        w->setAttribute(Qt::WA_DeleteOnClose);
        m_windows.insert(name, w);
        if (floating) {
            w->setWindowFlag(Qt::Window, true);
        } else {
            QMdiSubWindow* sub = m_mdi->addSubWindow(w);
            sub->setAttribute(Qt::WA_DeleteOnClose);
            sub->setWindowIcon(windowIconFor(name));
            // A window that closes itself takes its frame along.
            connect(w, &QObject::destroyed, sub, [sub] { sub->deleteLater(); });
        }
    }
    if (floating) {
        w->show();
        w->raise();
        return w;
    }
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    if (sub) {
        sub->show();
        if (sub->isMinimized())
            sub->showNormal();
        m_mdi->setActiveSubWindow(sub);
    }
    w->show();
    w->setFocus();
    return w;
}

void MDIFrm::unloadWindow(const QString& name)
{
    QPointer<QWidget> w = m_windows.take(name);
    if (!w)
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
        m_mdi->removeSubWindow(sub);
        delete sub;
    } else {
        delete w.data();
    }
}

void MDIFrm::openStartupWindows()
{
    for (const QString& name : startupWindows())
        showWindow(name);
    showWindow(QStringLiteral("designFrm"));
}

void MDIFrm::reportStartupProblems()
{
    QStringList lines = m_setup.problems;
    if (!m_setup.movedAsideTo.isEmpty())
        lines.prepend(QStringLiteral("工作目录中没有网站数据库，已建立新的数据库。原有文件已移到“%1”。")
                          .arg(QDir::toNativeSeparators(m_setup.movedAsideTo)));
    if (!lines.isEmpty())
        m_dialogs.message(lines.join(QStringLiteral("\r\n\r\n")), QStringLiteral("提示"), MsgIcon::Warning);
}

void MDIFrm::mnufile_backup()
{
    if (!isEnabled())
        return; // a backup or restore is under way
    QString error;
    Workspace::PendingBackup pending;
    if (!Workspace::beginBackup(m_ctx.appPath, m_ctx.workPath, m_db, &pending, &error)) {
        m_dialogs.message(error, QStringLiteral("提示"), MsgIcon::Information);
        return;
    }
    // The files are copied on a worker thread: the frame keeps painting, and takes no input until the end.
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    BackgroundJob* job =
        BackgroundJob::start([pending](QString* e) { return Workspace::finishBackup(pending, e); }, this);
    connect(job, &BackgroundJob::finished, this, [this, job](bool ok, const QString& e) {
        job->deleteLater();
        QApplication::restoreOverrideCursor();
        setEnabled(true);
        m_dialogs.message(ok ? QStringLiteral("数据备份成功！") : e, QStringLiteral("提示"), MsgIcon::Information);
    });
}

void MDIFrm::mnufile_revert()
{
    if (!isEnabled())
        return; // a backup or restore is under way
    if (!Workspace::hasBackup(m_ctx.appPath)) {
        m_dialogs.message(QStringLiteral("数据还原失败，不存在备份数据！"), QStringLiteral("提示"), MsgIcon::Information);
        return;
    }
    const MsgAnswer answer = m_dialogs.message(QStringLiteral("确实要还原数据吗，当前数据将被覆盖！\r\n"
                                                              "数据还原后，Weblark将有可能重新启动！"),
                                               QStringLiteral("提示"), MsgIcon::Information, MsgButtons::YesNo);
    if (answer != MsgAnswer::Yes)
        return;
    // The publishing window closes its connection to the server as it is unloaded.
    for (const QString& name : startupWindows())
        unloadWindow(name);
    m_db.close();
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    BackgroundJob* job = BackgroundJob::start(
        [app = m_ctx.appPath, work = m_ctx.workPath](QString* e) { return Workspace::restoreFiles(app, work, e); },
        this);
    connect(job, &BackgroundJob::finished, this, [this, job](bool copied, QString error) {
        job->deleteLater();
        QApplication::restoreOverrideCursor();
        setEnabled(true);
        if (!m_db.open(m_ctx.workPath) && copied)
            error = m_db.lastOpenError();
        if (!copied || !m_db.isOpen())
            m_dialogs.message(error, QStringLiteral("提示"), MsgIcon::Information);
    });
}

void MDIFrm::closeEvent(QCloseEvent* event)
{
    m_shuttingDown = true;
    for (const QString& name : startupWindows())
        unloadWindow(name);
    for (const QString& name : m_windows.keys())
        unloadWindow(name);
    event->accept();
    QMainWindow::closeEvent(event);
}
