#include "designFrm.h"

#include "core/AppContext.h"
#include "core/Messages.h"
#include "structure/CatalogOps.h"
#include "structure/CatalogTreeBinding.h"
#include "structure/DisplayFormats.h"
#include "structure/dgnFrm_addCat.h"
#include "structure/dgnFrm_addFile.h"
#include "structure/dgnFrm_modFile.h"
#include "text/Twips.h"
#include "widgets/WebPane.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
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

designFrm::designFrm(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx), m_editor(ctx.conn, ctx.events)
{
    setObjectName(QStringLiteral("designFrm"));
    setWindowTitle(QStringLiteral("设计栏目"));
    setWindowIcon(CatalogTreeBinding::icon(QStringLiteral("fopen")));
    buildUi();
    connect(&m_editor, &StructureEditor::aboutToReload, m_binding, &CatalogTreeBinding::clear);
    connect(&m_editor, &StructureEditor::reloaded, this, &designFrm::showTree);
    connect(&m_editor, &StructureEditor::nodeAdded, this, [this](CatalogNode* node) {
        m_binding->addItem(node);
        m_binding->setExpanded(node->parent, true);
    });
    connect(&m_editor, &StructureEditor::nodeAboutToBeRemoved, this, [this](CatalogNode* node) {
        m_renameSource = nullptr;
        m_binding->removeItems(node);
    });
    connect(&m_editor, &StructureEditor::nodeRenamed, m_binding, &CatalogTreeBinding::updateText);
    connect(&m_editor, &StructureEditor::formatChanged, this, &designFrm::showFormatPreview);
    report(m_editor.reload());
    showWelcome();
}

designFrm::~designFrm() = default;

