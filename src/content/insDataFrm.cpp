#include "insDataFrm.h"

#include "content/ContentStore.h"
#include "content/GalleryDialogs.h"
#include "content/ListHtml.h"
#include "content/NewsDialogs.h"
#include "content/Pictures.h"
#include "content/ProductDialogs.h"
#include "core/Messages.h"
#include "editor/advEdit.h"
#include "structure/CatalogOps.h"
#include "structure/CatalogTreeBinding.h"
#include "structure/DisplayFormats.h"
#include "text/Twips.h"
#include "widgets/WebPane.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

using DisplayFormats::Editor;
using Twips::toPixels;

namespace {

constexpr int kContentHeight = 2900;
constexpr int kMaxContentWidth = 8000;
constexpr QSize kImgTxtPreview(3735, 2295);
constexpr QSize kBigImgPreview(7500, 6000);
constexpr int kMaxPreviewWidth = 7500;

const QString kListElement = QStringLiteral("editID");
const QString kWelcomePage = QStringLiteral("tmplImg/welcome02.htm");

} // namespace

insDataFrm::insDataFrm(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("insDataFrm"));
    setWindowTitle(QStringLiteral("录入数据"));
    buildControls();

    loadTree();
    if (CatalogNode* root = m_tree.root())
        m_binding->select(root);
    resize(sizeHint());
    m_advIsNew = true;

    webBer->navigate(m_ctx.appPath + kWelcomePage);
    webMultiData->navigate(m_ctx.appPath + QStringLiteral("multiData.htm"));
    advEditer->hide();
    pic_edit->hide();
    webMultiData->hide();
}

QSize insDataFrm::sizeHint() const
{
    return Twips::toPixels(QSize(10125, 6200));
}

void insDataFrm::buildControls()
{
    tvw_nav = new QTreeWidget;
    tvw_nav->setObjectName(QStringLiteral("tvw_nav"));
    m_binding = new CatalogTreeBinding(tvw_nav, m_tree);
    tvw_nav->viewport()->installEventFilter(this);

    mnuIns = new QMenu(this);
    mnuIns->setObjectName(QStringLiteral("mnuIns"));
    QAction* refresh = mnuIns->addAction(QStringLiteral("刷新"));
    refresh->setObjectName(QStringLiteral("mnu_Refresh"));
    connect(refresh, &QAction::triggered, this, &insDataFrm::mnu_Refresh_Click);
    connect(&m_ctx.events, &SiteEvents::structureChanged, this, &insDataFrm::mnu_Refresh_Click);

    pic_edit = new QScrollArea;
    pic_edit->setObjectName(QStringLiteral("pic_edit"));
    pic_edit->setWidgetResizable(true);
    pic_edit->setFrameShape(QFrame::NoFrame);
    pic_edit->verticalScrollBar()->setObjectName(QStringLiteral("vscrl"));
    pic_edit->setWidget(buildEditors());
    pic_edit->viewport()->installEventFilter(this);

    webBer = new WebPane;
    webBer->setObjectName(QStringLiteral("webBer"));
    webMultiData = new WebPane;
    webMultiData->setObjectName(QStringLiteral("webMultiData"));
    // Free-design pages are written in the rich-text editor, which saves them itself.
    advEditer = new advEdit(m_ctx, advEdit::Kind::Full);
    advEditer->setObjectName(QStringLiteral("advEditer"));
    advEditer->setSaveTarget([this] {
        return AdvPageStore::Page{m_selNode ? m_selNode->level() : 0, m_selNode ? m_selNode->text : QString(), m_format,
                                  m_advIsNew};
    });
    connect(advEditer, &advEdit::changed, this, [this] { m_dataChanged = true; });
    connect(advEditer, &advEdit::saved, this, [this] {
        m_isNew = m_advIsNew = false;
        m_dataChanged = false;
    });

    const QString addCaptions[3] = {QStringLiteral("添加数据"), QStringLiteral("删除数据"),
                                    QStringLiteral("预览&&修改")};
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 4, 6, 4);
    for (int i = 0; i < 3; ++i) {
        cmd_addData[i] = new QPushButton(addCaptions[i]);
        cmd_addData[i]->setObjectName(QStringLiteral("cmd_addData%1").arg(i));
        cmd_addData[i]->setEnabled(false);
        connect(cmd_addData[i], &QPushButton::clicked, this, [this, i] { cmd_addData_Click(i); });
        buttons->addWidget(cmd_addData[i]);
    }
    buttons->addStretch(1);
    cmd_ok = new QPushButton(QStringLiteral("保存"));
    cmd_ok->setObjectName(QStringLiteral("cmd_ok"));
    cmd_ok->setEnabled(false);
    connect(cmd_ok, &QPushButton::clicked, this, &insDataFrm::cmd_ok_Click);
    auto* cmd_help = new QPushButton(QStringLiteral("帮助"));
    cmd_help->setObjectName(QStringLiteral("cmd_help"));
    buttons->addWidget(cmd_ok);
    buttons->addWidget(cmd_help);

    auto* right = new QWidget;
    auto* rightLay = new QVBoxLayout(right);
    rightLay->setContentsMargins(0, 0, 0, 0);
    rightLay->setSpacing(0);
    rightLay->addWidget(webBer, 1);
    rightLay->addWidget(pic_edit, 1);
    rightLay->addWidget(webMultiData, 1);
    rightLay->addWidget(advEditer, 1);
    rightLay->addLayout(buttons);

    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(tvw_nav);
    split->addWidget(right);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({toPixels(2400), toPixels(7700)});
    split->setChildrenCollapsible(false);

    auto* status = new QHBoxLayout;
    status->setContentsMargins(2, 2, 2, 2);
    for (int i = 0; i < 2; ++i) {
        StsBar[i] = new QLabel;
        StsBar[i]->setObjectName(QStringLiteral("StsBar%1").arg(i));
        StsBar[i]->setFrameShape(QFrame::Panel);
        StsBar[i]->setFrameShadow(QFrame::Sunken);
        StsBar[i]->setMinimumHeight(toPixels(300));
        status->addWidget(StsBar[i], 1);
    }

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(split, 1);
    lay->addLayout(status);
}

