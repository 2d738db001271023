#include "ChatHtml.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace ChatHtml {

namespace {

// The elements a server text may keep, with the attributes each may carry.
// Everything else goes: its tags are dropped and its text stays, as text.
const QHash<QString, QStringList>& allowed()
{
    static const QHash<QString, QStringList> a = [] {
        QHash<QString, QStringList> h;
        for (const char* name :
             {"b", "strong", "i", "em", "u", "s", "strike", "sub", "sup", "small", "big", "tt", "span", "br"})
            h.insert(QLatin1String(name), {});
        for (const char* name : {"p", "div", "center"})
            h.insert(QLatin1String(name), {QStringLiteral("align")});
        h.insert(QStringLiteral("font"), {QStringLiteral("color"), QStringLiteral("size"), QStringLiteral("face")});
        h.insert(QStringLiteral("a"), {QStringLiteral("href"), QStringLiteral("title")});
        h.insert(QStringLiteral("img"), {QStringLiteral("src"), QStringLiteral("alt"), QStringLiteral("title"),
                                         QStringLiteral("width"), QStringLiteral("height"), QStringLiteral("border")});
        return h;
    }();
    return a;
}

// Elements whose content is not text for the reader (code, styles, embedded
// documents): they go together with everything inside them.
const QSet<QString>& droppedWithContent()
{
    static const QSet<QString> s = {QStringLiteral("script"),   QStringLiteral("style"),    QStringLiteral("iframe"),
                                    QStringLiteral("object"),   QStringLiteral("applet"),   QStringLiteral("frameset"),
                                    QStringLiteral("noscript"), QStringLiteral("svg"),      QStringLiteral("math"),
                                    QStringLiteral("template"), QStringLiteral("xml"),      QStringLiteral("noembed"),
                                    QStringLiteral("noframes"), QStringLiteral("textarea"), QStringLiteral("title"),
                                    QStringLiteral("select"),   QStringLiteral("head")};
    return s;
}

// Only web addresses: no script, data or local-file schemes, no relative addresses.
bool isWebAddress(const QString& value)
{
    const QString v = value.trimmed();
    return v.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           v.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

bool isNameChar(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') || c == QLatin1Char('_') ||
           c == QLatin1Char(':');
}

bool isWhite(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\f');
}

// Between attributes a '/' counts as a separator, as browsers read it.
bool isSpace(QChar c)
{
    return isWhite(c) || c == QLatin1Char('/');
}

QString quoteValue(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    v.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    v.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return QLatin1Char('"') + v + QLatin1Char('"');
}

struct Tag {
    QString name; // lower case
    bool closing = false;
    bool keep = false;
    QString rebuilt; // the tag as it will be written
    int end = 0;     // index after the tag's '>'
};

// Parses the tag starting at html[pos] == '<' whose next character is a letter
// (or '/' and a letter). Returns false when the tag never ends.
bool parseTag(const QString& html, int pos, Tag* tag)
{
    int i = pos + 1;
    if (html.at(i) == QLatin1Char('/')) {
        tag->closing = true;
        ++i;
    }
    const int nameStart = i;
    while (i < html.size() && isNameChar(html.at(i)))
        ++i;
    tag->name = html.mid(nameStart, i - nameStart).toLower();
    QString attrs;
    bool hasAddress = false;
    while (true) {
        while (i < html.size() && isSpace(html.at(i)))
            ++i;
        if (i >= html.size())
            return false;
        if (html.at(i) == QLatin1Char('>')) {
            ++i;
            break;
        }
        const int an = i;
        while (i < html.size() && !isSpace(html.at(i)) && html.at(i) != QLatin1Char('>') &&
               html.at(i) != QLatin1Char('='))
            ++i;
        QString attrName = html.mid(an, i - an).toLower();
        if (i == an) { // a stray '=' or quote: skip it
            ++i;
            continue;
        }
        QString value;
        bool hasValue = false;
        int k = i;
        while (k < html.size() && isWhite(html.at(k)))
            ++k;
        if (k < html.size() && html.at(k) == QLatin1Char('=')) {
            hasValue = true;
            i = k + 1;
            while (i < html.size() && isWhite(html.at(i)))
                ++i;
            if (i < html.size() && (html.at(i) == QLatin1Char('"') || html.at(i) == QLatin1Char('\''))) {
                const QChar q = html.at(i);
                const int close = html.indexOf(q, i + 1);
                if (close < 0)
                    return false;
                value = html.mid(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const int vs = i;
                while (i < html.size() && !isWhite(html.at(i)) && html.at(i) != QLatin1Char('>'))
                    ++i;
                value = html.mid(vs, i - vs);
            }
        }
        bool plainName = !attrName.isEmpty();
        for (QChar c : attrName)
            plainName = plainName && isNameChar(c);
        const QStringList& names = allowed().value(tag->name);
        if (tag->closing || !plainName || !hasValue || !names.contains(attrName))
            continue;
        if (attrName == QLatin1String("href") || attrName == QLatin1String("src")) {
            if (!isWebAddress(value))
                continue;
            hasAddress = true;
        }
        attrs += QLatin1Char(' ') + attrName + QLatin1Char('=') + quoteValue(value.trimmed());
    }
    tag->end = i;
    // A picture without a web address shows nothing but a broken frame.
    tag->keep = allowed().contains(tag->name) && (tag->name != QLatin1String("img") || hasAddress);
    tag->rebuilt =
        QLatin1Char('<') + (tag->closing ? QStringLiteral("/") : QString()) + tag->name + attrs + QLatin1Char('>');
    return true;
}

bool isLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// Index just after the end tag of the element `name` that starts at `from`, or html.size().
int skipElement(const QString& html, const QString& name, int from)
{
    const QString close = QStringLiteral("</") + name;
    int i = from;
    while (true) {
        const int at = html.indexOf(close, i, Qt::CaseInsensitive);
        if (at < 0)
            return int(html.size());
        const int after = at + int(close.size());
        if (after < html.size() && isNameChar(html.at(after))) {
            i = after;
            continue;
        }
        const int gt = html.indexOf(QLatin1Char('>'), after);
        return gt < 0 ? int(html.size()) : gt + 1;
    }
}

} // namespace

QString sanitize(const QString& html)
{
    QString out;
    out.reserve(html.size());
    int i = 0;
    const int n = int(html.size());
    while (i < n) {
        const QChar c = html.at(i);
        if (c == QLatin1Char('>')) {
            out += QStringLiteral("&gt;");
            ++i;
            continue;
        }
        if (c != QLatin1Char('<')) {
            out += c;
            ++i;
            continue;
        }
        // Comments, doctype and processing instructions carry nothing worth showing.
        if (html.mid(i, 4) == QLatin1String("<!--")) {
            const int end = html.indexOf(QStringLiteral("-->"), i + 4);
            i = end < 0 ? n : end + 3;
            continue;
        }
        if (i + 1 < n && (html.at(i + 1) == QLatin1Char('!') || html.at(i + 1) == QLatin1Char('?'))) {
            const int end = html.indexOf(QLatin1Char('>'), i + 2);
            i = end < 0 ? n : end + 1;
            continue;
        }
        const bool startsTag =
            i + 1 < n &&
            (isLetter(html.at(i + 1)) || (html.at(i + 1) == QLatin1Char('/') && i + 2 < n && isLetter(html.at(i + 2))));
        if (!startsTag) {
            out += QStringLiteral("&lt;");
            ++i;
            continue;
        }
        Tag tag;
        if (!parseTag(html, i, &tag))
            break; // an unfinished tag at the end is dropped with what follows
        if (droppedWithContent().contains(tag.name)) {
            i = tag.closing ? tag.end : skipElement(html, tag.name, tag.end);
            continue;
        }
        i = tag.end;
        if (tag.keep)
            out += tag.rebuilt;
    }
    return out;
}

QString entry(const QString& speaker, const QString& text, const QDateTime& when)
{
    const QString stamp = when.date().toString(QStringLiteral("yyyy/M/d")) + QLatin1Char(' ') +
                          when.time().toString(QStringLiteral("H:mm:ss"));
    QString header;
    if (speaker == QLatin1String("server"))
        header = QStringLiteral("<font color=blue size=2><b>服务器(管理员)</b></font>(<i>") + stamp +
                 QStringLiteral("</i>)<br>");
    else
        header = QStringLiteral("<font color=red size=2><b>") + sanitize(speaker) + QStringLiteral("</b></font>(<i>") +
                 stamp + QStringLiteral("</i>)<br>");
    return header + QStringLiteral("<font size=2>") + sanitize(text) + QStringLiteral("</font><br>");
}

} // namespace ChatHtml
