#include "sltTmplFrm.h"

#include "appearance/AppearanceSettings.h"
#include "appearance/CustomPages.h"
#include "appearance/NameStyleChooser.h"
#include "appearance/TemplateChooser.h"
#include "appearance/sltTmplFrm_adBoardFrm.h"
#include "appearance/sltTmplFrm_javaScrpt.h"
#include "appearance/sltTmplFrm_view.h"
#include "appearance/sltTmplFrm_viewHead.h"
#include "core/AppContext.h"
#include "core/Messages.h"
#include "data/FeatureFields.h"
#include "text/TextCodec.h"
#include "text/Twips.h"
#include "widgets/InputHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The panel's distance from the window's top and left edges at the least, and how
// far above the vertical centre it sits.
constexpr int kEdgeTwips = 1000;
constexpr int kAboveCentreTwips = 200;

QLabel* pictureBox(QWidget* parent, const QString& name, QSize size)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFixedSize(size);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAutoFillBackground(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, Qt::white);
    l->setPalette(pal);
    return l;
}

void enable(std::initializer_list<QWidget*> widgets, bool on)
{
    for (QWidget* w : widgets)
        w->setEnabled(on);
}

template <class W> W* named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

} // namespace

sltTmplFrm::sltTmplFrm(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("sltTmplFrm"));
    setWindowTitle(QStringLiteral("选择模版"));
    setWindowIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    buildUi();
    loadData();
}

QSize sltTmplFrm::sizeHint() const
{
    return Twips::toPixels(QSize(12600, 8200));
}

QString sltTmplFrm::pertainCaption(int index)
{
    static const QStringList captions = {QStringLiteral("站点论坛"), QStringLiteral("邮局登陆"),
                                         QStringLiteral("弹出窗口"), QStringLiteral("JavaSript脚本效果"),
                                         QStringLiteral("客户留言"), QStringLiteral("办公系统")};
    return captions.value(index);
}

