#include "widgets/xp_canvas.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <QWindow>

#include <cmath>

using namespace SkinGeometry;

namespace {

// Radius of the rounded top corners of the title skin.
constexpr int kCornerRadius = 7;

// The window's outline with the two top corners cut round, so the desktop
// shows through where the title skin is transparent.
QRegion roundedTopRegion(const QSize& size)
{
    QRegion region(0, 0, size.width(), size.height());
    const int r = kCornerRadius;
    for (int y = 0; y < r; ++y) {
        const double dy = r - y - 0.5;
        const int cut = r - int(std::lround(std::sqrt(double(r * r) - dy * dy)));
        if (cut <= 0)
            continue;
        region -= QRegion(0, y, cut, 1);
        region -= QRegion(size.width() - cut, y, cut, 1);
    }
    return region;
}

void drawSliced(QPainter& p, const QPixmap& picture, int endWidth, const QRect& target)
{
    for (const Slice& s : threeSlice(picture.rect(), endWidth, target))
        p.drawPixmap(s.target, picture, s.source);
}

} // namespace

xp_canvas::xp_canvas(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("xp_canvas"));
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    activeWindow = [] { return QApplication::activeWindow(); };

    lblshadow = new QLabel(this);
    lblshadow->setObjectName(QStringLiteral("lblshadow"));
    lblcaption = new QLabel(this);
    lblcaption->setObjectName(QStringLiteral("lblcaption"));
    imgicon = new QLabel(this);
    imgicon->setObjectName(QStringLiteral("imgicon"));
    QFont font = lblcaption->font();
    font.setBold(true);
    font.setPixelSize(13);
    for (QLabel* label : {lblshadow, lblcaption, imgicon}) {
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setFont(font);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    imgicon->setAlignment(Qt::AlignCenter);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &xp_canvas::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &xp_canvas::Timer2_Timer);
    connect(this, &QObject::objectNameChanged, this, [this] {
        if (!m_captionSet)
            relayout();
    });

    applyLook(true);
}

void xp_canvas::loadSkin(const QString& folder)
{
    const auto load = [&folder](const QString& name) { return QPixmap(folder + name); };
    for (int active = 0; active < 2; ++active) {
        const QString look = active ? QStringLiteral("active") : QStringLiteral("inactive");
        Skin& s = m_skin[active];
        s.title = load(QStringLiteral("xp_title_%1.png").arg(look));
        s.side = load(QStringLiteral("xp_side_%1.png").arg(look));
        s.sideRight = s.side.transformed(QTransform().scale(-1, 1));
        s.bottom = load(QStringLiteral("xp_bottom_%1.png").arg(look));
    }
    m_grip = load(QStringLiteral("xp_grip.png"));
    m_defaultIcon = load(QStringLiteral("xp_icon.png"));
    relayout();
}

QString xp_canvas::caption() const
{
    return m_captionSet ? m_caption : objectName();
}

void xp_canvas::setCaption(const QString& text)
{
    m_caption = text;
    m_captionSet = true;
    relayout();
}

QPixmap xp_canvas::icon() const
{
    return m_icon.isNull() ? m_defaultIcon : m_icon;
}

void xp_canvas::setIcon(const QPixmap& picture)
{
    m_icon = picture;
    relayout();
}

void xp_canvas::setFixedSingle(bool fixed)
{
    m_fixedSingle = fixed;
    relayout();
}

