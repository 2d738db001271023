#include "sltTmplFrm_viewHead.h"

#include "appearance/CustomPages.h"
#include "core/AppContext.h"
#include "data/SiteDb.h"
#include "text/TextCodec.h"
#include "widgets/WebPane.h"

#include <QFileInfo>
#include <QUrl>

sltTmplFrm_viewHead::sltTmplFrm_viewHead(AppContext& ctx, QWidget* parent)
    : PreviewDialog(ctx, QStringLiteral("sltTmplFrm_viewHead"), QStringLiteral("查看内页头文件"), QSize(820, 260),
                    QStringLiteral("wb_view"), parent)
{
    m_browser->navigate(QStringLiteral("about:blank"));
}

QString sltTmplFrm_viewHead::headHtml(const QString& path)
{
    // Encoded, the address cannot end the quoted attribute early.
    const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    QString html = QStringLiteral("<body  leftmargin=0 topmargin=0>");
    if (QFileInfo(path).suffix().compare(QLatin1String("swf"), Qt::CaseInsensitive) != 0)
        return html + QStringLiteral("<img src='%1'>").arg(url);
    html += QStringLiteral("<OBJECT classid='clsid:D27CDB6E-AE6D-11cf-96B8-444553540000' "
                           "codeBase='http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab"
                           "#version=6,0,29,0' width=760 height=130>");
    html += QStringLiteral("<PARAM NAME='movie' VALUE='%1'>").arg(url);
    html += QStringLiteral("<PARAM NAME='quality' VALUE='high'>");
    html += QStringLiteral("<param name='wmode' value='transparent'>");
    html += QStringLiteral("<div style='width:760px;height:130px;border:1px dashed #999;display:flex;"
                           "align-items:center;justify-content:center;font:14px sans-serif;color:#555'>"
                           "%1 Flash动画</div>")
                .arg(QFileInfo(path).fileName().toHtmlEscaped());
    return html + QStringLiteral("</OBJECT>");
}

bool sltTmplFrm_viewHead::load()
{
    const QString path = userInfoFile(
        [](const QSqlRecord& row) {
            const QString topHead = fieldText(row, QStringLiteral("topHead"));
            return CustomPages::headPrefix() + topHead.mid(topHead.lastIndexOf(QLatin1Char('.')) + 1);
        },
        QStringLiteral("内页头文件不存在！"));
    if (path.isEmpty())
        return false;
    m_page = headHtml(path);
    m_browser->setHtml(m_page, QUrl(TextCodec::workspaceUrl(m_ctx.workPath)));
    return true;
}
