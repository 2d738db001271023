#include "SiteFeeds.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace SiteFeeds {

namespace {

// Text as XML character data or a double-quoted attribute: characters XML 1.0
// cannot hold (control characters, unpaired surrogates) are dropped, markup escaped.
QString xmlText(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            clean += c;
            clean += text[++i];
        } else if (!c.isSurrogate() && (c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r') &&
                   c.unicode() != 0xFFFE && c.unicode() != 0xFFFF) {
            clean += c;
        }
    }
    return clean.toHtmlEscaped();
}

// RFC 822 date of a day: the site's news carry no time, so midnight, China Standard Time.
QString rfc822(const QDate& d)
{
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return QStringLiteral("%1, %2 %3 %4 00:00:00 +0800")
        .arg(QLatin1String(days[d.dayOfWeek() - 1]))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(months[d.month() - 1]))
        .arg(d.year(), 4, 10, QLatin1Char('0'));
}

} // namespace

QString normalBaseUrl(const QString& text, QString* error)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment()) {
        *error = QStringLiteral("网站地址必须是完整的 http:// 或 https:// 地址，例如 https://www.example.org/，不能是 "
                                "\"%1\"")
                     .arg(text);
        return {};
    }
    QString s = url.toString(QUrl::FullyEncoded);
    if (!s.endsWith(QLatin1Char('/')))
        s += QLatin1Char('/');
    return s;
}

QString absoluteUrl(const QString& baseUrl, const QString& file)
{
    // The home page is the site's own address.
    if (file == QLatin1String("index.htm"))
        return baseUrl;
    return baseUrl + QString::fromLatin1(QUrl::toPercentEncoding(file, "/"));
}

QDate parseDate(const QString& typed)
{
    static const QRegularExpression day(
        QStringLiteral("^\\s*(\\d{4})\\s*[-/.年]\\s*(\\d{1,2})\\s*[-/.月]\\s*(\\d{1,2})"));
    const QRegularExpressionMatch m = day.match(typed);
    return m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()) : QDate();
}

QByteArray sitemapXml(const QString& baseUrl, const QVector<Entry>& pages)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n");
    for (const Entry& p : pages) {
        xml += QStringLiteral("<url><loc>%1</loc>").arg(xmlText(absoluteUrl(baseUrl, p.file)));
        if (p.date.isValid())
            xml += QStringLiteral("<lastmod>%1</lastmod>").arg(p.date.toString(Qt::ISODate));
        xml += QStringLiteral("</url>\n");
    }
    xml += QStringLiteral("</urlset>\n");
    return xml.toUtf8();
}

QByteArray robotsTxt(const QString& baseUrl)
{
    QString text = QStringLiteral("User-agent: *\nAllow: /\n");
    if (!baseUrl.isEmpty())
        text += QStringLiteral("Sitemap: %1\n").arg(absoluteUrl(baseUrl, QStringLiteral("sitemap.xml")));
    return text.toUtf8();
}

QByteArray rssXml(const QString& baseUrl, const QString& title, const QString& description, const QString& link,
                  const QString& self, const QVector<Entry>& items)
{
    QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<rss version=\"2.0\" xmlns:atom=\"http://www.w3.org/2005/Atom\">\n<channel>\n"
                       "<title>%1</title>\n<link>%2</link>\n<description>%3</description>\n<language>zh-CN</language>\n"
                       "<atom:link href=\"%4\" rel=\"self\" type=\"application/rss+xml\"/>\n")
            .arg(xmlText(title.trimmed().isEmpty() ? QStringLiteral("新闻") : title),
                 xmlText(absoluteUrl(baseUrl, link)), xmlText(description), xmlText(absoluteUrl(baseUrl, self)));
    for (const Entry& item : items) {
        const QString url = xmlText(absoluteUrl(baseUrl, item.file));
        xml += QStringLiteral("<item><title>%1</title><link>%2</link><guid isPermaLink=\"true\">%2</guid>")
                   .arg(xmlText(item.title), url);
        if (item.date.isValid())
            xml += QStringLiteral("<pubDate>%1</pubDate>").arg(rfc822(item.date));
        if (!item.text.trimmed().isEmpty())
            xml += QStringLiteral("<description>%1</description>").arg(xmlText(item.text));
        xml += QStringLiteral("</item>\n");
    }
    xml += QStringLiteral("</channel>\n</rss>\n");
    return xml.toUtf8();
}

QVector<Entry> newest(QVector<Entry> items, int max)
{
    std::stable_sort(items.begin(), items.end(), [](const Entry& a, const Entry& b) {
        if (a.date.isValid() != b.date.isValid())
            return a.date.isValid();
        return a.date > b.date;
    });
    if (items.size() > max)
        items.resize(max);
    return items;
}

} // namespace SiteFeeds
