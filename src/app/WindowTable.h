#pragma once

#include "app/WindowEntry.h"

#include <memory>

class MDIFrm;
class PublishClient;

// What the program's windows share besides the context: the one connection to
// the hosting server, used by the publishing, chat and notice windows. Its
// session outlives the publishing window, which resets it when it loads. It is
// made once the frame (and so the database) exists, and must outlive the frame's
// windows: keep it beside the frame, declared before it.
struct ProgramParts {
    ProgramParts();
    ~ProgramParts();
    std::unique_ptr<PublishClient> publishClient;
};

// The program's windows: the one place that knows every window class. Called
// by main() and by the tests that walk the real commands.
WindowTable programWindows(ProgramParts& parts);

// Makes the shared parts for the frame and connects what the windows' core
// objects ask of it: the publishing client's received chat lines and notices open
// the chat and notice windows. Returns the publishing client.
PublishClient& connectProgramWindows(MDIFrm& frame, ProgramParts& parts);
