#include "SiteIcons.h"

#include "NameLettering.h"

#include <QLinearGradient>
#include <QPainter>

namespace SiteIcons {

QImage fromLogo(const QImage& logo, int size, bool opaque)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(opaque ? Qt::white : Qt::transparent);
    const int room = opaque ? size * 7 / 8 : size;
    const QImage fitted = logo.scaled(room, room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter p(&icon);
    p.drawImage((size - fitted.width()) / 2, (size - fitted.height()) / 2, fitted);
    return icon;
}

QImage fromName(const QString& name, int style, const QColor& from, const QColor& to, int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, size, size);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
    const QString trimmed = name.trimmed();
    const QString first = trimmed.left(!trimmed.isEmpty() && trimmed.at(0).isHighSurrogate() ? 2 : 1);
    if (!first.isEmpty() && NameLettering::canDraw())
        p.drawImage(0, 0, NameLettering::draw(first, qMax(0, style), size * 5 / 8, QSize(size, size)));
    return icon;
}

} // namespace SiteIcons
