#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <Qt>

// Geometry of the skinned controls, kept free of widgets: where the frame's
// parts lie, which part a pointer position falls on, what a press there does,
// and how a skin strip is cut into cells and stretched.
namespace SkinGeometry {

// Sizes of the drawn frame, in pixels.
struct FrameMetrics {
    int titleHeight = 28; // the title bar across the top
    int edge = 4;         // left, right and bottom edges
    int grip = 13;        // the resize grip square in the lower right corner
    int iconSize = 16;
    int boxSize = 17; // the close box cell
    int titleEnd = 8; // unscaled ends of the title skin
};

enum class FramePart { Outside, Client, Title, Left, Right, Bottom, Grip };

// Rectangles of the frame's parts for a frame of the given size.
struct FrameLayout {
    QRect title, left, right, bottom, grip, icon, caption, closeBox, client;
};
FrameLayout layoutFrame(const QSize& size, const FrameMetrics& m = {});

// The part under pos (frame coordinates). The grip wins over the edges it
// overlaps, and the title bar over the tops of the side edges.
FramePart hitTest(const QSize& size, const QPoint& pos, const FrameMetrics& m = {});

// What a left press on a part does: move the host by the title (only while it
// is not maximised), resize it by an edge or the grip (only when the frame is
// not fixed and the host not maximised), or nothing.
struct PressAction {
    enum Kind { None, Move, Resize } kind = None;
    Qt::Edges edges;
    bool operator==(const PressAction& o) const { return kind == o.kind && edges == o.edges; }
};
PressAction pressAction(FramePart part, bool fixedSingle, bool maximised);

// The rectangle of cell `index` in a one-row strip of equal cells.
QRect stripCell(int index, const QSize& cell);

// Three-slice drawing: the ends of source keep their width, the middle fills
// what is left of target. A target narrower than both ends gets each end
// shortened to half of it and no middle.
struct Slice {
    QRect source;
    QRect target;
};
QList<Slice> threeSlice(const QRect& source, int endWidth, const QRect& target);

} // namespace SkinGeometry
