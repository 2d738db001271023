#pragma once

#include <QString>

class QObject;

// Lets a window reach the other task windows by their names ("designFrm",
// "insDataFrm", "updataFrm", ...) without owning them.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // The window if it is loaded (open), else nullptr. Never loads it.
    virtual QObject* loadedWindow(const QString& name) const = 0;
    // Loads the window if needed and brings it forward (no reload when open).
    virtual QObject* showWindow(const QString& name) = 0;
    // Calls a public slot of a loaded window; false when it is not loaded.
    bool invokeIfLoaded(const QString& window, const char* slot);
};
