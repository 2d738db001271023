#include "insDataFrm.h"

#include "content/ContentStore.h"
#include "content/GalleryDialogs.h"
#include "content/ListHtml.h"
#include "content/NewsDialogs.h"
#include "content/Pictures.h"
#include "structure/CatalogOps.h"
#include "structure/CatalogTreeBinding.h"
#include "structure/DisplayFormats.h"
#include "widgets/WebPane.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int px(int twips) { return twips / Pictures::kTwipsPerPixel; }
constexpr int kLeft = 240;          // left edge of the in-place editors
constexpr int kHeadTop = 135;       // the head label's top when not scrolled
constexpr int kLabelGap = 270;      // from a caption label to its box
constexpr int kBoxHeight = 330;     // one-line boxes and buttons
constexpr int kContentHeight = 2900;
constexpr int kMaxContentWidth = 8000;
constexpr int kImgTxtPreview[2] = {3735, 2295};
constexpr int kBigImgPreview[2] = {7500, 6000};
constexpr int kMaxPreviewWidth = 7500;
constexpr int kSlotGap = 240;
constexpr int kBrowseWidth = 900;

const QString kListElement = QStringLiteral("editID");
const QString kWelcomePage = QStringLiteral("tmplImg/welcome02.htm");

template <class Dialog>
void openEntryDialog(AppContext& ctx, insDataFrm& owner)
{
    auto* dlg = new Dialog(ctx, owner, &owner);
    if (!dlg->Form_Load()) {
        delete dlg;
        return;
    }
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->open();
}

} // namespace

insDataFrm::insDataFrm(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("insDataFrm"));
    setWindowTitle(QStringLiteral("录入数据"));
    buildControls();

    loadTree();
    if (CatalogNode* root = m_tree.root())
        m_binding->select(root);
    resize(px(10125), px(6200));
    advIsNew = true;

    webBer->navigate(m_ctx.appPath + kWelcomePage);
    webMultiData->navigate(m_ctx.appPath + QStringLiteral("multiData.htm"));
    advEditer->hide();
    pic_edit->hide();
    webMultiData->hide();
}

