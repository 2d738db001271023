#include "MDIFrm.h"

#include "core/FramedWindow.h"
#include "core/Logging.h"
#include "core/Messages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFutureWatcher>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QtConcurrent>

#include <algorithm>
#include <exception>

MDIFrm::MDIFrm(const DataRoots& roots, DialogService& dialogs, WindowTable windows, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_ctx(m_db, dialogs), m_windows(std::move(windows))
{
    setObjectName(QStringLiteral("MDIFrm"));
    setWindowTitle(bareCaption());

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setBackground(QColor(0xAB, 0xAB, 0xAB));
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MDIFrm::subWindowActivated);
    buildMenu();
    buildToolBar();

    // The workspace folder and its database.
    m_setup = Workspace::resolve(roots);
    m_ctx.appPath = m_setup.appPath;
    m_ctx.dataPath = m_setup.dataPath;
    m_ctx.workPath = m_setup.workPath;
    m_ctx.imgPath = m_setup.imgPath;

    // From here on nothing stops the start-up.
    if (!m_db.open(m_ctx.workPath)) {
        m_setup.problems << QStringLiteral(
                                "无法打开网站数据库“%1”：%2\r\n数据库文件未被改动，请检查该文件或从备份还原数据。")
                                .arg(QDir::toNativeSeparators(m_ctx.workPath + SiteDb::kFileName),
                                     m_db.lastOpenError());
    }
    setWindowTitle(m_db.webName() + captionSuffix());
    resize(1180, 760);
    setMinimumSize(800, 560);
}

MDIFrm::~MDIFrm()
{
    m_shuttingDown = true;
    m_fileWork.waitForFinished(); // the copy must not outlive the folders it writes into
    for (auto it = m_loaded.begin(); it != m_loaded.end(); ++it) {
        if (it.value() && it.value()->parent() == nullptr)
            delete it.value().data();
    }
}

void MDIFrm::load(QWidget* splash)
{
    showMaximized();
    openStartupWindows();
    if (splash)
        splash->close();
    // Queued, so that the message opens from the event loop over the shown frame,
    // not from inside the splash's timer.
    QTimer::singleShot(0, this, &MDIFrm::reportStartupProblems);
}

void MDIFrm::buildMenu()
{
    menuBar()->setObjectName(QStringLiteral("xMenu1"));
    menuBar()->setWindowTitle(QStringLiteral("菜单栏"));
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

void MDIFrm::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("工具栏"));
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
        // A window's button carries the window's picture.
        auto row = std::find_if(m_windows.cbegin(), m_windows.cend(),
                                [&](const WindowEntry& w) { return w.command == b.command; });
        QIcon icon = row != m_windows.cend() ? row->icon : QIcon();
        if (b.command == Command::Quit)
            icon = style()->standardIcon(QStyle::SP_DialogCloseButton);
        if (icon.isNull())
            icon = style()->standardIcon(QStyle::SP_FileIcon);
        QAction* a = m_toolBar->addAction(icon, b.caption);
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
        m_dialogs.message(QString::fromLocal8Bit(e.what()), Messages::notice(), MsgIcon::Information);
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
        for (const WindowEntry& w : m_windows) {
            if (w.command == command) {
                showWindow(w.name);
                return;
            }
        }
        qCWarning(lcFrame) << "no window is given for command" << int(command);
        return;
    }
}

const WindowEntry* MDIFrm::specOf(const QString& name) const
{
    for (const WindowEntry& w : m_windows) {
        if (w.name == name)
            return &w;
    }
    return nullptr;
}

QStringList MDIFrm::startupWindows() const
{
    QList<const WindowEntry*> order;
    for (const WindowEntry& w : m_windows) {
        if (w.startupOrder > 0)
            order << &w;
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const WindowEntry* a, const WindowEntry* b) { return a->startupOrder < b->startupOrder; });
    QStringList names;
    for (const WindowEntry* w : order)
        names << w->name;
    return names;
}

QWidget* MDIFrm::loadedWindow(const QString& name) const
{
    return m_loaded.value(name).data();
}