// The in-place editors from the head label down: title, body, and the picture
// slots side by side; the scroll area moves them when the window is small.
QWidget* insDataFrm::buildEditors()
{
    auto* sheet = new QWidget;
    lbl_head = new QLabel(QStringLiteral("欢迎使用Weblark自动建站软件"));
    lbl_head->setObjectName(QStringLiteral("lbl_head"));
    QFont headFont = lbl_head->font();
    headFont.setBold(true);
    headFont.setPointSizeF(headFont.pointSizeF() * 1.15);
    lbl_head->setFont(headFont);
    lbl_title = new QLabel(QStringLiteral("标题："));
    lbl_title->setObjectName(QStringLiteral("lbl_title"));
    txt_title = new QLineEdit;
    txt_title->setObjectName(QStringLiteral("txt_title"));
    txt_title->installEventFilter(this);
    lbl_content = new QLabel(QStringLiteral("内容："));
    lbl_content->setObjectName(QStringLiteral("lbl_content"));
    txt_content = new QPlainTextEdit;
    txt_content->setObjectName(QStringLiteral("txt_content"));
    txt_content->installEventFilter(this);
    txt_content->setFixedHeight(toPixels(kContentHeight));
    for (QWidget* w : {static_cast<QWidget*>(txt_title), static_cast<QWidget*>(txt_content)})
        w->setMaximumWidth(toPixels(kMaxContentWidth));

    // Side by side when the panel is wide enough, else one below the other.
    m_slotRow = new QBoxLayout(QBoxLayout::LeftToRight);
    m_slotRow->setSpacing(toPixels(240));
    const QString slotCaptions[2] = {QStringLiteral("图片一："), QStringLiteral("图片二：")};
    for (int i = 0; i < 2; ++i) {
        m_slot[i] = new QWidget;
        auto* lbl_img = new QLabel(slotCaptions[i]);
        lbl_img->setObjectName(QStringLiteral("lbl_img%1").arg(i));
        img[i] = new QLabel;
        img[i]->setObjectName(QStringLiteral("img%1").arg(i));
        img[i]->setFrameShape(QFrame::StyledPanel);
        img[i]->setFrameShadow(QFrame::Sunken);
        img[i]->setAlignment(Qt::AlignCenter);
        img[i]->setStyleSheet(QStringLiteral("QLabel { background: white; }"));
        txt_img[i] = new QLineEdit;
        txt_img[i]->setObjectName(QStringLiteral("txt_img%1").arg(i));
        txt_img[i]->setReadOnly(true);
        auto* cmd_img = new QPushButton(QStringLiteral("浏览..."));
        cmd_img->setObjectName(QStringLiteral("cmd_img%1").arg(i));
        connect(cmd_img, &QPushButton::clicked, this, [this, i] { cmd_img_Click(i); });
        auto* grid = new QGridLayout(m_slot[i]);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->addWidget(lbl_img, 0, 0, 1, 2);
        grid->addWidget(img[i], 1, 0, 1, 2, Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(txt_img[i], 2, 0);
        grid->addWidget(cmd_img, 2, 1);
        grid->setColumnStretch(0, 1);
        m_slot[i]->setMinimumWidth(toPixels(kImgTxtPreview.width()));
        setPreviewSize(i, kImgTxtPreview);
        m_slotRow->addWidget(m_slot[i], 0, Qt::AlignLeft | Qt::AlignTop);
    }
    m_slotRow->addStretch(1);

    auto* lay = new QVBoxLayout(sheet);
    lay->setContentsMargins(toPixels(240), toPixels(135), toPixels(560), toPixels(240));
    lay->setSpacing(toPixels(60));
    lay->addWidget(lbl_head);
    lay->addSpacing(toPixels(60));
    lay->addWidget(lbl_title);
    lay->addWidget(txt_title);
    lay->addSpacing(toPixels(120));
    lay->addWidget(lbl_content);
    lay->addWidget(txt_content);
    lay->addSpacing(toPixels(180));
    lay->addLayout(m_slotRow);
    lay->addStretch(1);
    return sheet;
}

void insDataFrm::setPreviewSize(int index, const QSize& twips)
{
    img[index]->setFixedSize(Twips::toPixels(twips));
    arrangeSlots();
}

void insDataFrm::arrangeSlots()
{
    if (!pic_edit || !pic_edit->widget())
        return; // still being built
    const QMargins m = pic_edit->widget()->layout()->contentsMargins();
    const int sideBySide =
        m.left() + m_slot[0]->sizeHint().width() + m_slotRow->spacing() + m_slot[1]->sizeHint().width() + m.right();
    const bool fits = !m_slot[1]->isVisibleTo(pic_edit) || pic_edit->viewport()->width() >= sideBySide;
    m_slotRow->setDirection(fits ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
}

void insDataFrm::loadTree()
{
    m_selNode = nullptr;
    m_binding->reload(m_ctx);
}

PageRef insDataFrm::page() const
{
    return m_selNode ? PageRef{qMax(0, m_selNode->level()), m_selNode->text} : PageRef{};
}

QString insDataFrm::currID() const
{
    return webMultiData->pushedValue(QStringLiteral("currID"));
}

QString insDataFrm::getAspFileName() const
{
    if (!m_selNode)
        return QStringLiteral("none");
    const QString code = CatalogOps::getAspFileName(m_ctx.conn, *m_selNode);
    return code.isEmpty() ? QStringLiteral("none") : code;
}

void insDataFrm::reportDbError(const QString& error)
{
    m_ctx.dialogs.message(error, Messages::error(), MsgIcon::Critical);
}

bool insDataFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tvw_nav->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // The view has selected the node on the press already.
        const auto* me = static_cast<QMouseEvent*>(event);
        tvw_nav_MouseUp(me->button(), me->globalPosition().toPoint());
    } else if ((watched == txt_title || watched == txt_content) && event->type() == QEvent::KeyRelease) {
        m_dataChanged = true;
    } else if (watched == pic_edit->viewport() && event->type() == QEvent::Resize) {
        arrangeSlots();
    }
    return QWidget::eventFilter(watched, event);
}

