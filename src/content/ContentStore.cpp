#include "ContentStore.h"

#include "core/Messages.h"
#include "data/ContentRecords.h"
#include "structure/DisplayFormats.h"

namespace ContentStore {

static SqlResult noLevel(int level)
{
    SqlResult r;
    r.error = QStringLiteral("无效的栏目级别：%1").arg(level);
    return r;
}

Notice pageGone()
{
    return {QStringLiteral("该页面已被删除，数据没有保存！"), QStringLiteral("警告"), MsgIcon::Warning};
}

Outcome checkSave(int level, const QString& format, const QString& title)
{
    if (level < 1)
        return Messages::refused(Messages::Id::NoLevelChosen);
    const DisplayFormats::Format* f = DisplayFormats::find(format);
    Outcome out;
    if (!f || !f->isInPlace())
        return out; // list pages store through their dialogs, free pages in their editor
    if (f->editor != DisplayFormats::Editor::BigImage && title.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("标题不能为空"), Messages::notice(), MsgIcon::Information);
    out.done = true;
    return out;
}

SqlResult saveSingleRecord(const SiteDb& db, int level, const QString& format, const QString& page, bool isNew,
                           const SingleRecord& record)
{
    using namespace ContentRecords;
    if (SiteDb::contentTable(level).isEmpty())
        return noLevel(level);
    const DisplayFormats::Format* f = DisplayFormats::find(format);
    const DisplayFormats::Editor editor = f ? f->editor : DisplayFormats::Editor::Free;
    QVariantList v;
    if (editor == DisplayFormats::Editor::Text) {
        v = values(TextPage{record.title, record.content, {}, {}}).mid(0, 2);
    } else if (editor == DisplayFormats::Editor::ImageText) {
        // A format with one picture writes the second column empty.
        v = values(
            TextPage{record.title, record.content, record.image1, f->pictureSlots < 2 ? QString() : record.image2});
    } else if (editor == DisplayFormats::Editor::BigImage) {
        v = values(BigImagePage{record.image1});
    } else {
        SqlResult r;
        r.error = QStringLiteral("该显示格式不在此处保存：%1").arg(format);
        return r;
    }
    return isNew ? insertValues(db, level, page, v) : updatePageValues(db, level, page, v);
}

SqlResult selectListRows(const SiteDb& db, int level, const QString& page)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    return db.run(QStringLiteral("SELECT ID, value01, value02, value03, value04 From %1 WHERE (%2=?) ORDER BY ID DESC;")
                      .arg(table, SiteDb::contentLink(level)),
                  {page});
}

QString toCrLf(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return t;
}

QString fromCrLf(const QString& text)
{
    QString t = text;
    return t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

qint64 parseRecordId(const QString& text)
{
    bool ok = false;
    const qint64 id = text.trimmed().toLongLong(&ok);
    return ok ? id : -1;
}

} // namespace ContentStore
