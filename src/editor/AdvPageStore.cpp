#include "AdvPageStore.h"

#include "content/ContentStore.h"

namespace AdvPageStore {

namespace {
const char* const kTables[] = {"content01", "content02", "content03"};
const char* const kLinks[] = {"firstcatalog", "secondcatalog", "thirdcatalog"};
} // namespace

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
    const QString table = QString::fromLatin1(kTables[page.level - 1]);
    const QString link = QString::fromLatin1(kLinks[page.level - 1]);
    const SqlResult r =
        page.isNew
            ? db.run(QStringLiteral("INSERT INTO %1(%2,value01) VALUES(?,?)").arg(table, link), {page.name, body})
            : db.run(QStringLiteral("UPDATE %1 SET value01 = ? WHERE(%2=?)").arg(table, link), {body, page.name});
    if (!r.ok) {
        if (dbError)
            *dbError = r.error;
        return out;
    }
    if (!page.isNew && r.rowsAffected == 0) {
        out.notices.append(ContentStore::pageGone());
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

} // namespace AdvPageStore
