#include "frmSplash.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

frmSplash::frmSplash(const QString& picturePath, MainLoader loadMain, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_loadMain(std::move(loadMain))
{
    setObjectName(QStringLiteral("frmSplash"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap pic(picturePath);
    if (pic.isNull()) {
        Image1->setText(QStringLiteral("Weblark自动建站软件\n正在启动……"));
        Image1->setAlignment(Qt::AlignCenter);
        Image1->setStyleSheet(QStringLiteral("background:#2d6cb5;color:white;font-size:22px;"));
        Image1->setFixedSize(480, 300);
    } else {
        Image1->setPixmap(pic);
    }
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(Image1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    Timer1->start();
}

void frmSplash::Timer1_Timer()
{
    m_elapsed += Timer1->interval();
    if (m_elapsed < 150)
        return;
    Timer1->stop();
    if (m_loadMain)
        m_loadMain();
}
