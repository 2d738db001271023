#pragma once

#include <QDateTime>
#include <QString>

// HTML of the chat and notice pages.
namespace ChatHtml {

// Server text is shown as HTML, but nothing in it may run: script-bearing
// elements (script, iframe, object, embed, ...) go with their content, on*
// attributes and javascript:/vbscript: addresses go, comments go; ordinary
// formatting stays. Every tag is written back from its parsed name and
// attributes, so broken or nested markup cannot reassemble into a live tag.
QString sanitize(const QString& html);

// One message as it is prepended to the element "msg": a header naming the
// speaker ("server" is the operator) with date and time, then the sanitised body.
QString entry(const QString& speaker, const QString& text, const QDateTime& when);

} // namespace ChatHtml
