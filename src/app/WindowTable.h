#pragma once

#include "app/WindowSpec.h"

// The program's windows: the one place that knows every window class. Called
// by main() and by the tests that walk the real commands.
WindowTable programWindows();
