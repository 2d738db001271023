#include "infoFrm.h"

#include "content/Pictures.h"
#include "core/AppContext.h"
#include "core/Messages.h"
#include "text/TextCodec.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

namespace {
} // namespace

infoFrm::infoFrm(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("infoFrm"));
    setWindowTitle(QStringLiteral("基本信息"));
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    buildUi();
    loadData();
}

QLineEdit* infoFrm::addField(const QString& box, const QString& label, const QString& caption)
{
    auto* edit = new QLineEdit(Frame2);
    edit->setObjectName(box);
    auto* l = new QLabel(caption, Frame2);
    l->setObjectName(label);
    l->setBuddy(edit);
    connect(edit, &QLineEdit::textChanged, this, [this] { setChanged(true); });
    return edit;
}

void infoFrm::buildUi()
{
    resize(sizeHint());
    setMinimumSize(600, 330);

    Frame2 = new QGroupBox(QStringLiteral("基本信息"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    txt_webName = addField(QStringLiteral("txt_webName"), QStringLiteral("Label9"), QStringLiteral("网站名称："));
    txt_govName = addField(QStringLiteral("txt_govName"), QStringLiteral("Label1"), QStringLiteral("单位名称："));
    txt_tel = addField(QStringLiteral("txt_tel"), QStringLiteral("Label2"), QStringLiteral("联系电话："));
    txt_fax = addField(QStringLiteral("txt_fax"), QStringLiteral("Label3"), QStringLiteral("传　　真："));
    txt_linkMan = addField(QStringLiteral("txt_linkMan"), QStringLiteral("Label4"), QStringLiteral("联 系 人："));
    txt_mobile = addField(QStringLiteral("txt_mobile"), QStringLiteral("Label5"), QStringLiteral("手　　机："));
    txt_email = addField(QStringLiteral("txt_email"), QStringLiteral("Label6"), QStringLiteral("电子邮件："));
    txt_addr = addField(QStringLiteral("txt_addr"), QStringLiteral("Label7"), QStringLiteral("通讯地址："));
    txt_zip = addField(QStringLiteral("txt_zip"), QStringLiteral("Label8"), QStringLiteral("邮政编码："));

    // Name, organisation and address take the whole width; the short details go in pairs.
    auto* grid = new QGridLayout(Frame2);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    grid->setContentsMargins(12, 14, 12, 12);
    auto labelOf = [this](QLineEdit* edit) {
        for (QLabel* l : Frame2->findChildren<QLabel*>())
            if (l->buddy() == edit)
                return l;
        return static_cast<QLabel*>(nullptr);
    };
    auto place = [&](QLineEdit* edit, int row, int col, int span) {
        grid->addWidget(labelOf(edit), row, col);
        grid->addWidget(edit, row, col + 1, 1, span);
    };
    place(txt_webName, 0, 0, 3);
    place(txt_govName, 1, 0, 3);
    place(txt_addr, 2, 0, 3);
    place(txt_linkMan, 3, 0, 1);
    place(txt_tel, 3, 2, 1);
    place(txt_mobile, 4, 0, 1);
    place(txt_fax, 4, 2, 1);
    place(txt_zip, 5, 0, 1);
    place(txt_email, 5, 2, 1);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 3);
    grid->setRowStretch(6, 1);

    Frame1 = new QGroupBox(QStringLiteral("单位徽标"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    img = new QLabel(Frame1);
    img->setObjectName(QStringLiteral("img"));
    img->setAlignment(Qt::AlignCenter);
    img->setFrameShape(QFrame::StyledPanel);
    img->setFrameShadow(QFrame::Sunken);
    img->setMinimumSize(180, 140);
    img->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    img->setAutoFillBackground(true);
    QPalette pal = img->palette();
    pal.setColor(QPalette::Window, Qt::white);
    img->setPalette(pal);
    img->installEventFilter(this);
    cmd_view = new QPushButton(QStringLiteral("浏览..."), Frame1);
    cmd_view->setObjectName(QStringLiteral("cmd_view"));
    cmd_img_cancel = new QPushButton(QStringLiteral("取消"), Frame1);
    cmd_img_cancel->setObjectName(QStringLiteral("cmd_img_cancel"));
    auto* logoButtons = new QHBoxLayout;
    logoButtons->addWidget(cmd_view);
    logoButtons->addWidget(cmd_img_cancel);
    auto* logoBox = new QVBoxLayout(Frame1);
    logoBox->setContentsMargins(12, 14, 12, 12);
    logoBox->addWidget(img, 1);
    logoBox->addLayout(logoButtons);
    Frame1->setFixedWidth(230);

    cmd_OK = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("保存"), this);
    cmd_OK->setObjectName(QStringLiteral("cmd_OK"));
    cmd_OK->setMinimumWidth(96);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* frames = new QHBoxLayout;
    frames->setSpacing(10);
    frames->addWidget(Frame2, 1);
    frames->addWidget(Frame1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmd_OK);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 0);
    layout->addLayout(frames, 1);
    layout->addLayout(bottom);
    layout->addWidget(StatusBar1);

    connect(cmd_view, &QPushButton::clicked, this, &infoFrm::cmd_view_Click);
    connect(cmd_img_cancel, &QPushButton::clicked, this, &infoFrm::cmd_img_cancel_Click);
    connect(cmd_OK, &QPushButton::clicked, this, &infoFrm::cmd_OK_Click);
}

void infoFrm::loadData()
{
    // A row that cannot be read leaves the boxes empty.
    const SiteInfo::Stored s = SiteInfo::load(m_ctx.conn);
    const SiteInfo::Details& d = s.details;
    txt_webName->setText(d.webName);
    txt_govName->setText(d.govName);
    txt_addr->setText(d.addr);
    txt_email->setText(d.email);
    txt_fax->setText(d.fax);
    txt_linkMan->setText(d.linkMan);
    txt_mobile->setText(d.mobile);
    txt_tel->setText(d.tel);
    txt_zip->setText(d.zip);
    m_logo.load(s.logo);
    showLogo(m_logo.logoName().isEmpty() ? QString() : m_ctx.imgPath + m_logo.logoName());
    setChanged(false);
}

bool infoFrm::hasUnsavedChanges() const
{
    return cmd_OK->isEnabled();
}

void infoFrm::setChanged(bool changed)
{
    cmd_OK->setEnabled(changed);
    StatusBar1->showMessage(changed ? QStringLiteral("信息已修改，请按“保存”保存。")
                                    : QStringLiteral("这里的信息将显示在网站上，修改后请按“保存”。"));
}

void infoFrm::showLogo(const QString& path)
{
    m_picture = path.isEmpty() ? QPixmap() : QPixmap(path);
    fitLogo();
}

void infoFrm::fitLogo()
{
    if (m_picture.isNull()) {
        img->clear();
        img->setText(QStringLiteral("（无徽标）"));
        return;
    }
    const QSize box = img->contentsRect().size() - QSize(8, 8);
    img->setPixmap(m_picture.scaled(box.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

bool infoFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == img && event->type() == QEvent::Resize)
        fitLogo();
    return QWidget::eventFilter(watched, event);
}

void infoFrm::cmd_view_Click()
{
    const FileChoice picked = m_ctx.dialogs.openFile(SiteInfo::logoFilter(), m_ctx.imgPath);
    if (!picked.ok()) {
        m_ctx.dialogs.message(picked.error.isEmpty() ? DialogService::cancelDescription() : picked.error,
                              Messages::warning(), MsgIcon::Critical);
        return;
    }
    if (!cls_func().isEng(QFileInfo(picked.path).fileName())) {
        Messages::show(m_ctx.dialogs, Messages::Id::NonAsciiName);
        return;
    }
    // A file that is no picture is refused before anything changes.
    if (!Pictures::isReadable(picked.path)) {
        m_ctx.dialogs.message(Pictures::unreadableMessage(), Messages::warning(), MsgIcon::Critical);
        return;
    }
    QString error;
    const QString name = m_logo.choose(m_ctx.conn, picked.path, m_ctx.imgPath, &error);
    if (name.isEmpty()) {
        m_ctx.dialogs.message(error, Messages::warning(), MsgIcon::Critical);
        return;
    }
    showLogo(m_ctx.imgPath + name);
    setChanged(true);
}

void infoFrm::cmd_img_cancel_Click()
{
    const SqlResult r = SiteInfo::clearLogo(m_ctx.conn);
    if (!r) {
        m_ctx.dialogs.message(r.error, Messages::notice(), MsgIcon::Information);
        return;
    }
    showLogo(QString());
    QString error;
    if (!m_logo.removed(m_ctx.conn, m_ctx.imgPath, &error)) {
        m_ctx.dialogs.message(error, Messages::notice(), MsgIcon::Information);
        return;
    }
    m_ctx.dialogs.message(QStringLiteral("单位徽标已取消！"), Messages::notice(), MsgIcon::Information);
}

void infoFrm::cmd_OK_Click()
{
    if (SiteInfo::isBlankName(txt_webName->text())) {
        m_ctx.dialogs.message(QStringLiteral("站点名称不能为空！"), Messages::notice(), MsgIcon::Information);
        return;
    }
    const SiteInfo::Details d{txt_webName->text(), txt_govName->text(), txt_addr->text(),
                              txt_linkMan->text(), txt_tel->text(),     txt_mobile->text(),
                              txt_fax->text(),     txt_zip->text(),     txt_email->text()};
    if (!SiteInfo::save(m_ctx.conn, d, m_logo.logoName())) {
        m_ctx.dialogs.message(QStringLiteral("不期望的错误,errNo:infoFrm"), Messages::notice(), MsgIcon::Critical);
        return;
    }
    // The replaced logo file goes only now that the row names the new one; a
    // file that cannot be deleted is merely left behind.
    m_logo.saved(m_ctx.conn, m_ctx.imgPath, nullptr);
    setChanged(false);
    Messages::show(m_ctx.dialogs, Messages::Id::DataSaved);
}

void infoFrm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_closing = false;
}

void infoFrm::closeEvent(QCloseEvent* event)
{
    m_closing = true;
    QWidget::closeEvent(event);
}

void infoFrm::Form_Deactivate()
{
    // The box itself takes the activation away; it must not warn again.
    if (m_closing || m_warning || !cmd_OK->isEnabled())
        return;
    m_warning = true;
    m_ctx.dialogs.message(QStringLiteral("数据还未保存！"), Messages::notice(), MsgIcon::Question, MsgButtons::Ok);
    if (bringBack)
        bringBack();
    activateWindow();
    m_warning = false;
}
