#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// The small square pictures browsers show for a site: in the tab, in bookmarks and
// on a phone's home screen. Made from the organisation's logo, or, when there is
// none, from the first character of its name lettered on the theme's head colours.
namespace SiteIcons {

// The logo fitted into a size x size square, centred; opaque fills the rest white
// (home screens show transparent corners black).
QImage fromLogo(const QImage& logo, int size, bool opaque);
// The name's first character in the name style on a rounded square running from
// one head colour to the other; only the square when nothing can be lettered.
QImage fromName(const QString& name, int style, const QColor& from, const QColor& to, int size);

} // namespace SiteIcons
