#include "myDate.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

myDate::myDate(QWidget* parent) : QWidget(parent)
{
    m_txtValue = new QLineEdit(this);
    m_txtValue->setObjectName(QStringLiteral("txtValue"));
    m_txtValue->installEventFilter(this);
    m_cmdDown = new QToolButton(this);
    m_cmdDown->setObjectName(QStringLiteral("cmdDown"));
    m_cmdDown->setArrowType(Qt::DownArrow);
    m_cmdDown->setFocusPolicy(Qt::NoFocus);

    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(m_txtValue, 1);
    lay->addWidget(m_cmdDown);

    // The calendar drops over the dialog, so it lives in the top-level window once shown.
    m_mnthView = new QCalendarWidget(this);
    m_mnthView->setObjectName(QStringLiteral("mnthView"));
    m_mnthView->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    m_mnthView->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_mnthView->setGridVisible(true);
    m_mnthView->setFirstDayOfWeek(Qt::Sunday);
    m_mnthView->setFixedSize(m_mnthView->sizeHint().expandedTo(QSize(260, 180)));
    m_mnthView->hide();

    connect(m_cmdDown, &QToolButton::clicked, this, &myDate::toggleCalendar);
    connect(m_mnthView, &QCalendarWidget::clicked, this, &myDate::mnthView_DateClick);
    connect(m_mnthView, &QCalendarWidget::activated, this, &myDate::mnthView_DateClick);

    setValue(toText(QDate::currentDate()));
}

myDate::~myDate()
{
    // Once dropped, the calendar belongs to the top-level window: take it along.
    if (m_mnthView && m_mnthView->parentWidget() != this)
        delete m_mnthView;
}

QString myDate::value() const
{
    return m_txtValue->text();
}

void myDate::setValue(const QString& text)
{
    m_txtValue->setText(text);
    const QDate d = QDate::fromString(text, dateFormat());
    if (d.isValid())
        m_mnthView->setSelectedDate(d);
    Q_EMIT valueChanged(text);
}

void myDate::toggleCalendar()
{
    if (m_mnthView->isVisible()) {
        m_mnthView->hide();
        return;
    }
    QWidget* top = window();
    if (m_mnthView->parentWidget() != top)
        m_mnthView->setParent(top);
    QPoint at = mapTo(top, QPoint(0, height()));
    // Keep it inside the window when the picker sits near its right or bottom edge.
    at.setX(qMax(0, qMin(at.x(), top->width() - m_mnthView->width())));
    if (at.y() + m_mnthView->height() > top->height())
        at.setY(qMax(0, mapTo(top, QPoint(0, 0)).y() - m_mnthView->height()));
    m_mnthView->move(at);
    m_mnthView->raise();
    m_mnthView->show();
}

void myDate::mnthView_DateClick(const QDate& date)
{
    m_txtValue->setText(toText(date));
    m_mnthView->hide();
    Q_EMIT valueChanged(m_txtValue->text());
}

bool myDate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_txtValue && event->type() == QEvent::MouseButtonPress)
        toggleCalendar();
    return QWidget::eventFilter(watched, event);
}