void sltTmplFrm::buildUi()
{
    setMinimumSize(Twips::toPixels(QSize(11175, 7035)));
    resize(sizeHint());

    Frame100 = named(new QWidget(this), QStringLiteral("Frame100"));
    const QSize thumb(104, 78);

    // Templates: the thumbnail with its code and the button that opens the chooser.
    auto templateFrame = [&](const QString& title, const QString& frame, const QString& button, const QString& img,
                             const QString& label, QPushButton*& cmd, QLabel*& picture, QLabel*& code) {
        auto* box = named(new QGroupBox(title, Frame100), frame);
        picture = pictureBox(box, img, thumb);
        code = named(new QLabel(box), label);
        code->setAlignment(Qt::AlignCenter);
        cmd = named(new QPushButton(QStringLiteral("选择"), box), button);
        cmd->setFixedWidth(72);
        auto* side = new QVBoxLayout;
        side->addWidget(code);
        side->addStretch(1);
        side->addWidget(cmd);
        auto* row = new QHBoxLayout(box);
        row->addWidget(picture);
        row->addLayout(side);
        return box;
    };
    Frame1 = templateFrame(QStringLiteral("首页模版"), QStringLiteral("Frame1"), QStringLiteral("cmd_default"),
                           QStringLiteral("imgDefaultTmpl"), QStringLiteral("lbl_defaultTmpl"), cmd_default,
                           imgDefaultTmpl, lbl_defaultTmpl);
    Frame2 = templateFrame(QStringLiteral("内页模版"), QStringLiteral("Frame2"), QStringLiteral("cmd_head"),
                           QStringLiteral("imgHeadTmpl"), QStringLiteral("lbl_headTmpl"), cmd_head, imgHeadTmpl,
                           lbl_headTmpl);

    // Name styles: the picture of the lettering above its button.
    auto fontFrame = [&](const QString& title, const QString& frame, const QString& img, const QString& button,
                         QLabel*& picture, QPushButton*& cmd) {
        auto* box = named(new QGroupBox(title, Frame100), frame);
        picture = pictureBox(box, img, QSize(176, 30));
        cmd = named(new QPushButton(QStringLiteral("选择"), box), button);
        cmd->setFixedWidth(72);
        auto* col = new QVBoxLayout(box);
        col->addWidget(picture);
        col->addWidget(cmd, 0, Qt::AlignRight);
        return box;
    };
    Frame3 = fontFrame(QStringLiteral("首页中单位名称的样式"), QStringLiteral("Frame3"), QStringLiteral("imgDefault"),
                       QStringLiteral("cmd_DefaultFont"), imgDefault, cmd_DefaultFont);
    Frame4 = fontFrame(QStringLiteral("内页中单位名称的样式"), QStringLiteral("Frame4"), QStringLiteral("imgHead"),
                       QStringLiteral("cmd_headFont"), imgHead, cmd_headFont);

    Frame5 = named(new QGroupBox(QStringLiteral("背景图片"), Frame100), QStringLiteral("Frame5"));
    img_bg = pictureBox(Frame5, QStringLiteral("img_bg"), QSize(64, 64));
    lbl_bg = named(new QLabel(Frame5), QStringLiteral("lbl_bg"));
    cmd_bgOK = named(new QPushButton(QStringLiteral("选择"), Frame5), QStringLiteral("cmd_bgOK"));
    cmd_bgCancel = named(new QPushButton(QStringLiteral("取消"), Frame5), QStringLiteral("cmd_bgCancel"));
    cmd_bgOK->setFixedWidth(72);
    cmd_bgCancel->setFixedWidth(72);
    auto* bgGrid = new QGridLayout(Frame5);
    bgGrid->addWidget(img_bg, 0, 0, 3, 1, Qt::AlignTop);
    bgGrid->addWidget(lbl_bg, 0, 1);
    bgGrid->addWidget(cmd_bgOK, 1, 1);
    bgGrid->addWidget(cmd_bgCancel, 2, 1);
    bgGrid->setColumnStretch(2, 1);

    Frame7 = named(new QGroupBox(QStringLiteral("增强功能"), Frame100), QStringLiteral("Frame7"));
    Frame7->setMouseTracking(true);
    Frame7->installEventFilter(this);
    auto* features = new QGridLayout(Frame7);
    for (int i = 0; i < AppearanceSettings::kFeatureCount; ++i) {
        auto* box = named(new QCheckBox(pertainCaption(i), Frame7), QStringLiteral("chk_pertain%1").arg(i));
        chk_pertain << box;
        features->addWidget(box, i / 2, i % 2);
        // clicked: a mouse click or the space bar, never a change made here.
        connect(box, &QCheckBox::clicked, this, [this, i] { chk_pertain_Click(i); });
    }

    Frame6 = named(new QGroupBox(QStringLiteral("高级设计"), Frame100), QStringLiteral("Frame6"));
    chk_default = named(new QCheckBox(QStringLiteral("自定制首页"), Frame6), QStringLiteral("chk_default"));
    lbl_default = named(new QLabel(QStringLiteral("首页文件名："), Frame6), QStringLiteral("lbl_default"));
    txt_default = named(new QLineEdit(Frame6), QStringLiteral("txt_default"));
    cmd_sltDefault = named(new QPushButton(QStringLiteral("浏览..."), Frame6), QStringLiteral("cmd_sltDefault"));
    cmd_viewDefault = named(new QPushButton(QStringLiteral("查看"), Frame6), QStringLiteral("cmd_viewDefault"));
    cmd_viewDefault->setToolTip(QStringLiteral("浏览当前首页文件"));
    chk_head = named(new QCheckBox(QStringLiteral("自定制内页头部"), Frame6), QStringLiteral("chk_head"));
    lbl_head = named(new QLabel(QStringLiteral("内页文件名："), Frame6), QStringLiteral("lbl_head"));
    txt_head = named(new QLineEdit(Frame6), QStringLiteral("txt_head"));
    cmd_sltHead = named(new QPushButton(QStringLiteral("浏览..."), Frame6), QStringLiteral("cmd_sltHead"));
    cmd_viewHead = named(new QPushButton(QStringLiteral("查看"), Frame6), QStringLiteral("cmd_viewHead"));
    cmd_viewHead->setToolTip(QStringLiteral("浏览当前内页文件"));
    chk_other = named(new QCheckBox(QStringLiteral("其他网页内容"), Frame6), QStringLiteral("chk_other"));
    lbl_other = named(new QLabel(QStringLiteral("已存在的网页"), Frame6), QStringLiteral("lbl_other"));
    cmb_other = named(new QComboBox(Frame6), QStringLiteral("cmb_other"));
    cmd_other = named(new QPushButton(QStringLiteral("浏览..."), Frame6), QStringLiteral("cmd_other"));
    cmd_viewDefault->setEnabled(false);
    cmd_viewHead->setEnabled(false);

    auto* adv = new QGridLayout(Frame6);
    adv->setVerticalSpacing(6);
    int r = 0;
    // Buttons go under the box, to the right, so that the captions keep their width.
    auto buttonRow = [&](QPushButton* a, QPushButton* b) {
        auto* row = new QHBoxLayout;
        row->addStretch(1);
        for (QPushButton* button : {a, b}) {
            if (button) {
                button->setFixedWidth(64);
                row->addWidget(button);
            }
        }
        adv->addLayout(row, r++, 0, 1, 2);
    };
    auto customRows = [&](QCheckBox* chk, QLabel* lbl, QLineEdit* txt, QPushButton* slt, QPushButton* view) {
        adv->addWidget(chk, r++, 0, 1, 2);
        adv->addWidget(lbl, r, 0);
        adv->addWidget(txt, r++, 1);
        buttonRow(slt, view);
        adv->setRowMinimumHeight(r++, 10);
    };
    customRows(chk_default, lbl_default, txt_default, cmd_sltDefault, cmd_viewDefault);
    customRows(chk_head, lbl_head, txt_head, cmd_sltHead, cmd_viewHead);
    adv->addWidget(chk_other, r++, 0, 1, 2);
    adv->addWidget(lbl_other, r, 0);
    adv->addWidget(cmb_other, r++, 1);
    buttonRow(cmd_other, nullptr);
    adv->setRowStretch(r, 1);

    auto* grid = new QGridLayout(Frame100);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    grid->addWidget(Frame1, 0, 0);
    grid->addWidget(Frame2, 0, 1);
    grid->addWidget(Frame3, 1, 0);
    grid->addWidget(Frame4, 1, 1);
    grid->addWidget(Frame5, 2, 0);
    grid->addWidget(Frame7, 2, 1);
    grid->addWidget(Frame6, 0, 2, 3, 1);
    Frame6->setFixedWidth(228);
    Frame100->setFixedSize(Frame100->sizeHint());

    StatusBar1 = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    m_panel1 = named(new QLabel(StatusBar1), QStringLiteral("StatusBar1_panel1"));
    StatusBar1->addWidget(m_panel1, 1);

    connect(cmd_default, &QPushButton::clicked, this, [this] { openTemplateChooser(true); });
    connect(cmd_head, &QPushButton::clicked, this, [this] { openTemplateChooser(false); });
    connect(cmd_DefaultFont, &QPushButton::clicked, this, [this] { openNameStyleChooser(true); });
    connect(cmd_headFont, &QPushButton::clicked, this, [this] { openNameStyleChooser(false); });
    connect(cmd_bgOK, &QPushButton::clicked, this, &sltTmplFrm::cmd_bgOK_Click);
    connect(cmd_bgCancel, &QPushButton::clicked, this, &sltTmplFrm::cmd_bgCancel_Click);
    connect(chk_default, &QCheckBox::clicked, this, &sltTmplFrm::chk_default_Click);
    connect(cmd_sltDefault, &QPushButton::clicked, this, &sltTmplFrm::cmd_sltDefault_Click);
    connect(txt_default, &QLineEdit::textChanged, this, [this] { cmd_viewDefault->setEnabled(true); });
    connect(cmd_viewDefault, &QPushButton::clicked, this, [this] {
        sltTmplFrm_view view(m_ctx, this);
        if (view.load())
            view.exec();
    });
    connect(chk_head, &QCheckBox::clicked, this, &sltTmplFrm::chk_head_Click);
    connect(cmd_sltHead, &QPushButton::clicked, this, &sltTmplFrm::cmd_sltHead_Click);
    connect(txt_head, &QLineEdit::textChanged, this, [this] { cmd_viewHead->setEnabled(true); });
    connect(cmd_viewHead, &QPushButton::clicked, this, [this] {
        sltTmplFrm_viewHead view(m_ctx, this);
        if (view.load())
            view.exec();
    });
    connect(chk_other, &QCheckBox::clicked, this, &sltTmplFrm::chk_other_Click);
    connect(cmd_other, &QPushButton::clicked, this, &sltTmplFrm::cmd_other_Click);
}

