#include "designFrm.h"

#include "app/AppContext.h"
#include "structure/CatalogOps.h"
#include "structure/CatalogTreeBinding.h"
#include "structure/DisplayFormats.h"
#include "structure/Twips.h"
#include "structure/dgnFrm_addCat.h"
#include "structure/dgnFrm_addFile.h"
#include "structure/dgnFrm_modFile.h"
#include "widgets/WebPane.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString kTitleNotice = QStringLiteral("提示");
const QString kTitleWarning = QStringLiteral("警告");

// Hands the edited label to the window instead of writing it into the item:
// the window decides whether the new name stands.
class LabelEditDelegate : public QStyledItemDelegate {
public:
    std::function<void(const QString&)> onEdited;
    using QStyledItemDelegate::QStyledItemDelegate;

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor); line && onEdited)
            onEdited(line->text());
    }
};

} // namespace

designFrm::designFrm(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("designFrm"));
    setWindowTitle(QStringLiteral("设计栏目"));
    setWindowIcon(CatalogTreeBinding::icon(QStringLiteral("fopen")));
    buildUi();
    // Window load: the tree, the root as the current node, the welcome sample.
    reloadTree();
    showWelcome();
}

designFrm::~designFrm() = default;

QPushButton* designFrm::makeButton(const QString& name, const QString& caption, const QString& hint,
                                   QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setProperty("hint", hint);
    b->setMouseTracking(true);
    b->installEventFilter(this);
    b->setMinimumHeight(twips(375));
    return b;
}

QAction* designFrm::makeAction(const QString& name, const QString& caption, void (designFrm::*slot)())
{
    auto* a = ppMnu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, slot);
    return a;
}