QWidget* MDIFrm::showWindow(const QString& name)
{
    if (m_shuttingDown)
        return nullptr;
    const WindowEntry* row = specOf(name);
    if (!row || !row->create) {
        qCWarning(lcFrame) << "no window named" << name << "is given to the frame";
        return nullptr;
    }
    QWidget* w = m_loaded.value(name).data();
    if (!w) {
        w = row->create(m_ctx, row->floating ? this : nullptr);
        if (!w) {
            qCWarning(lcFrame) << "the window" << name << "could not be created";
            return nullptr;
        }
        if (w->objectName().isEmpty())
            w->setObjectName(name);
        w->setAttribute(Qt::WA_DeleteOnClose);
        m_loaded.insert(name, w);
        if (row->floating) {
            w->setWindowFlag(Qt::Window, true);
        } else {
            QMdiSubWindow* sub = m_mdi->addSubWindow(w);
            sub->setAttribute(Qt::WA_DeleteOnClose);
            if (!row->icon.isNull())
                sub->setWindowIcon(row->icon);
            // A window that closes itself takes its frame along.
            connect(w, &QObject::destroyed, sub, [sub] { sub->deleteLater(); });
            if (auto* framed = dynamic_cast<FramedWindow*>(w)) {
                framed->bringBack = [this, sub] { m_mdi->setActiveSubWindow(sub); };
                sub->setMinimumSize(sub->minimumSizeHint().expandedTo(w->minimumSize()));
                if (framed->placement() == FramedWindow::Placement::TopLeft)
                    sub->move(0, 0);
            }
        }
    }
    if (row->floating) {
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

void MDIFrm::subWindowActivated(QMdiSubWindow* sub)
{
    // Null: the whole frame lost the activation; the same window again: it came back to it.
    if (!sub || sub == m_lastActive || m_shuttingDown)
        return;
    const QPointer<QMdiSubWindow> from = m_lastActive;
    m_lastActive = sub;
    if (from && from->isVisible() && m_mdi->subWindowList().contains(from.data()))
        if (auto* framed = dynamic_cast<FramedWindow*>(from->widget()))
            framed->deactivated();
    if (auto* framed = dynamic_cast<FramedWindow*>(sub->widget()))
        framed->activated();
}

void MDIFrm::unloadWindow(const QString& name)
{
    QPointer<QWidget> w = m_loaded.take(name);
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
    for (const WindowEntry& w : m_windows) {
        if (w.activeAfterStartup)
            showWindow(w.name);
    }
}

void MDIFrm::reportStartupProblems()
{
    if (!m_setup.movedAsideTo.isEmpty())
        m_dialogs.message(QStringLiteral("工作目录中没有网站数据库，已建立新的数据库。原有文件已移到“%1”。")
                              .arg(QDir::toNativeSeparators(m_setup.movedAsideTo)),
                          Messages::notice(), MsgIcon::Information);
    if (!m_setup.problems.isEmpty())
        m_dialogs.message(m_setup.problems.join(QStringLiteral("\r\n\r\n")), Messages::warning(), MsgIcon::Warning);
}

void MDIFrm::mnufile_backup()
{
    if (!isEnabled())
        return; // a backup or restore is under way
    QString error;
    Workspace::PendingBackup pending;
    if (!Workspace::beginBackup(m_ctx.dataPath, m_ctx.workPath, m_db, &pending, &error)) {
        m_dialogs.message(error, Messages::notice(), MsgIcon::Information);
        return;
    }
    runFileWork([pending](QString* e) { return Workspace::finishBackup(pending, e); },
                [this](bool ok, const QString& e) {
                    m_dialogs.message(ok ? QStringLiteral("数据备份成功！") : e, Messages::notice(),
                                      MsgIcon::Information);
                });
}

void MDIFrm::mnufile_revert()
{
    if (!isEnabled())
        return; // a backup or restore is under way
    if (!Workspace::hasBackup(m_ctx.dataPath)) {
        m_dialogs.message(QStringLiteral("数据还原失败，不存在备份数据！"), Messages::notice(), MsgIcon::Information);
        return;
    }
    const MsgAnswer answer = m_dialogs.message(QStringLiteral("确实要还原数据吗，当前数据将被覆盖！\r\n"
                                                              "数据还原后，Weblark将有可能重新启动！"),
                                               Messages::notice(), MsgIcon::Information, MsgButtons::YesNo);
    if (answer != MsgAnswer::Yes)
        return;
    // The publishing window closes its connection to the server as it is unloaded.
    for (const QString& name : startupWindows())
        unloadWindow(name);
    m_db.close();
    runFileWork(
        [data = m_ctx.dataPath, work = m_ctx.workPath](QString* e) { return Workspace::restoreFiles(data, work, e); },
        [this](bool copied, QString error) {
            if (!m_db.open(m_ctx.workPath) && copied)
                error = m_db.lastOpenError();
            if (!copied || !m_db.isOpen())
                m_dialogs.message(error, Messages::notice(), MsgIcon::Information);
        });
}

void MDIFrm::runFileWork(std::function<bool(QString* error)> work, std::function<void(bool ok, QString error)> done)
{
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_fileWork = QtConcurrent::run([work = std::move(work)] {
        QString error;
        const bool ok = work(&error);
        return std::make_pair(ok, error);
    });
    auto* watcher = new QFutureWatcher<std::pair<bool, QString>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, done = std::move(done)] {
        watcher->deleteLater();
        QApplication::restoreOverrideCursor();
        setEnabled(true);
        const std::pair<bool, QString> outcome = watcher->result();
        done(outcome.first, outcome.second);
    });
    watcher->setFuture(m_fileWork);
}

void MDIFrm::closeEvent(QCloseEvent* event)
{
    // The task windows in their start-up order, then those standing on their own in the table's order.
    m_shuttingDown = true;
    for (const QString& name : startupWindows())
        unloadWindow(name);
    for (const WindowEntry& w : m_windows)
        unloadWindow(w.name);
    event->accept();
    QMainWindow::closeEvent(event);
}