QSize insDataFrm::sizeHint() const
{
    return {px(10125), px(6200)};
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

    // The in-place editors, placed by hand so that vscrl can move them.
    pic_edit = new QWidget;
    pic_edit->setObjectName(QStringLiteral("pic_edit"));
    pic_edit->setAutoFillBackground(true);
    pic_edit->installEventFilter(this);
    lbl_head = new QLabel(QStringLiteral("欢迎使用Weblark自动建站软件"), pic_edit);
    lbl_head->setObjectName(QStringLiteral("lbl_head"));
    QFont headFont = lbl_head->font();
    headFont.setBold(true);
    headFont.setPointSizeF(headFont.pointSizeF() * 1.15);
    lbl_head->setFont(headFont);
    lbl_title = new QLabel(QStringLiteral("标题："), pic_edit);
    lbl_title->setObjectName(QStringLiteral("lbl_title"));
    txt_title = new QLineEdit(pic_edit);
    txt_title->setObjectName(QStringLiteral("txt_title"));
    txt_title->installEventFilter(this);
    lbl_content = new QLabel(QStringLiteral("内容："), pic_edit);
    lbl_content->setObjectName(QStringLiteral("lbl_content"));
    txt_content = new QPlainTextEdit(pic_edit);
    txt_content->setObjectName(QStringLiteral("txt_content"));
    txt_content->installEventFilter(this);
    const QString slotCaptions[2] = {QStringLiteral("图片一："), QStringLiteral("图片二：")};
    for (int i = 0; i < 2; ++i) {
        lbl_img[i] = new QLabel(slotCaptions[i], pic_edit);
        lbl_img[i]->setObjectName(QStringLiteral("lbl_img%1").arg(i));
        img[i] = new QLabel(pic_edit);
        img[i]->setObjectName(QStringLiteral("img%1").arg(i));
        img[i]->setFrameShape(QFrame::StyledPanel);
        img[i]->setFrameShadow(QFrame::Sunken);
        img[i]->setAlignment(Qt::AlignCenter);
        img[i]->setStyleSheet(QStringLiteral("QLabel { background: white; }"));
        txt_img[i] = new QLineEdit(pic_edit);
        txt_img[i]->setObjectName(QStringLiteral("txt_img%1").arg(i));
        txt_img[i]->setReadOnly(true);
        cmd_img[i] = new QPushButton(QStringLiteral("浏览..."), pic_edit);
        cmd_img[i]->setObjectName(QStringLiteral("cmd_img%1").arg(i));
        connect(cmd_img[i], &QPushButton::clicked, this, [this, i] { cmd_img_Click(i); });
        m_previewTwips[i] = QSize(kImgTxtPreview[0], kImgTxtPreview[1]);
    }
    vscrl = new QScrollBar(Qt::Vertical, pic_edit);
    vscrl->setObjectName(QStringLiteral("vscrl"));
    connect(vscrl, &QScrollBar::valueChanged, this, [this] { placeEditors(); });

    webBer = new WebPane;
    webBer->setObjectName(QStringLiteral("webBer"));
    webMultiData = new WebPane;
    webMultiData->setObjectName(QStringLiteral("webMultiData"));
    // The page editor of free-design pages comes with the rich-text editor.
    advEditer = new QWidget;
    advEditer->setObjectName(QStringLiteral("advEditer"));
    advEditer->setAutoFillBackground(true);

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
    cmd_help = new QPushButton(QStringLiteral("帮助"));
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
    split->setSizes({px(2400), px(7700)});
    split->setChildrenCollapsible(false);

    auto* status = new QHBoxLayout;
    status->setContentsMargins(2, 2, 2, 2);
    for (int i = 0; i < 2; ++i) {
        StsBar[i] = new QLabel;
        StsBar[i]->setObjectName(QStringLiteral("StsBar%1").arg(i));
        StsBar[i]->setFrameShape(QFrame::Panel);
        StsBar[i]->setFrameShadow(QFrame::Sunken);
        StsBar[i]->setMinimumHeight(px(300));
        status->addWidget(StsBar[i], 1);
    }

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(split, 1);
    lay->addLayout(status);
}

void insDataFrm::loadTree()
{
    m_selNode = nullptr;
    m_binding->reload(m_ctx);
}

int insDataFrm::selLevel() const
{
    return m_selNode ? qMax(0, m_selNode->level()) : 0;
}

QString insDataFrm::selNodeText() const
{
    return m_selNode ? m_selNode->text : QString();
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
    m_ctx.dialogs.message(error, QStringLiteral("错误"), MsgIcon::Critical);
}