void designFrm::buildUi()
{
    setMinimumSize(twips(10125), twips(6200));
    resize(twips(12600), twips(8200));
    QStyle* st = style();

    // Left: the tree and the node buttons.
    Frame_nav = new QFrame(this);
    Frame_nav->setObjectName(QStringLiteral("Frame_nav"));
    static_cast<QFrame*>(Frame_nav)->setFrameShape(QFrame::StyledPanel);
    Frame_nav->setMouseTracking(true);
    Frame_nav->installEventFilter(this);
    Frame_nav->setFixedWidth(twips(3900));

    tvw_nav = new QTreeWidget(Frame_nav);
    tvw_nav->setObjectName(QStringLiteral("tvw_nav"));
    tvw_nav->setIconSize(QSize(16, 16));
    tvw_nav->viewport()->installEventFilter(this);
    auto* delegate = new LabelEditDelegate(tvw_nav);
    // Handled once the editor has closed: a rejected name rebuilds the whole tree.
    delegate->onEdited = [this](const QString& text) {
        QTimer::singleShot(0, this, [this, text] { afterLabelEdit(text); });
    };
    tvw_nav->setItemDelegate(delegate);
    m_binding = new CatalogTreeBinding(tvw_nav, m_tree);

    auto* frame_cmdNode = new QWidget(Frame_nav);
    frame_cmdNode->setObjectName(QStringLiteral("frame_cmdNode"));
    cmd_addCat = makeButton(QStringLiteral("cmd_addCat"), QStringLiteral("添加目录"),
                            QStringLiteral("在当前目录下添加子目录"), frame_cmdNode);
    cmd_addFile = makeButton(QStringLiteral("cmd_addFile"), QStringLiteral("添加文件"),
                             QStringLiteral("在当前目录下添加子文件"), frame_cmdNode);
    cmd_delNode = makeButton(QStringLiteral("cmd_delNode"), QStringLiteral("删除"),
                             QStringLiteral("删除当前选中的节点"), frame_cmdNode);
    cmd_ren = makeButton(QStringLiteral("cmd_ren"), QStringLiteral("重命名"),
                         QStringLiteral("重命名当前选中节点的名称"), frame_cmdNode);
    cmd_up = makeButton(QStringLiteral("cmd_up"), QStringLiteral("上移一位"),
                        QStringLiteral("将当前选中节点顺序的上移一位"), frame_cmdNode);
    cmd_down = makeButton(QStringLiteral("cmd_down"), QStringLiteral("下移一位"),
                          QStringLiteral("将当前选中节点的顺序下移一位"), frame_cmdNode);
    cmd_refresh = makeButton(QStringLiteral("cmd_refresh"), QStringLiteral("刷新"), QStringLiteral("刷新"),
                             frame_cmdNode);
    cmd_addCat->setIcon(st->standardIcon(QStyle::SP_FileDialogNewFolder));
    cmd_addFile->setIcon(st->standardIcon(QStyle::SP_FileIcon));
    cmd_delNode->setIcon(st->standardIcon(QStyle::SP_TrashIcon));
    cmd_ren->setIcon(st->standardIcon(QStyle::SP_FileDialogDetailedView));
    cmd_up->setIcon(st->standardIcon(QStyle::SP_ArrowUp));
    cmd_down->setIcon(st->standardIcon(QStyle::SP_ArrowDown));
    cmd_refresh->setIcon(st->standardIcon(QStyle::SP_BrowserReload));
    auto* grid = new QGridLayout(frame_cmdNode);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(twips(75));
    grid->addWidget(cmd_addCat, 0, 0);
    grid->addWidget(cmd_addFile, 0, 1);
    grid->addWidget(cmd_delNode, 1, 0);
    grid->addWidget(cmd_ren, 1, 1);
    grid->addWidget(cmd_up, 2, 0);
    grid->addWidget(cmd_down, 2, 1);
    grid->addWidget(cmd_refresh, 3, 0, 1, 2);

    auto* navLayout = new QVBoxLayout(Frame_nav);
    navLayout->setContentsMargins(twips(90), twips(90), twips(90), twips(90));
    navLayout->setSpacing(twips(90));
    navLayout->addWidget(tvw_nav, 1);
    navLayout->addWidget(frame_cmdNode);

    // Right: the sample of the selected page's format and the page buttons.
    auto* Frame_optn = new QFrame(this);
    Frame_optn->setObjectName(QStringLiteral("Frame_optn"));
    Frame_optn->setFrameShape(QFrame::StyledPanel);
    wb_format = new WebPane(Frame_optn);
    wb_format->setObjectName(QStringLiteral("wb_format"));

    auto* frame_cmdDesign = new QWidget(Frame_optn);
    frame_cmdDesign->setObjectName(QStringLiteral("frame_cmdDesign"));
    cmd_mod = makeButton(QStringLiteral("cmd_mod"), QStringLiteral("修改样式"),
                         QStringLiteral("修改当前选中节点的显示格式"), frame_cmdDesign);
    cmd_addField = makeButton(QStringLiteral("cmd_addField"), QStringLiteral("编辑字段"), QString(), frame_cmdDesign);
    cmd_help = makeButton(QStringLiteral("cmd_help"), QStringLiteral("帮助"), QString(), frame_cmdDesign);
    cmd_mod->setIcon(st->standardIcon(QStyle::SP_FileDialogContentsView));
    cmd_help->setIcon(st->standardIcon(QStyle::SP_DialogHelpButton));
    for (QPushButton* b : {cmd_mod, cmd_addField, cmd_help})
        b->setMinimumWidth(twips(1300));
    cmd_mod->setEnabled(false);
    cmd_addField->setEnabled(false);
    auto* designRow = new QHBoxLayout(frame_cmdDesign);
    designRow->setContentsMargins(0, 0, 0, 0);
    designRow->addStretch(1);
    designRow->addWidget(cmd_mod);
    designRow->addWidget(cmd_addField);
    designRow->addWidget(cmd_help);

    auto* optnLayout = new QVBoxLayout(Frame_optn);
    optnLayout->setContentsMargins(twips(100), twips(100), twips(100), twips(100));
    optnLayout->setSpacing(twips(90));
    optnLayout->addWidget(wb_format, 1);
    optnLayout->addWidget(frame_cmdDesign);

    StsBar = new QStatusBar(this);
    StsBar->setObjectName(QStringLiteral("StsBar"));
    StsBar->setSizeGripEnabled(false);
    m_panel1 = new QLabel(StsBar);
    m_panel1->setObjectName(QStringLiteral("StsBar_panel1"));
    m_panel1->setMinimumWidth(twips(3000));
    auto* panel2 = new QLabel(StsBar);
    panel2->setObjectName(QStringLiteral("StsBar_panel2"));
    panel2->setMinimumWidth(twips(2000));
    StsBar->addWidget(m_panel1, 1);
    StsBar->addPermanentWidget(panel2);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(twips(90), twips(90), twips(90), 0);
    body->setSpacing(twips(90));
    body->addWidget(Frame_nav);
    body->addWidget(Frame_optn, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(twips(60));
    outer->addLayout(body, 1);
    outer->addWidget(StsBar);

    ppMnu = new QMenu(QStringLiteral("操作弹出"), this);
    ppMnu->setObjectName(QStringLiteral("ppMnu"));
    ppMnu_addCat = makeAction(QStringLiteral("ppMnu_addCat"), QStringLiteral("添加目录(&C)"), &designFrm::cmd_addCat_Click);
    ppMnu_addFile =
        makeAction(QStringLiteral("ppMnu_addFile"), QStringLiteral("添加文件(&F)"), &designFrm::cmd_addFile_Click);
    ppMnu_del = makeAction(QStringLiteral("ppMnu_del"), QStringLiteral("删除(&D)"), &designFrm::cmd_delNode_Click);
    ppMnu_ren = makeAction(QStringLiteral("ppMnu_ren"), QStringLiteral("重命名(&R)"), &designFrm::cmd_ren_Click);
    ppMnu->addSeparator();
    ppMnu_refresh =
        makeAction(QStringLiteral("ppMnu_refresh"), QStringLiteral("刷新(&E)"), &designFrm::cmd_refresh_Click);
    ppMnu->addSeparator();
    ppMnu_moveUp = makeAction(QStringLiteral("ppMnu_moveUp"), QStringLiteral("上移一位(&U)"), &designFrm::cmd_up_Click);
    ppMnu_moveDown =
        makeAction(QStringLiteral("ppMnu_moveDown"), QStringLiteral("下移一位(&D)"), &designFrm::cmd_down_Click);

    connect(cmd_addCat, &QPushButton::clicked, this, &designFrm::cmd_addCat_Click);
    connect(cmd_addFile, &QPushButton::clicked, this, &designFrm::cmd_addFile_Click);
    connect(cmd_delNode, &QPushButton::clicked, this, &designFrm::cmd_delNode_Click);
    connect(cmd_ren, &QPushButton::clicked, this, &designFrm::cmd_ren_Click);
    connect(cmd_up, &QPushButton::clicked, this, &designFrm::cmd_up_Click);
    connect(cmd_down, &QPushButton::clicked, this, &designFrm::cmd_down_Click);
    connect(cmd_refresh, &QPushButton::clicked, this, &designFrm::cmd_refresh_Click);
    connect(cmd_mod, &QPushButton::clicked, this, &designFrm::cmd_mod_Click);
}

QString designFrm::statusText() const
{
    return m_panel1->text();
}

void designFrm::refreshContentWindow()
{
    Q_EMIT m_ctx.events.structureChanged();
}

CatalogNode* designFrm::addChildNode(const QString& levelPrefix, const QString& name, bool catalog)
{
    if (!m_selNode)
        return nullptr;
    const QString key = m_tree.randomKey(levelPrefix, *QRandomGenerator::global());
    CatalogNode* node = m_tree.addNode(m_selNode, key, name, catalog ? QStringLiteral("fclose") : QStringLiteral("file"),
                                       QVariant(catalog));
    m_binding->addItem(node);
    m_binding->setExpanded(m_selNode, true);
    refreshContentWindow();
    return node;
}

bool designFrm::refuseDuplicateName(const QString& name)
{
    if (!CatalogOps::nameExists(m_tree, name))
        return false;
    m_ctx.dialogs.message(QStringLiteral("已存在重名，更改名称!"), kTitleWarning, MsgIcon::Warning);
    return true;
}

int designFrm::nextChildOrderID(const QString& unknownMessage)
{
    if (!m_selNode)
        return -1;
    QString error;
    const int m = CatalogOps::getMaxOrderID(m_ctx.conn, m_selNode->prefix(), m_selNode->text, &error);
    if (!error.isEmpty()) {
        m_ctx.dialogs.message(error, kTitleNotice, MsgIcon::Critical);
        return -1;
    }
    if (m == -1) {
        m_ctx.dialogs.message(unknownMessage, kTitleWarning, MsgIcon::Critical);
        return -1;
    }
    if (m >= CatalogOps::kMaxOrderID) {
        // The sort number is a 16-bit field: one more would not fit.
        m_ctx.dialogs.message(QStringLiteral("“%1”下的排序号已达到上限%2，不能再添加目录或文件！")
                                  .arg(m_selNode->text)
                                  .arg(CatalogOps::kMaxOrderID),
                              kTitleWarning, MsgIcon::Warning);
        return -1;
    }
    return m + 1;
}

void designFrm::reloadTree()
{
    m_renameSource = nullptr; // its node is about to go
    m_binding->reload(m_ctx);
    m_selNode = m_tree.root();
    m_binding->select(m_selNode);
}

void designFrm::showWelcome()
{
    wb_format->navigate(m_ctx.appPath + DisplayFormats::welcomePage());
}

void designFrm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Inside the frame the welcome sample comes back whenever the user turns to this window
    // from another task window; coming back from a dialog or another program is no such turn.
    if (m_activationHooked)
        return;
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    if (!area)
        return;
    m_activationHooked = true;
    // The frame around this window must not shrink it below its minimum either.
    sub->setMinimumSize(sub->minimumSizeHint().expandedTo(minimumSize()));
    auto last = std::make_shared<QPointer<QMdiSubWindow>>(area->activeSubWindow());
    connect(area, &QMdiArea::subWindowActivated, this, [this, sub, last](QMdiSubWindow* w) {
        if (!w)
            return;
        if (w == sub && *last != sub)
            showWelcome();
        *last = w;
    });
}

