#include "ChatHtml.h"

#include <QSet>

namespace ChatHtml {

namespace {

// Elements removed together with everything inside them.
const QSet<QString>& droppedWithContent() {
    static const QSet<QString> s = {
        QStringLiteral("script"),   QStringLiteral("iframe"),   QStringLiteral("object"),
        QStringLiteral("applet"),   QStringLiteral("frameset"), QStringLiteral("noscript"),
        QStringLiteral("svg"),      QStringLiteral("math"),     QStringLiteral("template"),
        QStringLiteral("style"),    QStringLiteral("xml"),      QStringLiteral("noembed"),
        QStringLiteral("textarea"), QStringLiteral("title")};
    return s;
}

// Elements removed (they have no content of their own, or it is harmless text).
const QSet<QString>& droppedTags() {
    static const QSet<QString> s = {
        QStringLiteral("embed"),  QStringLiteral("frame"),  QStringLiteral("base"),  QStringLiteral("meta"),
        QStringLiteral("link"),   QStringLiteral("form"),   QStringLiteral("input"), QStringLiteral("button"),
        QStringLiteral("select"), QStringLiteral("option"), QStringLiteral("html"),  QStringLiteral("head"),
        QStringLiteral("body"),   QStringLiteral("param"),  QStringLiteral("portal")};
    return s;
}

bool isNameChar(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') ||
           c == QLatin1Char('_') || c == QLatin1Char(':');
}

bool isWhite(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

// Between attributes a '/' counts as a separator, as browsers read it.
bool isSpace(QChar c) {
    return isWhite(c) || c == QLatin1Char('/');
}

// Character references decoded enough to see the real scheme of an address.
QString decodeReferences(const QString& v) {
    QString out;
    out.reserve(v.size());
    for (int i = 0; i < v.size(); ++i) {
        if (v.at(i) != QLatin1Char('&')) {
            out += v.at(i);
            continue;
        }
        int j = i + 1;
        if (j < v.size() && v.at(j) == QLatin1Char('#')) {
            ++j;
            const bool hex = j < v.size() && (v.at(j) == QLatin1Char('x') || v.at(j) == QLatin1Char('X'));
            if (hex)
                ++j;
            const int start = j;
            while (j < v.size() && (hex ? isxdigit(v.at(j).toLatin1()) : isdigit(v.at(j).toLatin1())) &&
                   j - start < 8)
                ++j;
            bool ok = false;
            const uint code = v.mid(start, j - start).toUInt(&ok, hex ? 16 : 10);
            if (ok && code > 0 && code < 0x110000) {
                out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
                if (j < v.size() && v.at(j) == QLatin1Char(';'))
                    ++j;
                i = j - 1;
                continue;
            }
        } else {
            static const QList<QPair<QString, QString>> named = {
                {QStringLiteral("colon;"), QStringLiteral(":")},
                {QStringLiteral("tab;"), QStringLiteral("\t")},
                {QStringLiteral("newline;"), QStringLiteral("\n")},
                {QStringLiteral("amp;"), QStringLiteral("&")}};
            bool matched = false;
            for (const auto& n : named) {
                if (v.mid(j, n.first.size()).compare(n.first, Qt::CaseInsensitive) == 0) {
                    out += n.second;
                    i = j + int(n.first.size()) - 1;
                    matched = true;
                    break;
                }
            }
            if (matched)
                continue;
        }
        out += v.at(i);
    }
    return out;
}

bool isScriptAddress(const QString& value) {
    QString compact;
    for (QChar c : decodeReferences(value)) {
        if (c.unicode() > 32 && c.unicode() != 127)
            compact += c.toLower();
    }
    return compact.startsWith(QLatin1String("javascript:")) ||
           compact.startsWith(QLatin1String("vbscript:")) ||
           compact.startsWith(QLatin1String("livescript:")) || compact.startsWith(QLatin1String("data:"));
}

bool keepAttribute(const QString& name, const QString& value) {
    if (name.isEmpty() || name.startsWith(QLatin1String("on")))
        return false;
    if (name == QLatin1String("srcdoc") || name == QLatin1String("formaction") ||
        name == QLatin1String("action"))
        return false;
    if (name == QLatin1String("style")) {
        const QString v = decodeReferences(value).toLower();
        return !v.contains(QLatin1String("expression")) && !v.contains(QLatin1String("javascript:")) &&
               !v.contains(QLatin1String("url("));
    }
    if (isScriptAddress(value))
        return false;
    return true;
}

QString quoteValue(const QString& value) {
    QString v = value;
    v.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    v.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    v.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return QLatin1Char('"') + v + QLatin1Char('"');
}

struct Tag {
    QString name; // lower case
    bool closing = false;
    QString rebuilt; // the tag as it will be written
    int end = 0;     // index after the tag's '>'
};

// Parses the tag starting at html[pos] == '<' whose next character is a letter
// (or '/' and a letter). Returns false when the tag never ends.
bool parseTag(const QString& html, int pos, Tag* tag) {
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
        if (!tag->closing && plainName && keepAttribute(attrName, value))
            attrs +=
                QLatin1Char(' ') + attrName + (hasValue ? QLatin1Char('=') + quoteValue(value) : QString());
    }
    tag->end = i;
    tag->rebuilt = QLatin1Char('<') + (tag->closing ? QStringLiteral("/") : QString()) + tag->name + attrs +
                   QLatin1Char('>');
    return true;
}

bool isLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// Index just after the end tag of the element `name` that starts at `from`, or html.size().
int skipElement(const QString& html, const QString& name, int from) {
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

QString sanitize(const QString& html) {
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
            i + 1 < n && (isLetter(html.at(i + 1)) ||
                          (html.at(i + 1) == QLatin1Char('/') && i + 2 < n && isLetter(html.at(i + 2))));
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
        if (!droppedTags().contains(tag.name))
            out += tag.rebuilt;
    }
    return out;
}

QString entry(const QString& speaker, const QString& text, const QDateTime& when) {
    const QString stamp = when.date().toString(QStringLiteral("yyyy/M/d")) + QLatin1Char(' ') +
                          when.time().toString(QStringLiteral("H:mm:ss"));
    QString header;
    if (speaker == QLatin1String("server"))
        header = QStringLiteral("<font color=blue size=2><b>服务器(管理员)</b></font>(<i>") + stamp +
                 QStringLiteral("</i>)<br>");
    else
        header = QStringLiteral("<font color=red size=2><b>") + sanitize(speaker) +
                 QStringLiteral("</b></font>(<i>") + stamp + QStringLiteral("</i>)<br>");
    return header + QStringLiteral("<font size=2>") + sanitize(text) + QStringLiteral("</font><br>");
}

} // namespace ChatHtml
