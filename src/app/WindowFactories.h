#pragma once

#include <QString>

class AppContext;
class QWidget;

// Creates the task window of that name, or nullptr when the program has none
// by that name. Each subsystem adds its own windows in WindowFactories.cpp.
QWidget* createTaskWindow(const QString& name, AppContext& ctx, QWidget* parent);

// Windows shown on their own rather than inside the frame: the chat, notice and about windows.
bool isFloatingWindow(const QString& name);
