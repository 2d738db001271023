#include "ProductDialogs.h"

#include "core/Messages.h"
#include "editor/advEdit.h"
#include "widgets/InputHelpers.h"

#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

static const QSize kThumb(160, 120);

insDataFrm_img::insDataFrm_img(const QImage& picture, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("insDataFrm_img"));
    setWindowTitle(QStringLiteral("实际大小"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    auto* canvas = new QWidget;
    // The closing button lies under the picture: Escape and a click on the picture close the window.
    cmd_cancel = new QPushButton(QStringLiteral("取消"), canvas);
    cmd_cancel->setObjectName(QStringLiteral("cmd_cancel"));
    cmd_cancel->setGeometry(0, 0, 1, 1);
    img_prod = new QLabel(canvas);
    img_prod->setObjectName(QStringLiteral("img_prod"));
    img_prod->setPixmap(QPixmap::fromImage(picture));
    img_prod->setGeometry(QRect(QPoint(0, 0), picture.size()));
    img_prod->installEventFilter(this);
    canvas->setFixedSize(picture.size());
    area->setWidget(canvas);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(area);
    // A picture larger than the screen scrolls instead of running off it.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableSize() * 9 / 10 : picture.size();
    resize(picture.size().boundedTo(room));
    connect(cmd_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool insDataFrm_img::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == img_prod && event->type() == QEvent::MouseButtonRelease)
        reject();
    return QDialog::eventFilter(watched, event);
}

insDataFrm_imgMod::insDataFrm_imgMod(const QImage& picture, QWidget* parent) : insDataFrm_img(picture, parent)
{
    setObjectName(QStringLiteral("insDataFrm_imgMod"));
}

ProductEntryDialog::ProductEntryDialog(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent,
                                       const QString& caption, const QString& okCaption)
    : EntryDialog(ctx, page, currID, parent)
{
    setWindowTitle(caption);
    const auto box = [](const char* name) {
        auto* b = new QLineEdit;
        b->setObjectName(QLatin1String(name));
        return b;
    };
    txt_Name = box("txt_Name");
    txt_spec = box("txt_spec");
    txt_unit = box("txt_unit");
    txt_price = box("txt_price");
    InputHelpers::guardNumeric(txt_price, ctx.dialogs);

    auto* basic = new QGroupBox(QStringLiteral("基本信息"));
    auto* form = new QFormLayout(basic);
    form->addRow(QStringLiteral("产品名称："), txt_Name);
    form->addRow(QStringLiteral("规格："), txt_spec);
    form->addRow(QStringLiteral("单位："), txt_unit);
    auto* priceRow = new QHBoxLayout;
    priceRow->addWidget(txt_price, 1);
    priceRow->addWidget(new QLabel(QStringLiteral("(只能填数字)")));
    form->addRow(QStringLiteral("价格："), priceRow);

    img_prod = new QLabel;
    img_prod->setObjectName(QStringLiteral("img_prod"));
    img_prod->setFixedSize(kThumb);
    img_prod->setFrameShape(QFrame::StyledPanel);
    img_prod->setFrameShadow(QFrame::Sunken);
    img_prod->setAlignment(Qt::AlignCenter);
    img_prod->setStyleSheet(QStringLiteral("QLabel { background: white; }"));
    img_prod->installEventFilter(this);
    const auto button = [](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    cmd_view = button(QStringLiteral("浏览..."), "cmd_view");
    cmd_cancel = button(QStringLiteral("取消"), "cmd_cancel");
    cmd_actual = button(QStringLiteral("实际大小"), "cmd_actual");
    auto* pictureFrame = new QGroupBox(QStringLiteral("参考图片(如果没有可以不添加)"));
    auto* pictureLay = new QHBoxLayout(pictureFrame);
    pictureLay->addWidget(img_prod);
    auto* pictureButtons = new QVBoxLayout;
    pictureButtons->addWidget(cmd_view);
    pictureButtons->addWidget(cmd_cancel);
    pictureButtons->addWidget(cmd_actual);
    pictureButtons->addStretch(1);
    pictureLay->addLayout(pictureButtons);

    advEdit_Prod = new advEdit(ctx, advEdit::Kind::Product);
    advEdit_Prod->setObjectName(QStringLiteral("advEdit_Prod"));
    auto* details = new QGroupBox(QStringLiteral("详细介绍"));
    auto* detailsLay = new QVBoxLayout(details);
    detailsLay->addWidget(advEdit_Prod);

    OKButton = button(okCaption, "OKButton");
    CancelButton = button(QStringLiteral("取消"), "CancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto* top = new QHBoxLayout;
    top->addWidget(basic, 1);
    top->addWidget(pictureFrame);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(details, 1);
    lay->addLayout(buttons);
    resize(800, 600);

    connect(cmd_view, &QPushButton::clicked, this, &ProductEntryDialog::cmd_view_Click);
    connect(cmd_cancel, &QPushButton::clicked, this, &ProductEntryDialog::cmd_cancel_Click);
    connect(cmd_actual, &QPushButton::clicked, this, &ProductEntryDialog::cmd_actual_Click);
    connect(OKButton, &QPushButton::clicked, this, &ProductEntryDialog::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &ProductEntryDialog::CancelButton_Click);
}

bool ProductEntryDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == img_prod && event->type() == QEvent::MouseButtonRelease && !m_image.isNull())
        openViewer();
    return EntryDialog::eventFilter(watched, event);
}

void ProductEntryDialog::readProduct(const std::function<void(const ContentRecords::Product&)>& store)
{
    if (txt_Name->text().trimmed().isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("名称不能为空！"), Messages::notice(), MsgIcon::Information);
        txt_Name->setFocus();
        return;
    }
    OKButton->setEnabled(false);
    advEdit_Prod->readHtml([this, store](const QString& description) {
        OKButton->setEnabled(true);
        store({txt_Name->text(), txt_spec->text(), txt_unit->text(), txt_price->text(), picture.oldName, description});
    });
}

