#include "AdvPageStore.h"

#include "content/ContentStore.h"
#include "core/Messages.h"
#include "data/ContentRecords.h"

namespace AdvPageStore {

Outcome save(const SiteDb& db, Page& page, const QString& html, QString* dbError)
{
    if (page.level < 1 || page.level > 3)
        return Messages::refused(Messages::Id::NoLevelChosen);
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
    if (!page.isNew && r.rowsAffected == 0) {
        out.notices.append(ContentStore::pageGone());
        return out;
    }
    page.isNew = false;
    out.notices.append(Messages::asNotice(Messages::Id::DataSaved));
    out.done = true;
    return out;
}

QString codeToStored(const QString& code)
{
    QString s = code;
    return s.replace(QLatin1Char('\''), QStringLiteral("[&#39;]"));
}

} // namespace AdvPageStore
