#pragma once

#include <QString>

class QColor;

// How text is kept in the site database. Published pages are built from the
// stored forms, so both directions must stay exactly as they are.
namespace TextCodec {

// Plain multi-line text: CR LF -> "<br>", ' -> "&#39;", blank -> "&nbsp;", " -> "&#34;".
QString encode(const QString& text);
QString decode(const QString& stored);

// Rich HTML kept without its document shell; apostrophes become "[&#39;]" and
// pictures in the workspace are written relative to "[imgpath]/".
// workPath always ends with "/".
QString toStorageHtml(const QString& html, const QString& workPath);
QString fromStorageHtml(const QString& stored, const QString& workPath);

// The workspace folder as a browser address ("file:///..." with a trailing "/").
QString workspaceUrl(const QString& workPath);

// The lenient numeric test of dimension boxes: empty, or blanks, sign, digits,
// decimal point and exponent.
bool isLenientNumber(const QString& text);

// "#RRGGBB", upper-case hexadecimal.
QString colorToHex(const QColor& color);

} // namespace TextCodec

// A picked file name must be plain printable ASCII (codes 32..127).
class cls_func {
public:
    bool isEng(const QString& text) const;
};