void ProductEntryDialog::showPicture(const QImage& pic)
{
    m_image = pic;
    const QSize bound = kThumb - QSize(4, 4);
    if (pic.isNull())
        img_prod->clear();
    else
        img_prod->setPixmap(QPixmap::fromImage(pic.width() > bound.width() || pic.height() > bound.height()
                                                   ? pic.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                                   : pic));
}

void ProductEntryDialog::cmd_view_Click()
{
    const Pictures::Choice choice = Pictures::askForPicture(m_ctx.dialogs);
    if (!choice.ok())
        return;
    const QImage full = Pictures::load(choice.path);
    // The previous copy of this visit goes; the stored picture stays until the record stops naming it.
    const WorkspaceFiles::Result placed = picture.place(choice.path, m_ctx.conn, m_ctx.workPath);
    if (!placed.ok) {
        m_ctx.dialogs.message(placed.error, Messages::notice(), MsgIcon::Critical);
        return;
    }
    showPicture(full);
}

void ProductEntryDialog::cmd_cancel_Click()
{
    if (m_ctx.dialogs.message(QStringLiteral("确实要取消该图片吗"), Messages::notice(), MsgIcon::Question,
                              MsgButtons::YesNo) == MsgAnswer::No)
        return;
    // A copy made in this visit goes now; the stored picture only once the record no longer names it.
    if (picture.ownsOld && picture.oldName != picture.storedName)
        WorkspaceFiles::removeIfUnused(m_ctx.conn, m_ctx.workPath, picture.oldName);
    picture.newName.clear();
    picture.oldName.clear();
    picture.ownsOld = false;
    showPicture(QImage());
}

void ProductEntryDialog::cmd_actual_Click()
{
    // A record naming a file that is gone has no picture to show either.
    if (picture.oldName.isEmpty() || m_image.isNull()) {
        m_ctx.dialogs.message(QStringLiteral("没有图片！"), Messages::notice(), MsgIcon::Information);
        return;
    }
    openViewer();
}

insDataFrm_prod::insDataFrm_prod(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent)
    : ProductEntryDialog(ctx, page, currID, parent, QStringLiteral("添加产品"), QStringLiteral("添加"))
{
    setObjectName(QStringLiteral("insDataFrm_prod"));
}

void insDataFrm_prod::OKButton_Click()
{
    readProduct([this](const ContentRecords::Product& p) {
        insertRecord(
            [&](int level, const QString& page) { return ContentRecords::insert(m_ctx.conn, level, page, p); });
    });
}

void insDataFrm_prod::openViewer()
{
    auto* viewer = new insDataFrm_img(m_image, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->open();
}

insDataFrm_prodMod::insDataFrm_prodMod(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent)
    : ProductEntryDialog(ctx, page, currID, parent, QStringLiteral("修改数据"), QStringLiteral("修改"))
{
    setObjectName(QStringLiteral("insDataFrm_prodMod"));
    tmr_prod = new QTimer(this);
    tmr_prod->setObjectName(QStringLiteral("tmr_prod"));
    tmr_prod->setInterval(10);
    connect(tmr_prod, &QTimer::timeout, this, &insDataFrm_prodMod::tmr_prod_Timer);
    connect(advEdit_Prod, &advEdit::ready, this, [this] {
        if (m_ticks >= 3)
            loadRecord();
    });
}

bool insDataFrm_prodMod::Form_Load()
{
    if (!readTicked(&m_row))
        return false;
    tmr_prod->start();
    return true;
}

void insDataFrm_prodMod::tmr_prod_Timer()
{
    ++m_ticks;
    if (m_ticks >= 3 && advEdit_Prod->isReady())
        loadRecord();
}

void insDataFrm_prodMod::loadRecord()
{
    tmr_prod->stop();
    if (m_loaded || m_row.isEmpty())
        return;
    m_loaded = true;
    const ContentRecords::Product p = ContentRecords::read<ContentRecords::Product>(m_row);
    txt_Name->setText(p.name);
    txt_spec->setText(p.model);
    txt_unit->setText(p.unit);
    txt_price->setText(p.price);
    advEdit_Prod->loadInnerHTML(p.description);
    if (!p.picture.isEmpty() && QFileInfo::exists(m_ctx.workPath + p.picture))
        showPicture(Pictures::load(m_ctx.workPath + p.picture));
    picture.loadStored(p.picture);
}

void insDataFrm_prodMod::OKButton_Click()
{
    readProduct([this](const ContentRecords::Product& p) {
        if (!updateRecord([&](int level, qint64 id) { return ContentRecords::update(m_ctx.conn, level, id, p); },
                          Messages::Id::NoNodeChosen))
            return;
        picture.stored(p.picture, m_ctx.conn, m_ctx.workPath);
        finish();
    });
}

void insDataFrm_prodMod::openViewer()
{
    auto* viewer = new insDataFrm_imgMod(m_image, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->open();
}
