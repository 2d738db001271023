#include "GalleryDialogs.h"

#include "core/Messages.h"
#include "text/Twips.h"

#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

using Twips::fromPixels;
using Twips::toPixels;

GalleryEntryDialog::GalleryEntryDialog(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent,
                                       const QString& caption, const QString& okCaption)
    : EntryDialog(ctx, page, currID, parent)
{
    setWindowTitle(caption);
    txt_title = new QLineEdit;
    txt_title->setObjectName(QStringLiteral("txt_title"));

    pic_imgs = new QScrollArea;
    pic_imgs->setObjectName(QStringLiteral("pic_imgs"));
    pic_imgs->setFixedSize(toPixels(kViewWidth), toPixels(kViewHeight));
    pic_imgs->setStyleSheet(QStringLiteral("QScrollArea#pic_imgs { background: white; border: 1px solid #808080; }"));
    pic_imgs->verticalScrollBar()->setObjectName(QStringLiteral("scrl0"));
    pic_imgs->horizontalScrollBar()->setObjectName(QStringLiteral("scrl1"));
    img = new QLabel;
    img->setObjectName(QStringLiteral("img"));
    img->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pic_imgs->setWidget(img);
    img->resize(0, 0); // nothing to show until a picture is chosen

    // The thumbnail box grows up to 2000 twips square; its frame keeps that room.
    auto* thumbArea = new QWidget;
    thumbArea->setFixedSize(toPixels(kThumbBoxWidth), toPixels(2000));
    pic_imgsSmall = new QLabel(thumbArea);
    pic_imgsSmall->setObjectName(QStringLiteral("pic_imgsSmall"));
    pic_imgsSmall->setStyleSheet(QStringLiteral("QLabel { background: white; border: 1px solid #808080; }"));
    pic_imgsSmall->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_thumbBoxPx = QSize(toPixels(kThumbBoxWidth), toPixels(kThumbBoxHeight));
    pic_imgsSmall->setGeometry(QRect(QPoint(0, 0), m_thumbBoxPx));

    lbl_imgName = new QLabel;
    lbl_imgName->setObjectName(QStringLiteral("lbl_imgName"));
    lbl_imgName->setWordWrap(true);
    cmd_img = new QPushButton(QStringLiteral("浏览..."));
    cmd_img->setObjectName(QStringLiteral("cmd_img"));
    OKButton = new QPushButton(okCaption);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setAutoDefault(false);
    CancelButton = new QPushButton(QStringLiteral("取消"));
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);

    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(new QLabel(QStringLiteral("图片文说明：")));
    captionRow->addWidget(txt_title, 1);

    auto* viewColumn = new QVBoxLayout;
    viewColumn->addWidget(new QLabel(QStringLiteral("实际大小：")));
    viewColumn->addWidget(pic_imgs);
    viewColumn->addStretch(1);

    auto* thumbColumn = new QVBoxLayout;
    thumbColumn->addWidget(new QLabel(QStringLiteral("缩略图片：")));
    thumbColumn->addWidget(thumbArea);
    thumbColumn->addWidget(lbl_imgName);
    thumbColumn->addWidget(cmd_img, 0, Qt::AlignLeft);
    thumbColumn->addStretch(1);

    auto* pictures = new QHBoxLayout;
    pictures->addLayout(viewColumn);
    pictures->addSpacing(12);
    pictures->addLayout(thumbColumn);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto* lay = new QVBoxLayout(this);
    lay->addLayout(captionRow);
    lay->addSpacing(6);
    lay->addLayout(pictures, 1);
    lay->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(toPixels(kViewWidth) + toPixels(kThumbBoxWidth) + 60, 0)));

    connect(cmd_img, &QPushButton::clicked, this, &GalleryEntryDialog::cmd_img_Click);
    connect(OKButton, &QPushButton::clicked, this, &GalleryEntryDialog::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &GalleryEntryDialog::CancelButton_Click);
}

ContentRecords::GalleryItem GalleryEntryDialog::item() const
{
    return {txt_title->text(), lbl_imgName->text(), thumbnail.oldName};
}

void GalleryEntryDialog::showFull(const QImage& pictureImage)
{
    if (pictureImage.isNull())
        img->clear();
    else
        img->setPixmap(QPixmap::fromImage(pictureImage));
    img->resize(pictureImage.isNull() ? QSize(0, 0) : pictureImage.size());
    pic_imgs->verticalScrollBar()->setValue(0);
    pic_imgs->horizontalScrollBar()->setValue(0);
}