QPushButton* designFrm::makeButton(const QString& name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setProperty("hint", hint);
    b->setMouseTracking(true);
    b->installEventFilter(this);
    b->setMinimumHeight(Twips::toPixels(375));
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
    setMinimumSize(Twips::toPixels(10125), Twips::toPixels(6200));
    resize(Twips::toPixels(12600), Twips::toPixels(8200));
    QStyle* st = style();

    // Left: the tree and the node buttons.
    Frame_nav = new QFrame(this);
    Frame_nav->setObjectName(QStringLiteral("Frame_nav"));
    static_cast<QFrame*>(Frame_nav)->setFrameShape(QFrame::StyledPanel);
    Frame_nav->setMouseTracking(true);
    Frame_nav->installEventFilter(this);
    Frame_nav->setFixedWidth(Twips::toPixels(3900));

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
    m_binding = new CatalogTreeBinding(tvw_nav, m_editor.tree());

    auto* frame_cmdNode = new QWidget(Frame_nav);
    frame_cmdNode->setObjectName(QStringLiteral("frame_cmdNode"));
    auto* cmd_addCat = makeButton(QStringLiteral("cmd_addCat"), QStringLiteral("添加目录"),
                                  QStringLiteral("在当前目录下添加子目录"), frame_cmdNode);
    auto* cmd_addFile = makeButton(QStringLiteral("cmd_addFile"), QStringLiteral("添加文件"),
                                   QStringLiteral("在当前目录下添加子文件"), frame_cmdNode);
    auto* cmd_delNode = makeButton(QStringLiteral("cmd_delNode"), QStringLiteral("删除"),
                                   QStringLiteral("删除当前选中的节点"), frame_cmdNode);
    auto* cmd_ren = makeButton(QStringLiteral("cmd_ren"), QStringLiteral("重命名"),
                               QStringLiteral("重命名当前选中节点的名称"), frame_cmdNode);
    cmd_up = makeButton(QStringLiteral("cmd_up"), QStringLiteral("上移一位"),
                        QStringLiteral("将当前选中节点顺序的上移一位"), frame_cmdNode);
    cmd_down = makeButton(QStringLiteral("cmd_down"), QStringLiteral("下移一位"),
                          QStringLiteral("将当前选中节点的顺序下移一位"), frame_cmdNode);
    auto* cmd_refresh =
        makeButton(QStringLiteral("cmd_refresh"), QStringLiteral("刷新"), QStringLiteral("刷新"), frame_cmdNode);
    cmd_addCat->setIcon(st->standardIcon(QStyle::SP_FileDialogNewFolder));
    cmd_addFile->setIcon(st->standardIcon(QStyle::SP_FileIcon));
    cmd_delNode->setIcon(st->standardIcon(QStyle::SP_TrashIcon));
    cmd_ren->setIcon(st->standardIcon(QStyle::SP_FileDialogDetailedView));
    cmd_up->setIcon(st->standardIcon(QStyle::SP_ArrowUp));
    cmd_down->setIcon(st->standardIcon(QStyle::SP_ArrowDown));
    cmd_refresh->setIcon(st->standardIcon(QStyle::SP_BrowserReload));
    auto* grid = new QGridLayout(frame_cmdNode);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(Twips::toPixels(75));
    grid->addWidget(cmd_addCat, 0, 0);
    grid->addWidget(cmd_addFile, 0, 1);
    grid->addWidget(cmd_delNode, 1, 0);
    grid->addWidget(cmd_ren, 1, 1);
    grid->addWidget(cmd_up, 2, 0);
    grid->addWidget(cmd_down, 2, 1);
    grid->addWidget(cmd_refresh, 3, 0, 1, 2);

    auto* navLayout = new QVBoxLayout(Frame_nav);
    navLayout->setContentsMargins(Twips::toPixels(90), Twips::toPixels(90), Twips::toPixels(90), Twips::toPixels(90));
    navLayout->setSpacing(Twips::toPixels(90));
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
    auto* cmd_help = makeButton(QStringLiteral("cmd_help"), QStringLiteral("帮助"), QString(), frame_cmdDesign);
    cmd_mod->setIcon(st->standardIcon(QStyle::SP_FileDialogContentsView));
    cmd_help->setIcon(st->standardIcon(QStyle::SP_DialogHelpButton));
    for (QPushButton* b : {cmd_mod, cmd_addField, cmd_help})
        b->setMinimumWidth(Twips::toPixels(1300));
    cmd_mod->setEnabled(false);
    cmd_addField->setEnabled(false);
    auto* designRow = new QHBoxLayout(frame_cmdDesign);
    designRow->setContentsMargins(0, 0, 0, 0);
    designRow->addStretch(1);
    designRow->addWidget(cmd_mod);
    designRow->addWidget(cmd_addField);
    designRow->addWidget(cmd_help);

    auto* optnLayout = new QVBoxLayout(Frame_optn);
    optnLayout->setContentsMargins(Twips::toPixels(100), Twips::toPixels(100), Twips::toPixels(100),
                                   Twips::toPixels(100));
    optnLayout->setSpacing(Twips::toPixels(90));
    optnLayout->addWidget(wb_format, 1);
    optnLayout->addWidget(frame_cmdDesign);

    auto* StsBar = new QStatusBar(this);
    StsBar->setObjectName(QStringLiteral("StsBar"));
    StsBar->setSizeGripEnabled(false);
    m_panel1 = new QLabel(StsBar);
    m_panel1->setObjectName(QStringLiteral("StsBar_panel1"));
    m_panel1->setMinimumWidth(Twips::toPixels(3000));
    auto* panel2 = new QLabel(StsBar);
    panel2->setObjectName(QStringLiteral("StsBar_panel2"));
    panel2->setMinimumWidth(Twips::toPixels(2000));
    StsBar->addWidget(m_panel1, 1);
    StsBar->addPermanentWidget(panel2);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(Twips::toPixels(90), Twips::toPixels(90), Twips::toPixels(90), 0);
    body->setSpacing(Twips::toPixels(90));
    body->addWidget(Frame_nav);
    body->addWidget(Frame_optn, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(Twips::toPixels(60));
    outer->addLayout(body, 1);
    outer->addWidget(StsBar);

    ppMnu = new QMenu(QStringLiteral("操作弹出"), this);
    ppMnu->setObjectName(QStringLiteral("ppMnu"));
    ppMnu_addCat =
        makeAction(QStringLiteral("ppMnu_addCat"), QStringLiteral("添加目录(&C)"), &designFrm::cmd_addCat_Click);
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

void designFrm::report(const Outcome& outcome)
{
    for (const Notice& n : outcome.notices)
        m_ctx.dialogs.message(n.text, n.title, n.icon);
}

void designFrm::showTree()
{
    m_renameSource = nullptr; // its node is gone
    m_binding->rebuild();
    m_binding->select(m_editor.selNode());
}

void designFrm::showWelcome()
{
    wb_format->navigate(m_ctx.appPath + DisplayFormats::welcomePage());
}

void designFrm::showFormatPreview(const QString& code)
{
    const DisplayFormats::Format* format = DisplayFormats::find(code);
    m_editor.setCurrentFormat(code);
    if (format) {
        cmd_mod->setEnabled(true);
        wb_format->navigate(m_ctx.appPath + format->samplePage());
        m_panel1->setText(format->description);
    } else {
        openModFileModeless();
    }
}

// One modeless format dialog at a time: a further click brings it forward, still
// acting on the page it was opened for.
void designFrm::openModFileModeless()
{
    if (m_modeless) {
        m_modeless->raise();
        m_modeless->activateWindow();
        return;
    }
    auto* dlg = new dgnFrm_modFile(m_ctx, m_editor, this);
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
                    m_editor.setSelNode(m_binding->nodeOf(item));
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

void designFrm::tvw_nav_MouseUp(Qt::MouseButton button, const QPoint& globalPos)
{
    cmd_addField->setEnabled(false);
    cmd_mod->setEnabled(false);
    if (button == Qt::RightButton)
        m_editor.setSelNode(m_binding->selectedNode());
    CatalogNode* sel = m_editor.selNode();
    if (!sel)
        return;
    const PopupItems items = popupItems(*sel);
    ppMnu_moveUp->setEnabled(items.moveUp);
    cmd_up->setEnabled(items.moveUp);
    ppMnu_moveDown->setEnabled(items.moveDown);
    cmd_down->setEnabled(items.moveDown);

    if (button == Qt::LeftButton) {
        if (!sel->tagIsFalse())
            return; // a catalog: nothing more
        QString error;
        const QString code = CatalogOps::getAspFileName(m_ctx.conn, *sel, &error);
        if (!error.isEmpty())
            m_ctx.dialogs.message(error, Messages::notice(), MsgIcon::Critical);
        else if (code == QLatin1String("none"))
            openModFileModeless();
        else
            showFormatPreview(code);
    } else if (button == Qt::RightButton) {
        ppMnu_addCat->setEnabled(items.addCat);
        ppMnu_addFile->setEnabled(items.addFile);
        ppMnu_del->setEnabled(items.del);
        ppMnu_ren->setEnabled(items.ren);
        ppMnu_refresh->setEnabled(items.refresh);
        ppMnu->popup(globalPos);
    }
}

void designFrm::cmd_addCat_Click()
{
    dgnFrm_addCat dlg(m_ctx.dialogs, m_editor, this);
    dlg.exec();
}

void designFrm::cmd_addFile_Click()
{
    dgnFrm_addFile dlg(m_ctx, m_editor, this);
    dlg.exec();
}

void designFrm::cmd_mod_Click()
{
    dgnFrm_modFile dlg(m_ctx, m_editor, this);
    dlg.exec();
}

void designFrm::cmd_delNode_Click()
{
    const Outcome refusal = m_editor.deleteRefusal();
    report(refusal);
    if (!refusal.done)
        return;
    const MsgAnswer answer =
        m_ctx.dialogs.message(m_editor.deleteQuestion(), Messages::warning(), MsgIcon::Question, MsgButtons::OkCancel);
    const Outcome out = m_editor.deleteCurrent(answer == MsgAnswer::Ok);
    report(out);
    if (out.done)
        m_binding->select(m_editor.selNode());
}

void designFrm::cmd_ren_Click()
{
    QTreeWidgetItem* item = m_binding->itemOf(m_editor.selNode());
    if (!item)
        return;
    m_renameSource = m_editor.selNode();
    tvw_nav->setCurrentItem(item);
    tvw_nav->editItem(item, 0);
}

void designFrm::afterLabelEdit(const QString& newText)
{
    CatalogNode* source = m_renameSource;
    m_renameSource = nullptr;
    report(m_editor.rename(source, newText));
}

void designFrm::cmd_up_Click()
{
    report(m_editor.move(true));
}

void designFrm::cmd_down_Click()
{
    report(m_editor.move(false));
}

void designFrm::cmd_refresh_Click()
{
    report(m_editor.reload());
}
