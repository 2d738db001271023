#include "AdvPageStore.h"

#include "data/ContentRecords.h"

namespace AdvPageStore {

Outcome save(const SiteDb& db, Page& page, const QString& html, QString* dbError)
{
    if (page.level < 1 || page.level > 3)
        return Outcome::refused(QStringLiteral("没有在左边选择栏目！"), QStringLiteral("警告"), MsgIcon::Critical);
    Outcome out;
    if (page.format == QLatin1String("news")) {
        out.done = true; // nothing of a list page lives in the editor
        return out;
    }
    QString body = html;
    body.remove(QChar(13));
    const ContentRecords::FreePage stored{body};
    const SqlResult r = page.isNew ? ContentRecords::insert(db, page.level, page.name, stored)
                                   : ContentRecords::updatePage(db, page.level, page.name, stored);
    if (!r.ok) {
        if (dbError)
            *dbError = r.error;
        return out;
    }
    page.isNew = false;
    out.notices.append({QStringLiteral("数据保存成功！"), QStringLiteral("提示"), MsgIcon::Information});
    out.done = true;
    return out;
}

QString codeToStored(const QString& code)
{
    QString s = code;
    return s.replace(QLatin1Char('\''), QStringLiteral("[&#39;]"));
}

QString appendToBody(const QString& html, const QString& fragment)
{
    const int end = html.toLower().lastIndexOf(QStringLiteral("</body>"));
    if (end < 0)
        return html + fragment;
    return html.left(end) + fragment + html.mid(end);
}

} // namespace AdvPageStore
