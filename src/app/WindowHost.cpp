#include "WindowHost.h"

#include <QMetaObject>
#include <QObject>

bool WindowHost::invokeIfLoaded(const QString& window, const char* slot)
{
    QObject* w = loadedWindow(window);
    if (!w)
        return false;
    return QMetaObject::invokeMethod(w, slot, Qt::DirectConnection);
}