void designFrm::showFormatPreview(const QString& code)
{
    const DisplayFormats::Sample sample = DisplayFormats::sampleOf(code);
    m_currentFormat = code;
    if (sample.isValid()) {
        cmd_mod->setEnabled(true);
        wb_format->navigate(m_ctx.appPath + sample.page);
        m_panel1->setText(sample.description);
    } else {
        openModFileModeless();
    }
}

void designFrm::openModFileModeless()
{
    auto* dlg = new dgnFrm_modFile(*this, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setModal(false);
    m_modeless = dlg;
    dlg->show();
}

bool designFrm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type t = event->type();
    if (tvw_nav && watched == tvw_nav->viewport()) {
        if (t == QEvent::MouseButtonPress) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton) {
                QTreeWidgetItem* item = tvw_nav->itemAt(me->position().toPoint());
                // A press on the expand sign is not a click on the node.
                if (item && me->position().x() >= tvw_nav->visualItemRect(item).left())
                    tvw_nav_NodeClick(m_binding->nodeOf(item));
            }
        } else if (t == QEvent::MouseButtonRelease) {
            auto* me = static_cast<QMouseEvent*>(event);
            tvw_nav_MouseUp(me->button(), me->globalPosition().toPoint());
        }
        return false;
    }
    if ((t == QEvent::Enter || t == QEvent::MouseMove) && watched == Frame_nav) {
        m_panel1->setText(QString());
    } else if (t == QEvent::Enter || t == QEvent::MouseMove) {
        const QVariant hint = watched->property("hint");
        if (hint.isValid() && !hint.toString().isEmpty())
            m_panel1->setText(hint.toString());
    }
    return QWidget::eventFilter(watched, event);
}

