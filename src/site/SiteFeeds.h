#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>

// The files that tell search engines and feed readers about a rendered site:
// sitemap.xml, robots.txt and RSS 2.0 feeds. Their addresses must be absolute,
// so they need the site's public address (its base URL); without one the
// sitemap and feeds are not written at all rather than with wrong addresses.
namespace SiteFeeds {

// The public address of a site as an absolute http(s) URL ending in "/", or
// empty with *error when text is no such address.
QString normalBaseUrl(const QString& text, QString* error);

// The absolute address of a file of the site (a name relative to its root); the
// home page's is the site's own address.
QString absoluteUrl(const QString& baseUrl, const QString& file);

// A news item's date as typed ("2026/1/5", "2026-01-05", "2026年1月5日"); invalid when it names no day.
QDate parseDate(const QString& typed);

struct Entry {
    QString file;  // relative to the site's root
    QString title; // feeds only
    QString text;  // feeds only: the item's summary, plain text
    QDate date;    // invalid: unknown
};

// Every page of the site, news items with their dates as lastmod (W3C date form).
QByteArray sitemapXml(const QString& baseUrl, const QVector<Entry>& pages);

// robots.txt allowing everything; it names the sitemap when there is a base URL.
QByteArray robotsTxt(const QString& baseUrl);

// An RSS 2.0 channel of the items given (newest first), dates in RFC 822 form.
// link is the page the channel belongs to, self the feed's own file.
QByteArray rssXml(const QString& baseUrl, const QString& title, const QString& description, const QString& link,
                  const QString& self, const QVector<Entry>& items);

// The newest items, at most max, dated ones first by date, undated ones after in their order.
QVector<Entry> newest(QVector<Entry> items, int max);

} // namespace SiteFeeds
