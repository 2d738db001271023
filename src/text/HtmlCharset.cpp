#include "HtmlCharset.h"

#include <QStringDecoder>

namespace HtmlCharset {

namespace {

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':';
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // A character cut off at the end of a prescan is no error.
    qsizetype end = bytes.size();
    for (int i = 1; i <= 3 && end - i >= 0; ++i) {
        const uchar c = uchar(bytes.at(end - i));
        if ((c & 0xC0) == 0xC0) { // a lead byte among the last three
            end -= i;
            break;
        }
        if ((c & 0x80) == 0)
            break;
    }
    const QString text = utf8.decode(QByteArrayView(bytes).first(end));
    return !utf8.hasError();
}

} // namespace

QByteArray declared(const QByteArray& head)
{
    const QByteArray lower = head.left(kPrescanBytes).toLower();
    qsizetype at = 0;
    while ((at = lower.indexOf("<meta", at)) >= 0) {
        const qsizetype end = lower.indexOf('>', at);
        const QByteArray tag = lower.mid(at, end < 0 ? -1 : end - at);
        at += 5;
        const qsizetype cs = tag.indexOf("charset");
        if (cs < 0)
            continue;
        qsizetype i = cs + 7;
        while (i < tag.size() && (tag.at(i) == ' ' || tag.at(i) == '\t'))
            ++i;
        if (i >= tag.size() || tag.at(i) != '=')
            continue;
        ++i;
        while (i < tag.size() && (tag.at(i) == ' ' || tag.at(i) == '\t' || tag.at(i) == '"' || tag.at(i) == '\''))
            ++i;
        qsizetype j = i;
        while (j < tag.size() && isNameChar(tag.at(j)))
            ++j;
        if (j > i && j - i <= 40)
            return tag.mid(i, j - i);
    }
    return {};
}

QByteArray of(const QByteArray& head)
{
    const QByteArray name = declared(head);
    if (!name.isEmpty())
        return name;
    return isValidUtf8(head.left(kPrescanBytes)) ? QByteArray("utf-8") : QByteArray("gb18030");
}

QString decode(const QByteArray& page)
{
    QByteArray name = of(page);
    // Browsers read the Chinese labels as the largest of the family, and so do we:
    // a page labelled gb2312 often holds GBK characters.
    if (name == "gb2312" || name == "gbk" || name == "x-gbk" || name == "cp936" || name == "gb_2312-80")
        name = "gb18030";
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        decoder = isValidUtf8(page) ? QStringDecoder(QStringDecoder::Utf8) : QStringDecoder("gb18030");
    return decoder.decode(page);
}

} // namespace HtmlCharset
