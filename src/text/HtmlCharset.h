#pragma once

#include <QByteArray>
#include <QString>

// The character set a web page is written in. Pages made by hand on Chinese
// Windows are often GB2312 or GBK; the server sends them with their own charset
// and the renderer reads their titles by it.
namespace HtmlCharset {

// How far into a page its declaration is looked for (what browsers read first).
constexpr int kPrescanBytes = 1024;

// The charset a page declares in its head (<meta charset=...> or
// <meta http-equiv="Content-Type" content="...; charset=...">), lower-case;
// empty when it declares none or names no plausible charset.
QByteArray declared(const QByteArray& head);

// The charset a page is written in: the declared one; else "utf-8" when its
// bytes are valid UTF-8, else "gb18030" (a GBK page without a declaration).
QByteArray of(const QByteArray& head);

// The page's text decoded by that charset.
QString decode(const QByteArray& page);

} // namespace HtmlCharset
