#pragma once

#include "core/DialogService.h"

#include <QList>
#include <QString>

// A message a command leaves for its window to show.
struct Notice {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
};

// What a command came to: the messages to show, in order, and whether it went
// ahead (the change was made, or may be made; a dialog closes then).
struct Outcome {
    QList<Notice> notices;
    bool done = false;

    static Outcome refused(const QString& text, const QString& title, MsgIcon icon)
    {
        Outcome out;
        out.notices.append({text, title, icon});
        return out;
    }
};
