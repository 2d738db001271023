#pragma once

#include "app/CommandTable.h"

#include <QIcon>
#include <QList>
#include <QString>

#include <functional>

class AppContext;
class QWidget;

// One window of the program as the frame knows it. The program's table is
// built by the composition root (programWindows()); the frame itself knows
// no window by name.
struct WindowEntry {
    using Factory = std::function<QWidget*(AppContext& ctx, QWidget* parent)>;

    QString name;                    // the window's objectName, by which it is shown
    Command command = Command::None; // the menu and tool bar command that shows it; None: shown only by others
    bool floating = false;           // its own top-level window instead of a child of the frame
    int startupOrder = 0;            // 1, 2, ...: opened at start-up in this order (and unloaded so at restore); 0: not
    bool activeAfterStartup = false; // the child that has the focus once start-up is over
    QIcon icon;                      // the picture of its child window frame and tool bar button
    Factory create;
};

using WindowTable = QList<WindowEntry>;
