#pragma once

#include "app/WindowEntry.h"

// The program's windows: the one place that knows every window class. Called
// by main() and by the tests that walk the real commands.
WindowTable programWindows();

class MDIFrm;
// Connects what the windows' core objects ask of the frame: the publishing
// client's received chat lines and notices open the chat and notice windows.
void connectProgramWindows(MDIFrm& frame);
