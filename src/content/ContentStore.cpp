#include "ContentStore.h"

#include "structure/DisplayFormats.h"

namespace ContentStore {

// Text columns take '' rather than NULL for an empty box, as the published pages expect.
static QString t(const QString& s)
{
    return s.isNull() ? QStringLiteral("") : s;
}

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
        return Outcome::refused(QStringLiteral("没有在左边选择栏目！"), QStringLiteral("警告"), MsgIcon::Critical);
    const DisplayFormats::Format* f = DisplayFormats::find(format);
    Outcome out;
    if (!f || !f->isInPlace())
        return out; // list pages store through their dialogs, free pages in their editor
    if (f->editor != DisplayFormats::Editor::BigImage && title.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("标题不能为空"), QStringLiteral("提示"), MsgIcon::Information);
    out.done = true;
    return out;
}

SqlResult saveSingleRecord(const SiteDb& db, int level, const QString& format, const QString& page, bool isNew,
                           const SingleRecord& record)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    const QString field = SiteDb::contentLink(level).toLower();
    const DisplayFormats::Format* f = DisplayFormats::find(format);
    const DisplayFormats::Editor editor = f ? f->editor : DisplayFormats::Editor::Free;
    // A format with one picture writes the second column empty.
    const QString image2 = f && f->pictureSlots < 2 ? QString() : record.image2;
    const QString title = t(record.title), content = t(record.content), image1 = t(record.image1);

    if (editor == DisplayFormats::Editor::Text) {
        if (isNew)
            return db.run(QStringLiteral("INSERT INTO %1(%2,value01,value02) VALUES(?,?,?);").arg(table, field),
                          {t(page), title, content});
        return db.run(QStringLiteral("UPDATE %1 SET value01 = ?, value02 = ? WHERE(%2=?);").arg(table, field),
                      {title, content, t(page)});
    }
    if (editor == DisplayFormats::Editor::ImageText) {
        if (isNew)
            return db.run(QStringLiteral("INSERT INTO %1(%2,value01,value02,value03,value04) VALUES(?,?,?,?,?);")
                              .arg(table, field),
                          {t(page), title, content, image1, t(image2)});
        return db.run(QStringLiteral("UPDATE %1 SET value01 = ?, value02 = ?, value03=?,value04=? WHERE(%2=?);")
                          .arg(table, field),
                      {title, content, image1, t(image2), t(page)});
    }
    if (editor == DisplayFormats::Editor::BigImage) {
        if (isNew)
            return db.run(QStringLiteral("INSERT INTO %1(%2,value01) VALUES(?,?);").arg(table, field),
                          {t(page), image1});
        return db.run(QStringLiteral("UPDATE %1 SET value01 = ? WHERE(%2=?);").arg(table, field), {image1, t(page)});
    }
    SqlResult r;
    r.error = QStringLiteral("该显示格式不在此处保存：%1").arg(format);
    return r;
}

SqlResult insertNews(const SiteDb& db, int level, const QString& page, const NewsItem& item)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    return db.run(QStringLiteral("INSERT INTO %1(%2, value01,value02,value03,value04) values(?,?,?,?,?);")
                      .arg(table, SiteDb::contentLink(level)),
                  {t(page), t(item.title), t(item.date), t(item.body), t(item.picture)});
}

SqlResult updateNews(const SiteDb& db, int level, qint64 id, const NewsItem& item)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    return db.run(QStringLiteral("UPDATE %1 SET value01=?,value02=?,value03=?,value04=? WHERE(ID=?);").arg(table),
                  {t(item.title), t(item.date), t(item.body), t(item.picture), id});
}

SqlResult insertGalleryItem(const SiteDb& db, int level, const QString& page, const GalleryItem& item)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    return db.run(QStringLiteral("INSERT INTO %1(%2, value01,value02,value03) values(?,?,?,?);")
                      .arg(table, SiteDb::contentLink(level)),
                  {t(page), t(item.caption), t(item.picture), t(item.thumbnail)});
}

SqlResult updateGalleryItem(const SiteDb& db, int level, qint64 id, const GalleryItem& item)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    return db.run(QStringLiteral("UPDATE %1 SET value01=?,value02=?,value03=? WHERE(ID=?);").arg(table),
                  {t(item.caption), t(item.picture), t(item.thumbnail), id});
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
