#include "sltTmplFrm_viewTmpl.h"

#include "app/AppContext.h"
#include "widgets/WebPane.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

sltTmplFrm_viewTmpl::sltTmplFrm_viewTmpl(AppContext& ctx, const QString& value, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_value(value)
{
    setObjectName(QStringLiteral("sltTmplFrm_viewTmpl"));
    setWindowTitle(QStringLiteral("浏览模板"));
    setModal(true);
    resize(840, 680);

    wb_view11 = new WebPane(this);
    wb_view11->setObjectName(QStringLiteral("wb_view11"));
    CancelButton = new QPushButton(QStringLiteral("关闭"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    auto* root = new QVBoxLayout(this);
    root->addWidget(wb_view11, 1);
    root->addLayout(buttons);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    wb_view11->navigate(QStringLiteral("about:blank"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &sltTmplFrm_viewTmpl::Timer1_Timer);
    Timer1->start();
}

QString sltTmplFrm_viewTmpl::previewHtml(const QString& appPath, const QString& value)
{
    const QString picture = appPath + QStringLiteral("template/") + value.left(5) + QStringLiteral(".jpg");
    return QStringLiteral("<html><head></head>") +
           QStringLiteral("<body  leftmargin=2 topmargin=0 oncontextmenu='return false;'>") +
           QStringLiteral("<img src='") + QUrl::fromLocalFile(picture).toString(QUrl::FullyEncoded) +
           QStringLiteral("'>") + QStringLiteral("</body></html>");
}

void sltTmplFrm_viewTmpl::Timer1_Timer()
{
    if (++m_ticks < 2)
        return;
    Timer1->stop();
    if (!m_page.isEmpty())
        return;
    m_page = previewHtml(m_ctx.appPath, m_value);
    wb_view11->setHtml(m_page, QUrl::fromLocalFile(m_ctx.appPath + QStringLiteral("template/")));
}
