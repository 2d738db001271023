#include "widgets/SkinGeometry.h"

#include <QtGlobal>

namespace SkinGeometry {

FrameLayout layoutFrame(const QSize& size, const FrameMetrics& m)
{
    const int w = size.width();
    const int h = size.height();
    const int th = m.titleHeight;
    const int e = m.edge;
    FrameLayout l;
    l.title = QRect(0, 0, w, th);
    l.left = QRect(0, th, e, qMax(0, h - th - e));
    l.right = QRect(w - e, th, e, qMax(0, h - th - e));
    l.bottom = QRect(0, h - e, w, e);
    l.grip = QRect(w - e - m.grip, h - e - m.grip, m.grip, m.grip);
    l.icon = QRect(e + 4, (th - m.iconSize) / 2, m.iconSize, m.iconSize);
    l.closeBox = QRect(w - e - 3 - m.boxSize, (th - m.boxSize) / 2, m.boxSize, m.boxSize);
    const int captionLeft = l.icon.right() + 6;
    l.caption = QRect(captionLeft, 0, qMax(0, l.closeBox.left() - 4 - captionLeft), th);
    l.client = QRect(e, th, qMax(0, w - 2 * e), qMax(0, h - th - e));
    return l;
}

FramePart hitTest(const QSize& size, const QPoint& pos, const FrameMetrics& m)
{
    const int w = size.width();
    const int h = size.height();
    if (pos.x() < 0 || pos.y() < 0 || pos.x() >= w || pos.y() >= h)
        return FramePart::Outside;
    if (pos.y() >= m.titleHeight && pos.x() >= w - m.edge - m.grip && pos.y() >= h - m.edge - m.grip)
        return FramePart::Grip;
    if (pos.y() < m.titleHeight)
        return FramePart::Title;
    if (pos.x() < m.edge)
        return FramePart::Left;
    if (pos.x() >= w - m.edge)
        return FramePart::Right;
    if (pos.y() >= h - m.edge)
        return FramePart::Bottom;
    return FramePart::Client;
}

PressAction pressAction(FramePart part, bool fixedSingle, bool maximised)
{
    PressAction a;
    if (part == FramePart::Title) {
        if (!maximised)
            a.kind = PressAction::Move;
        return a;
    }
    Qt::Edges edges;
    switch (part) {
    case FramePart::Left:
        edges = Qt::LeftEdge;
        break;
    case FramePart::Right:
        edges = Qt::RightEdge;
        break;
    case FramePart::Bottom:
        edges = Qt::BottomEdge;
        break;
    case FramePart::Grip:
        edges = Qt::RightEdge | Qt::BottomEdge;
        break;
    default:
        return a;
    }
    if (fixedSingle || maximised)
        return a;
    a.kind = PressAction::Resize;
    a.edges = edges;
    return a;
}

QRect stripCell(int index, const QSize& cell)
{
    return QRect(index * cell.width(), 0, cell.width(), cell.height());
}

QList<Slice> threeSlice(const QRect& source, int endWidth, const QRect& target)
{
    const int end = qBound(0, endWidth, source.width() / 2);
    const int sy = source.y();
    const int sh = source.height();
    const int ty = target.y();
    const int th = target.height();
    QList<Slice> out;
    if (target.width() < 2 * end) {
        const int leftW = target.width() / 2;
        const int rightW = target.width() - leftW;
        if (leftW > 0)
            out.append({QRect(source.x(), sy, leftW, sh), QRect(target.x(), ty, leftW, th)});
        if (rightW > 0)
            out.append({QRect(source.right() + 1 - rightW, sy, rightW, sh), QRect(target.x() + leftW, ty, rightW, th)});
        return out;
    }
    if (end > 0)
        out.append({QRect(source.x(), sy, end, sh), QRect(target.x(), ty, end, th)});
    const int midSource = source.width() - 2 * end;
    const int midTarget = target.width() - 2 * end;
    if (midSource > 0 && midTarget > 0)
        out.append({QRect(source.x() + end, sy, midSource, sh), QRect(target.x() + end, ty, midTarget, th)});
    if (end > 0)
        out.append({QRect(source.right() + 1 - end, sy, end, sh), QRect(target.right() + 1 - end, ty, end, th)});
    return out;
}

} // namespace SkinGeometry