void xp_canvas::relayout()
{
    const FrameLayout l = frameLayout();
    lblcaption->setText(caption());
    lblshadow->setText(caption());
    lblcaption->setGeometry(l.caption);
    lblshadow->setGeometry(l.caption.translated(1, 1));
    lblshadow->setVisible(m_active);
    QPalette pal = lblcaption->palette();
    pal.setColor(QPalette::WindowText, m_active ? QColor(255, 255, 255) : QColor(216, 228, 248));
    lblcaption->setPalette(pal);
    pal.setColor(QPalette::WindowText, QColor(10, 24, 131));
    lblshadow->setPalette(pal);
    const QPixmap pic = icon();
    imgicon->setPixmap(pic.isNull() || pic.size() == l.icon.size()
                           ? pic
                           : pic.scaled(l.icon.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    imgicon->setGeometry(l.icon);

    // A borderless host that this frame covers takes the frame's rounded outline.
    QWidget* host = window();
    if (host != this && host->windowFlags().testFlag(Qt::FramelessWindowHint) && geometry() == host->rect()) {
        const QRegion outline = host->isMaximized() || host->isFullScreen() ? QRegion() : roundedTopRegion(size());
        if (host->mask() != outline && QGuiApplication::platformName() != QLatin1String("offscreen"))
            host->setMask(outline);
    }
    update();
}

void xp_canvas::applyLook(bool active)
{
    const bool changed = m_active != active;
    m_active = active;
    relayout();
    if (changed)
        emit lookChanged(active);
}

void xp_canvas::focusCame()
{
    Timer1->stop();
    Timer2->stop();
    if (!m_active)
        applyLook(true);
}

void xp_canvas::focusLeft()
{
    Timer1->start();
    Timer2->start();
}

void xp_canvas::Timer1_Timer()
{
    if (activeWindow() != window()) {
        applyLook(false);
        Timer1->stop();
    }
}

void xp_canvas::Timer2_Timer()
{
    if (activeWindow() == window()) {
        applyLook(true);
        Timer2->stop();
    }
}

bool xp_canvas::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        focusCame();
        break;
    case QEvent::WindowDeactivate:
        focusLeft();
        break;
    // Shown without taking the activation, the frame finds out within a tick.
    case QEvent::Show:
        if (activeWindow() != window())
            focusLeft();
        break;
    case QEvent::Hide:
        Timer1->stop();
        Timer2->stop();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void xp_canvas::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const FrameLayout l = frameLayout();
    const Skin& s = m_skin[m_active ? 1 : 0];
    const QColor outline = m_active ? QColor(0, 25, 207) : QColor(120, 144, 212);

    p.fillRect(l.client, palette().color(QPalette::Window));
    p.fillRect(l.title, outline);
    if (s.title.isNull())
        p.fillRect(l.title, m_active ? QColor(0, 84, 227) : QColor(122, 150, 223));
    else
        drawSliced(p, s.title, m_metrics.titleEnd, l.title);
    if (s.side.isNull()) {
        p.fillRect(l.left, outline);
        p.fillRect(l.right, outline);
        p.fillRect(l.bottom, outline);
    } else {
        p.drawPixmap(l.left, s.side);
        p.drawPixmap(l.right, s.sideRight);
        drawSliced(p, s.bottom, m_metrics.edge, l.bottom);
    }
    if (!m_fixedSingle && !window()->isMaximized() && !m_grip.isNull())
        p.drawPixmap(l.grip.topLeft(), m_grip);
}

void xp_canvas::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void xp_canvas::updateCursor(FramePart part)
{
    const PressAction a = pressAction(part, m_fixedSingle, window()->isMaximized());
    if (a.kind != PressAction::Resize) {
        unsetCursor();
        return;
    }
    if (a.edges == (Qt::RightEdge | Qt::BottomEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if (a.edges == Qt::BottomEdge)
        setCursor(Qt::SizeVerCursor);
    else
        setCursor(Qt::SizeHorCursor);
}

void xp_canvas::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(event->button(), event->modifiers(), event->position().toPoint());
    if (event->button() != Qt::LeftButton)
        return;
    const PressAction a =
        pressAction(hitTest(size(), event->position().toPoint(), m_metrics), m_fixedSingle, window()->isMaximized());
    if (a.kind == PressAction::Move) {
        m_titlePressed = true;
        m_pressPos = event->position().toPoint();
    } else if (a.kind == PressAction::Resize && window()->windowHandle()) {
        window()->windowHandle()->startSystemResize(a.edges);
    }
}

void xp_canvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit MouseMove(event->buttons(), event->modifiers(), pos);
    if (event->buttons() == Qt::NoButton) {
        updateCursor(hitTest(size(), pos, m_metrics));
        return;
    }
    if (m_titlePressed && (event->buttons() & Qt::LeftButton) &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_titlePressed = false;
        if (window()->windowHandle())
            window()->windowHandle()->startSystemMove();
    }
}

void xp_canvas::mouseReleaseEvent(QMouseEvent* event)
{
    m_titlePressed = false;
    const QPoint pos = event->position().toPoint();
    emit MouseUp(event->button(), event->modifiers(), pos);
    if (rect().contains(pos))
        emit Click();
}

void xp_canvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_titlePressed = false;
    emit DblClick();
    if (m_fixedSingle || event->button() != Qt::LeftButton ||
        hitTest(size(), event->position().toPoint(), m_metrics) != FramePart::Title)
        return;
    QWidget* host = window();
    if (host->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        host->showNormal();
    else
        host->showMaximized();
    relayout();
}

void xp_canvas::keyPressEvent(QKeyEvent* event)
{
    emit KeyDown(event->key(), event->modifiers());
    if (!event->text().isEmpty())
        emit KeyPress(event->text());
}

void xp_canvas::keyReleaseEvent(QKeyEvent* event)
{
    emit KeyUp(event->key(), event->modifiers());
}