bool insDataFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tvw_nav->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // The view has selected the node on the press already.
        const auto* me = static_cast<QMouseEvent*>(event);
        tvw_nav_MouseUp(me->button(), me->globalPosition().toPoint());
    } else if ((watched == txt_title || watched == txt_content) && event->type() == QEvent::KeyRelease) {
        dataChanged = true;
    } else if (watched == pic_edit && event->type() == QEvent::Resize) {
        placeEditors();
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
    if (dataChanged) {
        const MsgAnswer a = m_ctx.dialogs.message(
            QStringLiteral("是否保存当前数据，如需要保存当前数据，单击工具栏上的保存按钮?"), QStringLiteral("提示"),
            MsgIcon::Information, MsgButtons::YesNo);
        if (a == MsgAnswer::Yes)
            return;
        dataChanged = false;
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
    dataChanged = false;
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
            m_ctx.dialogs.message(QStringLiteral("请先在设计栏目中设计好该栏目或单击右键刷新！"), QStringLiteral("警告"),
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
    for (QWidget* w : {static_cast<QWidget*>(lbl_title), static_cast<QWidget*>(txt_title),
                       static_cast<QWidget*>(lbl_content), static_cast<QWidget*>(txt_content), pic_edit})
        w->hide();
    m_slots = 0;
    m_naturalSize = false;
    for (QPushButton* b : cmd_addData)
        b->setEnabled(false);
    cmd_ok->setEnabled(false);
    advEditer->hide();
    webMultiData->hide();
    vscrl->setValue(0);

    const ContentStore::FormatCaptions captions = ContentStore::formatCaptions(format);
    if (!captions.head.isEmpty())
        lbl_head->setText(captions.head);
    showStatus(m_selNode ? m_selNode->text : QString(), captions.statusName);

    if (format == QLatin1String("txt")) {
        for (QWidget* w : {static_cast<QWidget*>(lbl_title), static_cast<QWidget*>(txt_title),
                           static_cast<QWidget*>(lbl_content), static_cast<QWidget*>(txt_content)})
            w->show();
        pic_edit->show();
        cmd_ok->setEnabled(true);
    } else if (ContentStore::isImgTxtFormat(format)) {
        layoutImgTxt(format);
        cmd_ok->setEnabled(true);
    } else if (format == QLatin1String("bigImg")) {
        m_slots = 1;
        m_previewTwips[0] = QSize(kBigImgPreview[0], kBigImgPreview[1]);
        pic_edit->show();
        cmd_ok->setEnabled(true);
    } else if (format == QLatin1String("news") || format == QLatin1String("imgs") ||
               DisplayFormats::isProductCode(format)) {
        webMultiData->show();
        for (QPushButton* b : cmd_addData)
            b->setEnabled(true);
    } else if (format == QLatin1String("adv")) {
        advEditer->show();
    }
    placeEditors();
}

void insDataFrm::layoutImgTxt(const QString& format)
{
    for (QWidget* w : {static_cast<QWidget*>(lbl_title), static_cast<QWidget*>(txt_title),
                       static_cast<QWidget*>(lbl_content), static_cast<QWidget*>(txt_content)})
        w->show();
    m_slots = format == QLatin1String("imgTxt03") ? 1 : 2;
    m_naturalSize = format == QLatin1String("imgTxt03");
    for (QSize& s : m_previewTwips)
        s = QSize(kImgTxtPreview[0], kImgTxtPreview[1]);
    pic_edit->show();
}

// Lays the visible editors out from the head label down, moved up by the scroll bar.
void insDataFrm::placeEditors()
{
    if (!pic_edit)
        return;
    const int widthTw = pic_edit->width() * Pictures::kTwipsPerPixel;
    const int heightTw = pic_edit->height() * Pictures::kTwipsPerPixel;
    const int contentW = qMin(widthTw - 800, kMaxContentWidth);
    const auto place = [](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(px(left), px(top), qMax(1, px(width)), qMax(1, px(height)));
    };

    int y = kHeadTop - vscrl->value();
    place(lbl_head, kLeft, y, contentW, 360);
    y += 480;
    if (txt_title->isVisibleTo(pic_edit)) {
        place(lbl_title, kLeft, y, contentW, 255);
        place(txt_title, kLeft, y + kLabelGap, contentW, kBoxHeight);
        y += kLabelGap + kBoxHeight + 180;
        place(lbl_content, kLeft, y, contentW, 255);
        place(txt_content, kLeft, y + kLabelGap, contentW, kContentHeight);
        y += kLabelGap + kContentHeight + 240;
    }
    int bottom = y;
    int x = kLeft;
    for (int i = 0; i < 2; ++i) {
        const bool shown = i < m_slots;
        for (QWidget* w : {static_cast<QWidget*>(lbl_img[i]), static_cast<QWidget*>(img[i]),
                           static_cast<QWidget*>(txt_img[i]), static_cast<QWidget*>(cmd_img[i])})
            w->setVisible(shown);
        if (!shown)
            continue;
        const QSize preview = m_previewTwips[i];
        const int slotW = qMax(preview.width(), kImgTxtPreview[0]);
        // Side by side when the panel is wide enough, else one below the other.
        if (i > 0 && x + slotW > widthTw - 300) {
            x = kLeft;
            y = bottom;
        }
        place(lbl_img[i], x, y, slotW, 255);
        place(img[i], x, y + kLabelGap, preview.width(), preview.height());
        const int boxTop = y + kLabelGap + preview.height() + 120;
        place(txt_img[i], x, boxTop, slotW - kBrowseWidth - 90, kBoxHeight);
        place(cmd_img[i], x + slotW - kBrowseWidth, boxTop, kBrowseWidth, kBoxHeight);
        bottom = qMax(bottom, boxTop + kBoxHeight + 240);
        x += slotW + kSlotGap;
    }

    // The range covers what lies below the visible part.
    const int total = bottom + vscrl->value();
    const int range = qMax(0, total - heightTw);
    const QSignalBlocker block(vscrl);
    vscrl->setRange(0, range);
    vscrl->setPageStep(qMax(1, heightTw));
    vscrl->setSingleStep(300);
    vscrl->setVisible(range > 0);
    const int sbw = vscrl->sizeHint().width();
    vscrl->setGeometry(pic_edit->width() - sbw, 0, sbw, pic_edit->height());
}

void insDataFrm::showPreview(int index, const QString& path)
{
    QLabel* box = img[index];
    box->clear();
    if (m_naturalSize) {
        // The picture's own size, no wider than the preview limit.
        const QImage pic = path.isEmpty() ? QImage() : Pictures::loadFitted(path, QSize(px(kMaxPreviewWidth), 1 << 20));
        m_previewTwips[index] = pic.isNull() ? QSize(kImgTxtPreview[0], kImgTxtPreview[1])
                                             : QSize(Pictures::toTwips(pic.width() + 2), Pictures::toTwips(pic.height() + 2));
        if (!pic.isNull())
            box->setPixmap(QPixmap::fromImage(pic));
    } else {
        const QSize bound(px(m_previewTwips[index].width()) - 4, px(m_previewTwips[index].height()) - 4);
        QImage pic = path.isEmpty() ? QImage() : Pictures::loadFitted(path, bound);
        if (!pic.isNull()) {
            if (pic.width() < bound.width() && pic.height() < bound.height())
                pic = pic.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            box->setPixmap(QPixmap::fromImage(pic));
        }
    }
    placeEditors();
}

void insDataFrm::loadContent(const QString& format, const CatalogNode& node)
{
    const bool list =
        format == QLatin1String("news") || format == QLatin1String("imgs") || DisplayFormats::isProductCode(format);
    const SqlResult r = list ? ContentStore::selectListRows(m_ctx.conn, node.level(), node.text)
                             : m_ctx.conn.selectContents(node.level(), node.text);
    if (!r) {
        reportDbError(r.error);
        return;
    }
    if (list) {
        // A new list has no ticked record.
        webMultiData->clearPushedValues();
        webMultiData->setInnerHtml(kListElement, DisplayFormats::isProductCode(format) ? buildProdListHtml(r.rows)
                                                                                        : buildListHtml(r.rows, format));
        return;
    }
    if (r.isEmpty()) {
        advIsNew = true;
        m_isNew = true;
        return;
    }
    advIsNew = false;
    m_isNew = false;
    const QSqlRecord& row = r.first();
    const auto value = [&row](const char* column) { return fieldText(row, QLatin1String(column)); };
    if (format == QLatin1String("txt") || ContentStore::isImgTxtFormat(format)) {
        txt_title->setText(value("value01"));
        txt_content->setPlainText(ContentStore::fromCrLf(m_ctx.decode(value("value02"))));
    }
    if (ContentStore::isImgTxtFormat(format)) {
        const QString names[2] = {value("value03"), value("value04")};
        for (int i = 0; i < 2; ++i) {
            txt_img[i]->setText(names[i]);
            imgFiles[i].loadStored(names[i]);
            if (i < m_slots)
                showPreview(i, names[i].isEmpty() ? QString() : m_ctx.workPath + names[i]);
        }
    } else if (format == QLatin1String("bigImg")) {
        txt_img[0]->setText(value("value01"));
        imgFiles[0].loadStored(value("value01"));
        showPreview(0, value("value01").isEmpty() ? QString() : m_ctx.workPath + value("value01"));
    }
}

void insDataFrm::cmd_ok_Click()
{
    const int level = selLevel();
    if (level < 1) {
        m_ctx.dialogs.message(QStringLiteral("没有在左边选择栏目！"), QStringLiteral("警告"), MsgIcon::Critical);
        return;
    }
    if (!ContentStore::isSingleRecordFormat(m_format))
        return; // list pages store through their dialogs
    if (m_format != QLatin1String("bigImg") && txt_title->text().trimmed().isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("标题不能为空"), QStringLiteral("提示"), MsgIcon::Information);
        return;
    }
    ContentStore::SingleRecord record;
    record.title = txt_title->text();
    record.content = m_ctx.encode(ContentStore::toCrLf(txt_content->toPlainText()));
    record.image1 = txt_img[0]->text();
    record.image2 = txt_img[1]->text();
    const SqlResult r = ContentStore::saveSingleRecord(m_ctx.conn, level, m_format, m_selNode->text, m_isNew, record);
    if (!r) {
        reportDbError(r.error);
        return;
    }
    const QString saved[2] = {record.image1, m_format == QLatin1String("imgTxt03") ? QString() : record.image2};
    for (int i = 0; i < m_slots; ++i) {
        // A picture moved to the other slot is still named by the record.
        imgFiles[i].stored(saved[i], m_ctx.conn, m_ctx.workPath, {saved[1 - i]});
        imgFiles[i].newName.clear();
        imgFiles[i].oldName.clear();
    }
    m_isNew = false;
    advIsNew = false;
    m_ctx.dialogs.message(QStringLiteral("数据已保存！"), QStringLiteral("提示"), MsgIcon::Information);
    dataChanged = false;
}

void insDataFrm::cmd_img_Click(int index)
{
    if (index < 0 || index > 1)
        return;
    const Pictures::Choice choice = Pictures::askForPicture(m_ctx.dialogs);
    if (!choice.ok())
        return;
    const int other = 1 - index;
    const WorkspaceFiles::Result placed = imgFiles[index].place(choice.path, m_ctx.conn, m_ctx.workPath,
                                                                {txt_img[other]->text(), imgFiles[other].storedName});
    if (!placed.ok) {
        m_ctx.dialogs.message(placed.error, QStringLiteral("提示"), MsgIcon::Critical);
        return;
    }
    showPreview(index, choice.path);
    txt_img[index]->setText(placed.fileName);
}

void insDataFrm::cmd_addData_Click(int index)
{
    const bool news = m_format == QLatin1String("news");
    const bool imgs = m_format == QLatin1String("imgs");
    if (index == 0) {
        if (news)
            openEntryDialog<insDatafrm_news>(m_ctx, *this);
        else if (imgs)
            openEntryDialog<insDataFrm_imgs>(m_ctx, *this);
        return;
    }
    const QString id = currID();
    if (ContentStore::parseRecordId(id) < 0) {
        m_ctx.dialogs.message(QStringLiteral("当前没有选择数据！"), QStringLiteral("提示"), MsgIcon::Critical);
        return;
    }
    if (index == 2) {
        if (news)
            openEntryDialog<insDataFrm_newsMod>(m_ctx, *this);
        else if (imgs)
            openEntryDialog<insDataFrm_imgsMod>(m_ctx, *this);
        return;
    }
    if (index == 1) {
        const MsgAnswer a = m_ctx.dialogs.message(QStringLiteral("确实要删除该条数据吗？"), QStringLiteral("警告"),
                                                  MsgIcon::None, MsgButtons::OkCancel);
        if (a != MsgAnswer::Ok)
            return;
        deleteContent(id);
        tvw_nav_MouseUp(Qt::LeftButton);
    }
}

void insDataFrm::deleteContent(const QString& id)
{
    const int level = selLevel();
    if (level < 1) {
        m_ctx.dialogs.message(QStringLiteral("不期望的错误：栏目选择错误！"), QStringLiteral("错误"), MsgIcon::Critical);
        return;
    }
    const SqlResult r = m_ctx.conn.deleteContent(level, ContentStore::parseRecordId(id));
    if (!r)
        reportDbError(r.error);
}
