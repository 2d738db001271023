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

FormatCaptions formatCaptions(const QString& format)
{
    if (format == QLatin1String("txt"))
        return {QStringLiteral("--样式显示图(文本格式)"), QStringLiteral("文本格式")};
    if (format == QLatin1String("imgTxt01"))
        return {QStringLiteral("--样式显示图(图文格式一)"), QStringLiteral("图文格式一")};
    if (format == QLatin1String("imgTxt02"))
        return {QStringLiteral("--样式显示图(图文格式二)"), QStringLiteral("图文格式二")};
    if (format == QLatin1String("imgTxt03"))
        return {QStringLiteral("--样式显示图(图文格式三)"), QStringLiteral("图文格式三")};
    if (format == QLatin1String("bigImg"))
        return {QStringLiteral("--样式显示图(大图片格式)"), QStringLiteral("大图片格式")};
    if (format == QLatin1String("news"))
        return {QString(), QStringLiteral("新闻格式")};
    if (format == QLatin1String("imgs"))
        return {QString(), QStringLiteral("图片展示格式")};
    if (DisplayFormats::isProductCode(format))
        return {QString(), QStringLiteral("产品显示格式")};
    if (format == QLatin1String("adv"))
        return {QString(), QStringLiteral("高级设计格式")};
    return {};
}

bool isImgTxtFormat(const QString& format)
{
    return format == QLatin1String("imgTxt01") || format == QLatin1String("imgTxt02") ||
           format == QLatin1String("imgTxt03");
}

bool isSingleRecordFormat(const QString& format)
{
    return format == QLatin1String("txt") || format == QLatin1String("bigImg") || isImgTxtFormat(format);
}

SqlResult saveSingleRecord(const SiteDb& db, int level, const QString& format, const QString& page, bool isNew,
                           const SingleRecord& record)
{
    const QString table = SiteDb::contentTable(level);
    if (table.isEmpty())
        return noLevel(level);
    const QString field = SiteDb::contentLink(level).toLower();
    const QString image2 = format == QLatin1String("imgTxt03") ? QString() : record.image2;
    const QString title = t(record.title), content = t(record.content), image1 = t(record.image1);

    if (format == QLatin1String("txt")) {
        if (isNew)
            return db.run(QStringLiteral("INSERT INTO %1(%2,value01,value02) VALUES(?,?,?);").arg(table, field),
                          {t(page), title, content});
        return db.run(QStringLiteral("UPDATE %1 SET value01 = ?, value02 = ? WHERE(%2=?);").arg(table, field),
                      {title, content, t(page)});
    }
    if (isImgTxtFormat(format)) {
        if (isNew)
            return db.run(
                QStringLiteral("INSERT INTO %1(%2,value01,value02,value03,value04) VALUES(?,?,?,?,?);").arg(table, field),
                {t(page), title, content, image1, t(image2)});
        return db.run(QStringLiteral("UPDATE %1 SET value01 = ?, value02 = ?, value03=?,value04=? WHERE(%2=?);")
                          .arg(table, field),
                      {title, content, image1, t(image2), t(page)});
    }
    if (format == QLatin1String("bigImg")) {
        if (isNew)
            return db.run(QStringLiteral("INSERT INTO %1(%2,value01) VALUES(?,?);").arg(table, field),
                          {t(page), image1});
        return db.run(QStringLiteral("UPDATE %1 SET value01 = ? WHERE(%2=?);").arg(table, field),
                      {image1, t(page)});
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