void designFrm::tvw_nav_NodeClick(CatalogNode* node)
{
    if (node)
        m_selNode = node;
}

void designFrm::tvw_nav_MouseUp(Qt::MouseButton button, const QPoint& globalPos)
{
    cmd_addField->setEnabled(false);
    cmd_mod->setEnabled(false);
    if (!m_selNode)
        return;
    if (button == Qt::RightButton) {
        if (CatalogNode* sel = m_binding->selectedNode())
            m_selNode = sel;
    }
    const bool first = m_selNode->isFirstSibling();
    const bool last = m_selNode->isLastSibling();
    ppMnu_moveUp->setEnabled(!first);
    cmd_up->setEnabled(!first);
    ppMnu_moveDown->setEnabled(!last);
    cmd_down->setEnabled(!last);

    if (button == Qt::LeftButton) {
        if (!m_selNode->tagIsFalse())
            return; // a catalog: nothing more
        QString error;
        const QString code = CatalogOps::getAspFileName(m_ctx.conn, *m_selNode, &error);
        if (!error.isEmpty()) {
            m_ctx.dialogs.message(error, kTitleNotice, MsgIcon::Critical);
            return;
        }
        if (code == QLatin1String("none"))
            openModFileModeless();
        else
            showFormatPreview(code);
    } else if (button == Qt::RightButton) {
        setPopupItems();
        ppMnu->popup(globalPos);
    }
}

void designFrm::setPopupItems()
{
    const int level = m_selNode->level();
    const bool page = m_selNode->isPage();
    bool addCat = true;
    bool addFile = true;
    if (level == 1 || level == 3) {
        addCat = addFile = !page;
    } else if (level == 2) {
        addCat = false;
        addFile = !page;
    }
    ppMnu_addCat->setEnabled(addCat);
    ppMnu_addFile->setEnabled(addFile);
    ppMnu_del->setEnabled(true);
    ppMnu_ren->setEnabled(true);
    ppMnu_refresh->setEnabled(true);
    if (level == 0) {
        ppMnu_moveUp->setEnabled(false);
        ppMnu_moveDown->setEnabled(false);
    }
}