void sltTmplFrm::loadData()
{
    namespace AS = AppearanceSettings;
    const AS::Stored s = AS::load(m_ctx.conn);
    if (!s.hasRow)
        return;

    if (!AS::isBlank(s.defaultFile)) {
        txt_default->setText(s.defaultFile);
        chk_default->setChecked(true);
        setCustomHome(true);
    } else {
        enable({lbl_default, txt_default, cmd_sltDefault}, false);
    }
    if (!AS::isBlank(s.topHead)) {
        chk_head->setChecked(true);
        setCustomHead(true);
        txt_head->setText(s.topHead);
    } else {
        enable({lbl_head, txt_head, cmd_sltHead}, false);
    }
    if (AS::isBlank(s.field01)) {
        setOtherPages(false);
    } else {
        cmb_other->addItems(FeatureFields::splitOtherPages(s.field01));
        cmb_other->setCurrentIndex(0);
        chk_other->setChecked(true);
    }

    for (int i = 0; i < AS::kFeatureCount; ++i) {
        if (s.features[i])
            chk_pertain[i]->setChecked(*s.features[i] == 1);
    }
    if (!AS::isBlank(s.defaultFont))
        showPicture(imgDefault, m_ctx.appPath + QStringLiteral("fonts/") + s.defaultFont);
    if (!AS::isBlank(s.headFont))
        showPicture(imgHead, m_ctx.appPath + QStringLiteral("fonts/") + s.headFont);
    if (!AS::isBlank(s.backGround)) {
        showPicture(img_bg, m_ctx.workPath + s.backGround);
        lbl_bg->setText(s.backGround);
    }
    if (!AS::isBlank(s.defaultTmpl)) {
        showPicture(imgDefaultTmpl, m_ctx.appPath + QStringLiteral("template/") + s.defaultTmpl);
        lbl_defaultTmpl->setText(AS::templateCode(s.defaultTmpl));
    }
    if (!AS::isBlank(s.headTmpl)) {
        showPicture(imgHeadTmpl, m_ctx.appPath + QStringLiteral("template/") + s.headTmpl);
        lbl_headTmpl->setText(AS::templateCode(s.headTmpl));
    }
}