void insDataFrm::mnu_Refresh_Click()
{
    loadTree();
    webBer->navigate(m_ctx.appPath + kWelcomePage);
    webBer->show();
    advEditer->hide();
    webMultiData->hide();
    pic_edit->hide();
}

void insDataFrm::tvw_nav_MouseUp(Qt::MouseButton button, const QPoint& globalPos)
{
    if (m_dataChanged) {
        const MsgAnswer a =
            m_ctx.dialogs.message(QStringLiteral("是否保存当前数据，如需要保存当前数据，单击工具栏上的保存按钮?"),
                                  Messages::notice(), MsgIcon::Information, MsgButtons::YesNo);
        if (a == MsgAnswer::Yes)
            return;
        m_dataChanged = false;
    }
    if (button == Qt::RightButton) {
        mnuIns->popup(globalPos.isNull() ? QCursor::pos() : globalPos);
        return;
    }

    txt_title->clear();
    txt_content->clear();
    for (int i = 0; i < 2; ++i) {
        txt_img[i]->clear();
        img[i]->clear();
        imgFiles[i].clear();
    }
    cmd_ok->setEnabled(false);
    // The record buttons belong to the list of the page selected now: a record
    // ticked in another page's list must never be deleted under this node's table.
    for (QPushButton* b : cmd_addData)
        b->setEnabled(false);
    m_format = QStringLiteral("none");
    m_selNode = m_binding->selectedNode();
    // Anything typed while clearing is not the user's.
    m_dataChanged = false;
    if (!m_selNode)
        return;

    if (m_selNode->isPage()) {
        webBer->hide();
        m_format = getAspFileName();
        cmd_ok->setEnabled(true);
        if (m_format != QLatin1String("none")) {
            showFormatLayout(m_format);
            loadContent(m_format, *m_selNode);
        } else {
            m_ctx.dialogs.message(QStringLiteral("请先在设计栏目中设计好该栏目或单击右键刷新！"), Messages::warning(),
                                  MsgIcon::Warning);
        }
    } else if (button == Qt::LeftButton) {
        showStatus(m_selNode->text, QStringLiteral("（该栏目是父节点）"));
    }
}

