#include "widgets/cmdBtn.h"

#include "widgets/SkinGeometry.h"

#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

cmdBtn::cmdBtn(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("cmdBtn"));
    setMouseTracking(true);
    cursorPos = [] { return QCursor::pos(); };

    pic = new QLabel(this);
    pic->setObjectName(QStringLiteral("pic"));
    lbl = new QLabel(pic);
    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->setAlignment(Qt::AlignCenter);
    QPalette pal = lbl->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 0));
    lbl->setPalette(pal);
    // The button itself takes the pointer, whether it is over the picture or the caption.
    pic->setAttribute(Qt::WA_TransparentForMouseEvents);
    lbl->setAttribute(Qt::WA_TransparentForMouseEvents);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &cmdBtn::Timer1_Timer);
    connect(this, &QObject::objectNameChanged, this, [this] {
        if (!m_captionSet)
            lbl->setText(objectName());
    });
    resize(kCellWidth + 20, kCellHeight);
    layoutParts();
}

void cmdBtn::loadSkin(const QString& folder)
{
    m_strip = QPixmap(folder + QStringLiteral("cmdBtn.png"));
    drawState(m_state);
}

QString cmdBtn::caption() const
{
    return m_captionSet ? m_caption : objectName();
}

void cmdBtn::setCaption(const QString& text)
{
    m_caption = text;
    m_captionSet = true;
    lbl->setText(text);
}

void cmdBtn::layoutParts()
{
    pic->setGeometry(rect());
    lbl->setText(caption());
    lbl->setGeometry(pic->rect());
    drawState(0);
}

void cmdBtn::drawState(int state)
{
    m_state = state;
    QPixmap face(size().expandedTo(QSize(1, 1)));
    face.fill(QColor(217, 237, 245));
    if (!m_strip.isNull()) {
        QPainter p(&face);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRect cell = SkinGeometry::stripCell(state, QSize(kCellWidth, kCellHeight));
        for (const SkinGeometry::Slice& s : SkinGeometry::threeSlice(cell, kEndWidth, face.rect()))
            p.drawPixmap(s.target, m_strip, s.source);
    }
    pic->setPixmap(face);
    // The caption sinks by a pixel while the button is held down.
    lbl->setGeometry(pic->rect().translated(state == 2 ? QPoint(1, 1) : QPoint()));
}

void cmdBtn::Timer1_Timer()
{
    if (!rect().contains(mapFromGlobal(cursorPos()))) {
        drawState(0);
        m_hot = false;
        Timer1->stop();
    }
}

void cmdBtn::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutParts();
}

void cmdBtn::mouseMoveEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()) && !m_hot) {
        drawState(1);
        m_hot = true;
        Timer1->start();
    }
}

void cmdBtn::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        drawState(2);
}

void cmdBtn::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Released anywhere the button looks hot; the timer returns it to normal once the pointer is away.
    drawState(1);
    m_hot = true;
    Timer1->start();
    if (rect().contains(event->position().toPoint()))
        emit Click();
}
