#include "sltTmplFrm_viewTmpl.h"

#include "core/AppContext.h"
#include "widgets/WebPane.h"

#include <QTimer>
#include <QUrl>

sltTmplFrm_viewTmpl::sltTmplFrm_viewTmpl(AppContext& ctx, const QString& value, QWidget* parent)
    : PreviewDialog(ctx, QStringLiteral("sltTmplFrm_viewTmpl"), QStringLiteral("浏览模板"), QSize(840, 680),
                    QStringLiteral("wb_view11"), parent),
      m_value(value)
{
    setModal(true);
    m_browser->navigate(QStringLiteral("about:blank"));
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
    m_browser->setHtml(m_page, QUrl::fromLocalFile(m_ctx.appPath + QStringLiteral("template/")));
}