void insDataFrm::showStatus(const QString& pageName, const QString& formatName)
{
    StsBar[0]->setText(QStringLiteral("当前栏目：") + pageName);
    StsBar[1]->setText(QStringLiteral("显示格式：") + formatName);
}

void insDataFrm::showFormatLayout(const QString& format)
{
    for (QPushButton* b : cmd_addData)
        b->setEnabled(false);
    cmd_ok->setEnabled(false);
    advEditer->hide();
    webMultiData->hide();
    pic_edit->hide();
    pic_edit->verticalScrollBar()->setValue(0);

    const DisplayFormats::Format* f = DisplayFormats::find(format);
    showStatus(m_selNode ? m_selNode->text : QString(), f ? f->statusName() : QString());
    if (!f)
        return;
    if (!f->headCaption().isEmpty())
        lbl_head->setText(f->headCaption());
    const bool text = f->editor == Editor::Text || f->editor == Editor::ImageText;
    for (QWidget* w : {static_cast<QWidget*>(lbl_title), static_cast<QWidget*>(txt_title),
                       static_cast<QWidget*>(lbl_content), static_cast<QWidget*>(txt_content)})
        w->setVisible(text);
    m_naturalSize = f->naturalSize;
    for (int i = 0; i < 2; ++i)
        m_slot[i]->setVisible(i < f->pictureSlots);
    for (int i = 0; i < 2; ++i)
        setPreviewSize(i, f->editor == Editor::BigImage ? kBigImgPreview : kImgTxtPreview);
    if (f->isInPlace()) {
        pic_edit->show();
        cmd_ok->setEnabled(true);
    } else if (f->isList()) {
        webMultiData->show();
        for (QPushButton* b : cmd_addData)
            b->setEnabled(true);
    } else {
        advEditer->setAspFileName(format);
        advEditer->show();
    }
}