void GalleryEntryDialog::showThumbnail(const QImage& thumb, const QSize& boxPx)
{
    m_thumbBoxPx = boxPx;
    pic_imgsSmall->setGeometry(QRect(QPoint(0, 0), boxPx));
    if (thumb.isNull())
        pic_imgsSmall->clear();
    else
        pic_imgsSmall->setPixmap(QPixmap::fromImage(thumb));
}

void GalleryEntryDialog::cmd_img_Click()
{
    const Pictures::Choice choice = Pictures::askForPicture(m_ctx.dialogs);
    if (!choice.ok())
        return;
    // Everything is read before anything in the workspace changes.
    const QImage full = Pictures::load(choice.path);
    const QSize thumbTw = Pictures::thumbnailTwips(fromPixels(full.size()), fromPixels(m_thumbBoxPx.height()));
    // A sliver of a picture still gets a thumbnail at least one pixel across.
    const QSize thumbPx = Twips::toPixels(thumbTw).expandedTo(QSize(1, 1));
    const QImage thumb = full.isNull() ? QImage() : Pictures::makeThumbnail(choice.path, thumbPx);
    if (thumb.isNull()) {
        m_ctx.dialogs.message(Pictures::unreadableMessage(), Messages::notice(), MsgIcon::Critical);
        return;
    }
    // The picture and its thumbnail go in together, or neither does.
    const WorkspaceFiles::Result placed = WorkspaceFiles::copyIn(choice.path, m_ctx.workPath);
    WorkspaceFiles::Result thumbPlaced;
    if (placed.ok) {
        thumbPlaced = WorkspaceFiles::writeIn(Pictures::bmpBytes(thumb), Pictures::thumbnailName(placed.fileName),
                                              m_ctx.workPath);
        if (!thumbPlaced.ok && placed.created)
            QFile::remove(m_ctx.workPath + placed.fileName);
    }
    if (!placed.ok || !thumbPlaced.ok) {
        m_ctx.dialogs.message(placed.ok ? thumbPlaced.error : placed.error, Messages::notice(), MsgIcon::Critical);
        return;
    }

    showFull(full);
    showThumbnail(thumb, thumbPx);
    picture.adopt(placed, m_ctx.conn, m_ctx.workPath);
    thumbnail.adopt(thumbPlaced, m_ctx.conn, m_ctx.workPath);
    lbl_imgName->setText(placed.fileName);
}

insDataFrm_imgs::insDataFrm_imgs(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent)
    : GalleryEntryDialog(ctx, page, currID, parent, QStringLiteral("添加数据"), QStringLiteral("添加"))
{
    setObjectName(QStringLiteral("insDataFrm_imgs"));
}

void insDataFrm_imgs::OKButton_Click()
{
    if (txt_title->text().trimmed().isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("请输入图片说明文字!"), Messages::notice(), MsgIcon::Information);
        return;
    }
    const ContentRecords::GalleryItem gallery = item();
    insertRecord(
        [&](int level, const QString& page) { return ContentRecords::insert(m_ctx.conn, level, page, gallery); });
}

insDataFrm_imgsMod::insDataFrm_imgsMod(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent)
    : GalleryEntryDialog(ctx, page, currID, parent, QStringLiteral("预览数据"), QStringLiteral("修改"))
{
    setObjectName(QStringLiteral("insDataFrm_imgsMod"));
}

bool insDataFrm_imgsMod::Form_Load()
{
    QSqlRecord row;
    if (!readTicked(&row))
        return false;
    if (row.isEmpty())
        return true;
    const ContentRecords::GalleryItem item = ContentRecords::read<ContentRecords::GalleryItem>(row);
    txt_title->setText(item.caption);
    const QString& pictureName = item.picture;
    const QString& thumbName = item.thumbnail;
    showFull(pictureName.isEmpty() ? QImage() : Pictures::load(m_ctx.workPath + pictureName));
    const QImage thumb = thumbName.isEmpty() ? QImage() : Pictures::load(m_ctx.workPath + thumbName);
    showThumbnail(thumb, m_thumbBoxPx);
    lbl_imgName->setText(pictureName);
    picture.loadStored(pictureName);
    thumbnail.loadStored(thumbName);
    return true;
}

void insDataFrm_imgsMod::OKButton_Click()
{
    if (txt_title->text().trimmed().isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("图片文字说明不能为空"), Messages::notice(), MsgIcon::Information);
        return;
    }
    const ContentRecords::GalleryItem gallery = item();
    if (!updateRecord([&](int level, qint64 id) { return ContentRecords::update(m_ctx.conn, level, id, gallery); }))
        return;
    picture.stored(gallery.picture, m_ctx.conn, m_ctx.workPath);
    thumbnail.stored(gallery.thumbnail, m_ctx.conn, m_ctx.workPath);
    finish();
}
