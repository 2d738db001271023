#include "sltTmplFrm_view.h"

#include "data/SiteDb.h"
#include "widgets/WebPane.h"

sltTmplFrm_view::sltTmplFrm_view(AppContext& ctx, QWidget* parent)
    : PreviewDialog(ctx, QStringLiteral("sltTmplFrm_view"), QStringLiteral("查看首页"), QSize(820, 600),
                    QStringLiteral("wb_view"), parent)
{
}

bool sltTmplFrm_view::load()
{
    const QString path =
        userInfoFile([](const QSqlRecord& row) { return fieldText(row, QStringLiteral("defaultFile")); },
                     QStringLiteral("首页文件不存在！"));
    if (path.isEmpty())
        return false;
    m_browser->navigate(path);
    return true;
}