void insDataFrm::showPreview(int index, const QString& path)
{
    QLabel* box = img[index];
    box->clear();
    if (m_naturalSize) {
        // The picture's own size, no wider than the preview limit.
        const QImage pic =
            path.isEmpty() ? QImage() : Pictures::loadFitted(path, QSize(toPixels(kMaxPreviewWidth), 1 << 20));
        setPreviewSize(index, pic.isNull() ? kImgTxtPreview : Twips::fromPixels(pic.size() + QSize(2, 2)));
        if (!pic.isNull())
            box->setPixmap(QPixmap::fromImage(pic));
        return;
    }
    const QSize bound = box->size() - QSize(4, 4);
    QImage pic = path.isEmpty() ? QImage() : Pictures::loadFitted(path, bound);
    if (!pic.isNull()) {
        if (pic.width() < bound.width() && pic.height() < bound.height())
            pic = pic.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        box->setPixmap(QPixmap::fromImage(pic));
    }
}

void insDataFrm::loadContent(const QString& format, const CatalogNode& node)
{
    const DisplayFormats::Format* f = DisplayFormats::find(format);
    if (!f)
        return;
    const SqlResult r = f->isList() ? ContentStore::selectListRows(m_ctx.conn, node.level(), node.text)
                                    : m_ctx.conn.selectContents(node.level(), node.text);
    if (!r) {
        reportDbError(r.error);
        return;
    }
    if (f->isList()) {
        // A new list has no ticked record.
        webMultiData->clearPushedValues();
        webMultiData->setInnerHtml(kListElement, f->editor == Editor::ProductList ? buildProdListHtml(r.rows)
                                                                                  : buildListHtml(r.rows, format));
        return;
    }
    m_isNew = m_advIsNew = r.isEmpty();
    if (f->editor == Editor::Free)
        advEditer->loadInnerHTML(r.isEmpty() ? QString()
                                             : ContentRecords::read<ContentRecords::FreePage>(r.first()).html);
    if (r.isEmpty())
        return;
    const ContentRecords::TextPage text = ContentRecords::read<ContentRecords::TextPage>(r.first());
    if (f->editor == Editor::Text || f->editor == Editor::ImageText) {
        txt_title->setText(text.title);
        txt_content->setPlainText(ContentStore::fromCrLf(m_ctx.decode(text.body)));
    }
    // The stored picture names: both beside a text (both read, even where one slot is
    // shown), the one big picture alone.
    const QString names[2] = {f->editor == Editor::BigImage
                                  ? ContentRecords::read<ContentRecords::BigImagePage>(r.first()).picture
                                  : text.picture1,
                              text.picture2};
    const int named = f->editor == Editor::ImageText ? 2 : f->pictureSlots;
    for (int i = 0; i < named; ++i) {
        txt_img[i]->setText(names[i]);
        imgFiles[i].loadStored(names[i]);
        if (i < f->pictureSlots)
            showPreview(i, names[i].isEmpty() ? QString() : m_ctx.workPath + names[i]);
    }
}