void sltTmplFrm::showPicture(QLabel* label, const QString& path)
{
    // A missing picture leaves the box empty.
    const QPixmap pm(path);
    if (pm.isNull()) {
        label->clear();
        return;
    }
    const QSize box = label->contentsRect().size();
    label->setPixmap(
        pm.size().boundedTo(box) == pm.size() ? pm : pm.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void sltTmplFrm::showNotices(const QList<Notice>& notices)
{
    for (const Notice& n : notices)
        m_ctx.dialogs.message(n.text, n.title, n.icon);
}

// ---- layout ----

void sltTmplFrm::placeFrame100()
{
    const int edge = Twips::toPixels(kEdgeTwips);
    const int height = this->height() - StatusBar1->sizeHint().height();
    const int x = std::max(edge, (width() - Frame100->width()) / 2);
    const int y = std::max(edge, (height - Frame100->height()) / 2 - Twips::toPixels(kAboveCentreTwips));
    Frame100->move(x, y);
    StatusBar1->setGeometry(0, this->height() - StatusBar1->sizeHint().height(), width(),
                            StatusBar1->sizeHint().height());
}

void sltTmplFrm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeFrame100();
}

void sltTmplFrm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    placeFrame100();
}

bool sltTmplFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Frame7 && event->type() == QEvent::MouseMove)
        m_panel1->clear();
    return QWidget::eventFilter(watched, event);
}

// ---- the modal windows ----

