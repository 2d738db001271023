#pragma once

#include <functional>

// What the frame tells a task window about its life inside it. A window that
// cares implements this; the frame calls it, so that no window looks at the
// frame's own widgets. A turn is the user moving from one task window to
// another: the whole program losing the activation (to a message box, to
// another program) and getting it back is none.
class FramedWindow {
public:
    enum class Placement { AsItComes, TopLeft };

    virtual ~FramedWindow() = default;

    // Where the frame places the window when it first shows it. The frame's
    // child window never shrinks below the window's own minimum size.
    virtual Placement placement() const { return Placement::AsItComes; }
    // The user turned to this window from another task window.
    virtual void activated() {}
    // The user turned from this window to another task window.
    virtual void deactivated() {}

    // Set by the frame: makes this window the active task window again.
    std::function<void()> bringBack;
};
