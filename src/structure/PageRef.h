#pragma once

#include <QString>

// A page as the statements address it: its level (1..3 for the catalog tables,
// 0 for the root or nothing) and its name. Dialogs keep one from the moment they
// open, so that what they store goes to the page they were opened for.
struct PageRef {
    int level = 0;
    QString name;
    bool isValid() const { return level >= 1 && level <= 3; }
};
