#pragma once

#include <QDateTime>
#include <QString>

// HTML of the chat and notice pages.
namespace ChatHtml {

// Server text is shown as HTML, but only what is known to be harmless stays:
// text formatting, paragraphs and line breaks, font, links and pictures with
// http/https addresses, each with a few plain attributes. Other tags are
// dropped and their text stays as text; scripts, styles and embedded documents
// go with their content; comments go. Every kept tag is written back from its
// parsed name and attributes, so broken or nested markup cannot reassemble
// into a live tag.
QString sanitize(const QString& html);

// One message as it is prepended to the element "msg": a header naming the
// speaker ("server" is the operator) with date and time, then the sanitised body.
QString entry(const QString& speaker, const QString& text, const QDateTime& when);

} // namespace ChatHtml
