#include "TextCodec.h"

#include <QColor>
#include <QRegularExpression>
#include <QUrl>

namespace TextCodec {

QString encode(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    s.replace(QLatin1Char('\''), QStringLiteral("&#39;"));
    s.replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
    s.replace(QLatin1Char('"'), QStringLiteral("&#34;"));
    return s;
}

QString decode(const QString& stored)
{
    QString s = stored;
    s.replace(QStringLiteral("<br>"), QStringLiteral("\r\n"));
    s.replace(QStringLiteral("&#34;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    s.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    return s;
}

QString workspaceUrl(const QString& workPath)
{
    QString url = QUrl::fromLocalFile(workPath).toString();
    if (!url.endsWith(QLatin1Char('/')))
        url += QLatin1Char('/');
    return url;
}

QString toStorageHtml(const QString& html, const QString& workPath)
{
    QString s = html;
    const int body = s.toLower().indexOf(QStringLiteral("<body"));
    if (body >= 0) {
        const int close = s.indexOf(QLatin1Char('>'), body);
        s = close >= 0 ? s.mid(close + 1) : QString();
    }
    const int end = s.toLower().lastIndexOf(QStringLiteral("</body>"));
    if (end >= 0)
        s.truncate(end);
    s.replace(QLatin1Char('\''), QStringLiteral("[&#39;]"));
    if (!workPath.isEmpty()) {
        const QString marker = QStringLiteral("[imgpath]/");
        // The browser may hand back the address percent-encoded (blanks, Chinese names).
        const QString encodedUrl = QString::fromLatin1(QUrl::fromLocalFile(workPath).toEncoded());
        const QString prettyUrl = workspaceUrl(workPath);
        s.replace(prettyUrl, marker);
        if (encodedUrl != prettyUrl)
            s.replace(encodedUrl, marker);
        s.replace(workPath, marker);
    }
    return s;
}

QString fromStorageHtml(const QString& stored, const QString& workPath)
{
    QString s = stored;
    s.replace(QStringLiteral("[&#39;]"), QStringLiteral("'"));
    s.replace(QStringLiteral("[imgpath]/"), workspaceUrl(workPath));
    return s;
}

bool isLenientNumber(const QString& text)
{
    if (text.isEmpty())
        return true;
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?\\s*(\\d+\\.?\\d*|\\.\\d+)([eEdD][+-]?\\d+)?\\s*$"));
    return re.match(text).hasMatch();
}

QString colorToHex(const QColor& color)
{
    return QStringLiteral("#%1%2%3")
        .arg(color.red(), 2, 16, QLatin1Char('0'))
        .arg(color.green(), 2, 16, QLatin1Char('0'))
        .arg(color.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace TextCodec

bool cls_func::isEng(const QString& text) const
{
    for (const QChar c : text) {
        if (c.unicode() < 32 || c.unicode() > 127)
            return false;
    }
    return true;
}
