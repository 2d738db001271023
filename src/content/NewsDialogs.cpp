#include "NewsDialogs.h"

#include "content/myDate.h"
#include "core/Messages.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

static const QSize kPreview(200, 140);

NewsEntryDialog::NewsEntryDialog(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent,
                                 const QString& caption, const QString& okCaption)
    : EntryDialog(ctx, page, currID, parent)
{
    setWindowTitle(caption);
    txt_title = new QLineEdit;
    txt_title->setObjectName(QStringLiteral("txt_title"));
    myDate1 = new myDate;
    myDate1->setObjectName(QStringLiteral("myDate1"));
    myDate1->setFixedWidth(150);
    txt_content = new QPlainTextEdit;
    txt_content->setObjectName(QStringLiteral("txt_content"));
    img = new QLabel;
    img->setObjectName(QStringLiteral("img"));
    img->setFixedSize(kPreview);
    img->setFrameShape(QFrame::StyledPanel);
    img->setFrameShadow(QFrame::Sunken);
    img->setAlignment(Qt::AlignCenter);
    img->setStyleSheet(QStringLiteral("QLabel { background: white; }"));
    lbl_imgName = new QLabel;
    lbl_imgName->setObjectName(QStringLiteral("lbl_imgName"));
    cmd_img = new QPushButton(QStringLiteral("浏览..."));
    cmd_img->setObjectName(QStringLiteral("cmd_img"));
    OKButton = new QPushButton(okCaption);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(false);
    OKButton->setAutoDefault(false);
    CancelButton = new QPushButton(QStringLiteral("取消"));
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->addWidget(new QLabel(QStringLiteral("标题：")), 0, 0);
    grid->addWidget(txt_title, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("日期：")), 1, 0);
    grid->addWidget(myDate1, 1, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("内容：")), 2, 0, Qt::AlignTop);
    grid->addWidget(txt_content, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("图片：")), 3, 0, Qt::AlignTop);
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(img);
    auto* pictureSide = new QVBoxLayout;
    pictureSide->addWidget(lbl_imgName);
    pictureSide->addWidget(cmd_img, 0, Qt::AlignLeft);
    pictureSide->addStretch(1);
    pictureRow->addLayout(pictureSide, 1);
    grid->addLayout(pictureRow, 3, 1);
    grid->setRowStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto* lay = new QVBoxLayout(this);
    lay->addLayout(grid, 1);
    lay->addLayout(buttons);
    resize(540, 480);

    connect(cmd_img, &QPushButton::clicked, this, &NewsEntryDialog::cmd_img_Click);
    connect(OKButton, &QPushButton::clicked, this, &NewsEntryDialog::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &NewsEntryDialog::CancelButton_Click);
}

ContentRecords::NewsItem NewsEntryDialog::item() const
{
    return {txt_title->text(), myDate1->value(), m_ctx.encode(ContentStore::toCrLf(txt_content->toPlainText())),
            lbl_imgName->text()};
}

void NewsEntryDialog::showPicture(const QString& path)
{
    const QImage pic = Pictures::loadFitted(path, kPreview - QSize(4, 4));
    if (pic.isNull())
        img->clear();
    else
        img->setPixmap(QPixmap::fromImage(pic));
}

void NewsEntryDialog::cmd_img_Click()
{
    const Pictures::Choice choice = Pictures::askForPicture(m_ctx.dialogs);
    if (!choice.ok())
        return;
    const WorkspaceFiles::Result placed = imgFile.place(choice.path, m_ctx.conn, m_ctx.workPath);
    if (!placed.ok) {
        m_ctx.dialogs.message(placed.error, Messages::notice(), MsgIcon::Critical);
        return;
    }
    showPicture(choice.path);
    lbl_imgName->setText(placed.fileName);
}

insDatafrm_news::insDatafrm_news(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent)
    : NewsEntryDialog(ctx, page, currID, parent, QStringLiteral("添加数据"), QStringLiteral("添加"))
{
    setObjectName(QStringLiteral("insDatafrm_news"));
}

void insDatafrm_news::OKButton_Click()
{
    const ContentRecords::NewsItem news = item();
    insertRecord([&](int level, const QString& page) { return ContentRecords::insert(m_ctx.conn, level, page, news); });
}

insDataFrm_newsMod::insDataFrm_newsMod(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent)
    : NewsEntryDialog(ctx, page, currID, parent, QStringLiteral("修改数据"), QStringLiteral("修改"))
{
    setObjectName(QStringLiteral("insDataFrm_newsMod"));
}

bool insDataFrm_newsMod::Form_Load()
{
    QSqlRecord row;
    if (!readTicked(&row))
        return false;
    if (row.isEmpty())
        return true;
    const ContentRecords::NewsItem news = ContentRecords::read<ContentRecords::NewsItem>(row);
    txt_title->setText(news.title);
    myDate1->setValue(news.date);
    txt_content->setPlainText(ContentStore::fromCrLf(m_ctx.decode(news.body)));
    const QString& picture = news.picture;
    lbl_imgName->setText(picture);
    imgFile.loadStored(picture);
    if (!picture.isEmpty() && QFileInfo::exists(m_ctx.workPath + picture))
        showPicture(m_ctx.workPath + picture);
    return true;
}

void insDataFrm_newsMod::OKButton_Click()
{
    const ContentRecords::NewsItem news = item();
    if (!updateRecord([&](int level, qint64 id) { return ContentRecords::update(m_ctx.conn, level, id, news); }))
        return;
    imgFile.stored(news.picture, m_ctx.conn, m_ctx.workPath);
    finish();
}
