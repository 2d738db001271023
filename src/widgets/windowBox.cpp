#include "widgets/windowBox.h"

#include "widgets/SkinGeometry.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

windowBox::windowBox(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("windowBox"));
    setFixedSize(kCell, kCell);
    setMouseTracking(true);
    cursorPos = [] { return QCursor::pos(); };
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &windowBox::Timer1_Timer);
}

void windowBox::loadSkin(const QString& folder)
{
    m_strip = QPixmap(folder + QStringLiteral("windowBox.png"));
    update();
}

void windowBox::setActiveLook(bool active)
{
    m_active = active;
    update();
}

void windowBox::showCell(int state)
{
    if (m_state == state)
        return;
    m_state = state;
    update();
}

void windowBox::Timer1_Timer()
{
    if (!rect().contains(mapFromGlobal(cursorPos()))) {
        showCell(0);
        Timer1->stop();
    }
}

void windowBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!m_strip.isNull()) {
        p.drawPixmap(rect(), m_strip, SkinGeometry::stripCell(cell(), QSize(kCell, kCell)));
        return;
    }
    // Without its skin the box still reads as a close box.
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(m_state == 0 ? QColor(200, 70, 40) : QColor(230, 100, 60));
    p.setPen(Qt::white);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(5, 5), QPointF(12, 12));
    p.drawLine(QPointF(12, 5), QPointF(5, 12));
}

void windowBox::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton && rect().contains(event->position().toPoint())) {
        showCell(1);
        Timer1->start();
    }
}

void windowBox::mousePressEvent(QMouseEvent*)
{
    showCell(2);
}

void windowBox::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (!rect().contains(pos)) {
        showCell(0);
        return;
    }
    showCell(1);
    Timer1->start();
    emit MouseUp(event->button(), event->modifiers(), pos);
}