void designFrm::cmd_addCat_Click()
{
    dgnFrm_addCat dlg(*this, this);
    dlg.exec();
}

void designFrm::cmd_addFile_Click()
{
    dgnFrm_addFile dlg(*this, this);
    dlg.exec();
}

void designFrm::cmd_mod_Click()
{
    dgnFrm_modFile dlg(*this, this);
    dlg.exec();
}

void designFrm::cmd_delNode_Click()
{
    if (!m_selNode)
        return;
    if (m_selNode->isRoot()) {
        m_ctx.dialogs.message(QStringLiteral("不能够删除根目录!"), kTitleWarning, MsgIcon::Warning);
        return;
    }
    const MsgAnswer answer =
        m_ctx.dialogs.message(QStringLiteral("确实要删除“") + m_selNode->text + QStringLiteral("”项吗？"),
                              kTitleWarning, MsgIcon::Question, MsgButtons::OkCancel);
    if (answer == MsgAnswer::Ok) {
        const SqlResult r = CatalogOps::deleteNodeRow(m_ctx.conn, *m_selNode);
        if (!r) {
            // The row is still there: keep showing it.
            m_ctx.dialogs.message(r.error, kTitleNotice, MsgIcon::Critical);
            return;
        }
        m_renameSource = nullptr;
        m_binding->removeNode(m_selNode);
        m_selNode = m_tree.root();
        m_binding->select(m_selNode);
    }
    refreshContentWindow();
}

void designFrm::cmd_ren_Click()
{
    if (!m_selNode)
        return;
    QTreeWidgetItem* item = m_binding->itemOf(m_selNode);
    if (!item)
        return;
    m_renameSource = m_selNode;
    tvw_nav->setCurrentItem(item);
    tvw_nav->editItem(item, 0);
}

void designFrm::afterLabelEdit(const QString& newText)
{
    CatalogNode* source = m_renameSource;
    m_renameSource = nullptr;
    if (!source)
        return; // the tree was rebuilt or the node deleted meanwhile
    if (CatalogOps::nameExists(m_tree, newText)) {
        m_ctx.dialogs.message(QStringLiteral("已存在重名，更改名称!"), kTitleWarning, MsgIcon::Warning);
        reloadTree();
        return;
    }
    if (newText.isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("重命名不能为空！"), kTitleNotice, MsgIcon::Information);
        reloadTree();
    } else {
        const SqlResult r = CatalogOps::renameNode(m_ctx.conn, *source, newText);
        if (!r) {
            m_ctx.dialogs.message(r.error, kTitleNotice, MsgIcon::Critical);
            reloadTree(); // show the names as they are stored
            return;
        }
        m_binding->setText(source, newText);
    }
    refreshContentWindow();
}

void designFrm::cmd_up_Click()
{
    move(true);
}

void designFrm::cmd_down_Click()
{
    move(false);
}

void designFrm::move(bool up)
{
    if (!m_selNode)
        return;
    if (m_selNode->isRoot()) {
        m_ctx.dialogs.message(QStringLiteral("不能够移动根目录！"), kTitleWarning, MsgIcon::Warning);
        return;
    }
    CatalogNode* other = up ? m_selNode->previousSibling() : m_selNode->nextSibling();
    if (!other) {
        m_ctx.dialogs.message(up ? QStringLiteral("当前节点已是第一个，不能再上移。")
                                 : QStringLiteral("当前节点已是最后一个，不能再下移。"),
                              kTitleNotice, MsgIcon::Critical);
        return;
    }
    QString error;
    const int a = CatalogOps::getNodeOrderID(m_ctx.conn, *m_selNode, &error);
    const int b = error.isEmpty() ? CatalogOps::getNodeOrderID(m_ctx.conn, *other, &error) : -1;
    if (!error.isEmpty()) {
        m_ctx.dialogs.message(error, kTitleNotice, MsgIcon::Critical);
        return;
    }
    if (a == -1 || b == -1) {
        m_ctx.dialogs.message(QStringLiteral("排序索引值出错，排序失败!"), kTitleNotice, MsgIcon::Critical);
        return;
    }
    const bool swapped = up ? CatalogOps::swapOrderID(m_ctx.conn, *other, *m_selNode, b, a)
                            : CatalogOps::swapOrderID(m_ctx.conn, *m_selNode, *other, a, b);
    if (!swapped)
        m_ctx.dialogs.message(CatalogOps::swapFailureMessage(), QString(), MsgIcon::Critical);
    reloadTree();
    refreshContentWindow();
}

void designFrm::cmd_refresh_Click()
{
    reloadTree();
}