void sltTmplFrm::openTemplateChooser(bool home)
{
    TemplateChooser chooser(m_ctx, home ? TemplateChooser::Kind::Home : TemplateChooser::Kind::Inner, this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    const QString value = chooser.chosenValue();
    showPicture(home ? imgDefaultTmpl : imgHeadTmpl, m_ctx.appPath + QStringLiteral("template/") + value);
    (home ? lbl_defaultTmpl : lbl_headTmpl)->setText(AppearanceSettings::templateCode(value));
}

void sltTmplFrm::openNameStyleChooser(bool home)
{
    NameStyleChooser chooser(m_ctx, home ? NameStyleChooser::Kind::Home : NameStyleChooser::Kind::Inner, this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    showPicture(home ? imgDefault : imgHead, m_ctx.appPath + QStringLiteral("fonts/") + chooser.chosenFont());
}

void sltTmplFrm::openAdBoard()
{
    sltTmplFrm_adBoardFrm board(m_ctx, this);
    board.exec();
}

void sltTmplFrm::openScript()
{
    sltTmplFrm_javaScrpt script(m_ctx, this);
    script.exec();
}

// ---- custom home page ----

void sltTmplFrm::setCustomHome(bool on)
{
    // The generated home page and its name style no longer apply.
    enable({Frame1, cmd_default, Frame3, cmd_DefaultFont}, !on);
    enable({lbl_default, txt_default, cmd_sltDefault, cmd_viewDefault}, on);
}

static bool confirmed(DialogService& dialogs, const QString& question)
{
    return dialogs.message(question, Messages::notice(), MsgIcon::Question, MsgButtons::OkCancel) == MsgAnswer::Ok;
}

// Unticking a custom page's box: once the user confirms, remove() takes its files and
// row away. While they remain the box stays ticked. True when the custom page is gone.
bool sltTmplFrm::untick(QCheckBox* box, const QString& question, const std::function<Outcome()>& remove)
{
    if (!confirmed(m_ctx.dialogs, question)) {
        box->setChecked(true);
        return false;
    }
    const Outcome out = remove();
    showNotices(out.notices);
    if (!out.done) {
        box->setChecked(true); // the row still names the page
        return false;
    }
    return true;
}

// Installs the custom file the user picks, if check finds nothing against it. The
// picked path once installed; "" when there is none, the notices having said why.
QString sltTmplFrm::installPicked(const QString& filter, const QString& start,
                                  std::optional<Notice> (*check)(const QString&),
                                  Outcome (*install)(const SiteDb&, const QString&, const QString&))
{
    const FileChoice picked = m_ctx.dialogs.openFile(filter, start);
    if (!picked.ok()) {
        showNotices({CustomPages::noPathNotice()});
        return {};
    }
    if (const auto refusal = check(picked.path)) {
        showNotices({*refusal});
        return {};
    }
    const Outcome out = install(m_ctx.conn, picked.path, m_ctx.workPath);
    showNotices(out.notices);
    return out.done ? picked.path : QString();
}

void sltTmplFrm::chk_default_Click()
{
    if (chk_default->isChecked()) {
        setCustomHome(true);
        return;
    }
    if (!untick(chk_default, Messages::text(Messages::Id::CancelCustomPage),
                [this] { return CustomPages::removeHomePage(m_ctx.conn, m_ctx.workPath, txt_default->text()); }))
        return;
    txt_default->clear();
    setCustomHome(false);
}

void sltTmplFrm::cmd_sltDefault_Click()
{
    if (!installPicked(QStringLiteral("站点首页文件(default.htm)|default.htm"), CustomPages::homePageName(),
                       &CustomPages::checkHomePage, &CustomPages::installHomePage)
             .isEmpty())
        txt_default->setText(CustomPages::homePageName());
}

// ---- custom head ----

void sltTmplFrm::setCustomHead(bool on)
{
    Frame4->setEnabled(!on);
    cmd_headFont->setEnabled(!on);
    enable({lbl_head, txt_head, cmd_sltHead, cmd_viewHead}, on);
}

void sltTmplFrm::chk_head_Click()
{
    if (chk_head->isChecked()) {
        setCustomHead(true);
        return;
    }
    if (!untick(chk_head, Messages::text(Messages::Id::CancelCustomPage),
                [this] { return CustomPages::removeHead(m_ctx.conn, m_ctx.workPath); }))
        return;
    txt_head->clear();
    setCustomHead(false);
}

void sltTmplFrm::cmd_sltHead_Click()
{
    const QString path = installPicked(QStringLiteral("内页头文件(*.jpg,*.gif,*.swf)|*.jpg;*.gif;*.swf"), QString(),
                                       &CustomPages::checkHead, &CustomPages::installHead);
    if (!path.isEmpty())
        txt_head->setText(QFileInfo(path).fileName());
}

// ---- other pages ----

void sltTmplFrm::setOtherPages(bool on)
{
    enable({cmd_other, lbl_other, cmb_other}, on);
}

static QStringList entriesOf(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

void sltTmplFrm::chk_other_Click()
{
    if (chk_other->isChecked()) {
        setOtherPages(true);
        return;
    }
    if (!untick(chk_other, QStringLiteral("确实要取消确实要取消其他网页的设置吗？"),
                [this] { return CustomPages::removeOtherPages(m_ctx.conn, m_ctx.workPath, entriesOf(cmb_other)); }))
        return;
    setOtherPages(false);
    cmb_other->clear();
}

void sltTmplFrm::cmd_other_Click()
{
    const QString folder =
        InputHelpers::browseForFolder(m_ctx.dialogs, QStringLiteral("选择其他网页所在的路径"), QString());
    if (folder.isEmpty())
        return;
    QStringList names;
    const Outcome out =
        CustomPages::installOtherPages(m_ctx.conn, folder, m_ctx.workPath, entriesOf(cmb_other), &names);
    showNotices(out.notices);
    if (!out.done)
        return;
    cmb_other->clear();
    cmb_other->addItems(names);
    cmb_other->setCurrentIndex(0);
}

// ---- background ----

void sltTmplFrm::cmd_bgOK_Click()
{
    const FileChoice picked = m_ctx.dialogs.openFile(QStringLiteral("图像文件(*.jpg,*.bmp,*.gif)|*.jpg;*.bmp;*.gif"),
                                                     m_ctx.appPath + QStringLiteral("backGround/0005.JPG"));
    if (!picked.ok()) {
        m_ctx.dialogs.message(picked.error.isEmpty() ? DialogService::cancelDescription() : picked.error,
                              Messages::notice(), MsgIcon::Information);
        return;
    }
    QString name;
    const Outcome out =
        AppearanceSettings::setBackground(m_ctx.conn, m_ctx.workPath, picked.path, lbl_bg->text(), &name);
    showNotices(out.notices);
    if (!out.done)
        return;
    showPicture(img_bg, m_ctx.workPath + name);
    lbl_bg->setText(name);
}

void sltTmplFrm::cmd_bgCancel_Click()
{
    if (!confirmed(m_ctx.dialogs, QStringLiteral("确实要取消背景图片吗？")))
        return;
    const Outcome out = AppearanceSettings::clearBackground(m_ctx.conn, m_ctx.workPath, lbl_bg->text());
    showNotices(out.notices);
    if (!out.done)
        return;
    img_bg->clear();
    lbl_bg->clear();
}

// ---- optional features ----

bool sltTmplFrm::askAboutFeature(const QString& name)
{
    const QString text = QStringLiteral("若要取消“%1”功能，单击“取消”按钮；\r\n\r\n"
                                        "若要对“%1”的内容进行编辑修改，请单击“确定”按钮。")
                             .arg(name);
    return m_ctx.dialogs.message(text, Messages::notice(), MsgIcon::Information, MsgButtons::OkCancel) == MsgAnswer::Ok;
}

void sltTmplFrm::chk_pertain_Click(int index)
{
    QCheckBox* box = chk_pertain[index];
    if (box->isChecked())
        m_panel1->setText(QStringLiteral("此项功能选择后，需要提供商批准后方能生效！"));
    const QString column = AppearanceSettings::featureColumn(index);
    SqlResult r;
    if (index == 2 || index == 3) {
        // Turning on leads to the editing window, which stores the field itself.
        if (askAboutFeature(index == 2 ? QStringLiteral("弹出窗口") : QStringLiteral("JavaScript脚本效果"))) {
            box->setChecked(true);
            index == 2 ? openAdBoard() : openScript();
            // Closed without storing: the box follows the field, not the click.
            box->setChecked(AppearanceSettings::load(m_ctx.conn).features[index].value_or(0) == 1);
            return;
        }
        box->setChecked(false);
        r = m_ctx.conn.updateUserInfo(column, QStringLiteral("0"));
    } else {
        r = m_ctx.conn.updateUserInfo(column, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    if (!r)
        m_ctx.dialogs.message(r.error, Messages::notice(), MsgIcon::Information);
}
