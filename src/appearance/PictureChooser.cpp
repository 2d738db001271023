#include "PictureChooser.h"

#include "core/AppContext.h"
#include "core/Messages.h"
#include "text/Twips.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>

PictureChooser::PictureChooser(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setModal(true);
}

QHBoxLayout* PictureChooser::buildPanel(const QColor& ground, int singleStep)
{
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    QPalette pal = Picture1->palette();
    pal.setColor(QPalette::Window, ground);
    Picture1->setPalette(pal);
    Picture1->installEventFilter(this);
    scrlVer = new QScrollBar(Qt::Vertical, this);
    scrlVer->setObjectName(QStringLiteral("scrlVer"));
    scrlVer->setSingleStep(singleStep);
    auto* panel = new QHBoxLayout;
    panel->setSpacing(0);
    panel->addWidget(Picture1, 1);
    panel->addWidget(scrlVer);
    return panel;
}

void PictureChooser::buildButtons()
{
    OKButton = new QPushButton(QStringLiteral("确定"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("取消"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void PictureChooser::updateScrollRange()
{
    const int panel = Twips::fromPixels(Picture1->height());
    scrlVer->setRange(0, scrollMax(panel));
    scrlVer->setPageStep(panel);
}

void PictureChooser::storeChoice(const QString& column, const QString& value)
{
    const SqlResult r = m_ctx.conn.updateUserInfo(column, value);
    if (!r) {
        m_ctx.dialogs.message(r.error, Messages::error(), MsgIcon::Critical);
        return;
    }
    m_chosen = value;
    accept();
}

bool PictureChooser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Picture1) {
        if (event->type() == QEvent::Resize)
            updateScrollRange();
        else if (event->type() == QEvent::Wheel)
            return QApplication::sendEvent(scrlVer, event);
    }
    return QDialog::eventFilter(watched, event);
}
