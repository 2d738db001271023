#include "widgets/aboutFrm.h"

#include "core/AppContext.h"
#include "widgets/AboutText.h"
#include "widgets/cmdBtn.h"
#include "widgets/windowBox.h"
#include "widgets/xp_canvas.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {
const QColor kFace(217, 237, 245);
constexpr int kLogoWidth = 120;
constexpr int kPad = 16;
} // namespace

aboutFrm::aboutFrm(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("aboutFrm"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("关于Weblark"));
    const QString skin = ctx.appPath + QStringLiteral("skin/");

    canvas = new xp_canvas(this);
    canvas->setObjectName(QStringLiteral("canvas"));
    canvas->loadSkin(skin);
    canvas->setCaption(QStringLiteral("关于Weblark"));
    canvas->setFixedSingle(true);
    QPalette face = canvas->palette();
    face.setColor(QPalette::Window, kFace);
    canvas->setPalette(face);
    setWindowIcon(canvas->icon());

    winCloseBtn = new windowBox(this);
    winCloseBtn->setObjectName(QStringLiteral("winCloseBtn"));
    winCloseBtn->loadSkin(skin);
    winCloseBtn->setToolTip(QStringLiteral("关闭"));

    img_logo = new QLabel(this);
    img_logo->setObjectName(QStringLiteral("img_logo"));
    img_logo->setPixmap(QPixmap(skin + QStringLiteral("about_logo.png")));
    img_logo->setScaledContents(true);

    lbl_msg = new QLabel(this);
    lbl_msg->setObjectName(QStringLiteral("lbl_msg"));
    lbl_msg->setAutoFillBackground(true);
    lbl_msg->setPalette(face);
    lbl_msg->setTextFormat(Qt::PlainText);
    lbl_msg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl_msg->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbl_msg->setText(AboutText::message(QStringLiteral(WEBLARK_VERSION)));
    QFont msgFont = lbl_msg->font();
    msgFont.setPixelSize(13);
    lbl_msg->setFont(msgFont);

    cmd_cancel = new cmdBtn(this);
    cmd_cancel->setObjectName(QStringLiteral("cmd_cancel"));
    cmd_cancel->loadSkin(skin);
    cmd_cancel->setCaption(QStringLiteral("关闭"));
    cmd_cancel->resize(80, cmdBtn::kCellHeight);

    connect(cmd_cancel, &cmdBtn::Click, this, &QWidget::close);
    connect(winCloseBtn, &windowBox::MouseUp, this, &QWidget::close);
    connect(canvas, &xp_canvas::lookChanged, winCloseBtn, &windowBox::setActiveLook);

    setFixedSize(440, 250);
    // Centred over the window that opened it, or on the screen.
    const QRect over = parent
                           ? parent->window()->geometry()
                           : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                               : QRect(QPoint(0, 0), size()));
    move(over.center() - rect().center());
}

void aboutFrm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    canvas->setGeometry(rect());
    const SkinGeometry::FrameLayout l = canvas->frameLayout();
    winCloseBtn->move(l.closeBox.topLeft());
    img_logo->setGeometry(l.client.x(), l.client.y(), kLogoWidth, l.client.height());
    const int right = l.client.right() + 1 - kPad;
    const int bottom = l.client.bottom() + 1 - 12;
    cmd_cancel->move(right - cmd_cancel->width(), bottom - cmd_cancel->height());
    const int left = img_logo->geometry().right() + 1 + kPad;
    lbl_msg->setGeometry(left, l.client.y() + 18, right - left, cmd_cancel->y() - 10 - (l.client.y() + 18));
}