void insDataFrm::cmd_ok_Click()
{
    const PageRef p = page();
    const Outcome check = ContentStore::checkSave(p.level, m_format, txt_title->text());
    for (const Notice& n : check.notices)
        m_ctx.dialogs.message(n.text, n.title, n.icon);
    if (!check.done)
        return;
    ContentStore::SingleRecord record;
    record.title = txt_title->text();
    record.content = m_ctx.encode(ContentStore::toCrLf(txt_content->toPlainText()));
    record.image1 = txt_img[0]->text();
    record.image2 = txt_img[1]->text();
    const SqlResult r = ContentStore::saveSingleRecord(m_ctx.conn, p.level, m_format, p.name, m_isNew, record);
    if (!r) {
        reportDbError(r.error);
        return;
    }
    if (!m_isNew && r.rowsAffected == 0) {
        const Notice gone = ContentStore::pageGone();
        m_ctx.dialogs.message(gone.text, gone.title, gone.icon);
        return;
    }
    const DisplayFormats::Format* f = DisplayFormats::find(m_format);
    const int pictureSlots = f ? f->pictureSlots : 0;
    const QString saved[2] = {record.image1, pictureSlots < 2 ? QString() : record.image2};
    for (int i = 0; i < pictureSlots; ++i) {
        // A picture moved to the other slot is still named by the record.
        imgFiles[i].stored(saved[i], m_ctx.conn, m_ctx.workPath, {saved[1 - i]});
        imgFiles[i].newName.clear();
        imgFiles[i].oldName.clear();
    }
    m_isNew = false;
    m_advIsNew = false;
    m_ctx.dialogs.message(QStringLiteral("数据已保存！"), Messages::notice(), MsgIcon::Information);
    m_dataChanged = false;
}

void insDataFrm::cmd_img_Click(int index)
{
    const Pictures::Choice choice = Pictures::askForPicture(m_ctx.dialogs);
    if (!choice.ok())
        return;
    const int other = 1 - index;
    const WorkspaceFiles::Result placed = imgFiles[index].place(choice.path, m_ctx.conn, m_ctx.workPath,
                                                                {txt_img[other]->text(), imgFiles[other].storedName});
    if (!placed.ok) {
        m_ctx.dialogs.message(placed.error, Messages::notice(), MsgIcon::Critical);
        return;
    }
    showPreview(index, choice.path);
    txt_img[index]->setText(placed.fileName);
}

void insDataFrm::openEntryDialog(EntryDialog* dlg)
{
    if (!dlg->Form_Load()) {
        delete dlg;
        return;
    }
    connect(dlg, &EntryDialog::stored, this, [this] { tvw_nav_MouseUp(Qt::LeftButton); });
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->open();
}

void insDataFrm::cmd_addData_Click(int index)
{
    const DisplayFormats::Format* f = DisplayFormats::find(m_format);
    const Editor editor = f ? f->editor : Editor::Free;
    if (index == 0) {
        if (editor == Editor::NewsList)
            openEntryDialog(new insDatafrm_news(m_ctx, page(), QString(), this));
        else if (editor == Editor::GalleryList)
            openEntryDialog(new insDataFrm_imgs(m_ctx, page(), QString(), this));
        else if (editor == Editor::ProductList)
            openEntryDialog(new insDataFrm_prod(m_ctx, page(), QString(), this));
        return;
    }
    const QString id = currID();
    if (ContentStore::parseRecordId(id) < 0) {
        m_ctx.dialogs.message(QStringLiteral("当前没有选择数据！"), Messages::notice(), MsgIcon::Critical);
        return;
    }
    if (index == 2) {
        if (editor == Editor::NewsList)
            openEntryDialog(new insDataFrm_newsMod(m_ctx, page(), id, this));
        else if (editor == Editor::GalleryList)
            openEntryDialog(new insDataFrm_imgsMod(m_ctx, page(), id, this));
        else if (editor == Editor::ProductList)
            openEntryDialog(new insDataFrm_prodMod(m_ctx, page(), id, this));
        return;
    }
    if (index == 1) {
        const MsgAnswer a = m_ctx.dialogs.message(QStringLiteral("确实要删除该条数据吗？"), Messages::warning(),
                                                  MsgIcon::None, MsgButtons::OkCancel);
        if (a != MsgAnswer::Ok)
            return;
        deleteContent(id);
        tvw_nav_MouseUp(Qt::LeftButton);
    }
}

void insDataFrm::deleteContent(const QString& id)
{
    const int level = page().level;
    if (level < 1) {
        Messages::show(m_ctx.dialogs, Messages::Id::UnexpectedLevel);
        return;
    }
    const SqlResult r = m_ctx.conn.deleteContent(level, ContentStore::parseRecordId(id));
    if (!r)
        reportDbError(r.error);
}
