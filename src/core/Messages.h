#pragma once

#include "core/DialogService.h"
#include "core/Outcome.h"

#include <QString>

// What the user reads in the program's message boxes, written once: the box
// titles, and every message that more than one part of the program shows,
// with its title, icon and buttons. Windows and commands name a message here
// instead of typing its text.
namespace Messages {

// The titles of the boxes.
QString notice();  // a notice
QString warning(); // a warning
QString error();   // an error

enum class Id {
    NoLevelChosen,   // no catalog chosen on the left (content and designer commands)
    NoNodeChosen,    // no node chosen on the left (the record dialogs)
    UnexpectedLevel, // the ticked record's page has no level
    NonAsciiName,    // a picture whose file name is not plain ASCII
    DataSaved,       // a save went through
    NotConnected,    // no connection to the hosting server
    CancelCustomPage // the question before a custom page or head is removed
};

struct Message {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

const Message& get(Id id);
inline QString text(Id id)
{
    return get(id).text;
}
// The message as a command's notice for its window to show.
inline Notice asNotice(Id id)
{
    return {get(id).text, get(id).title, get(id).icon};
}
// A command refused with the message.
inline Outcome refused(Id id)
{
    return Outcome::refused(get(id).text, get(id).title, get(id).icon);
}
// Shows the message and returns the answer.
inline MsgAnswer show(DialogService& dialogs, Id id)
{
    const Message& m = get(id);
    return dialogs.message(m.text, m.title, m.icon, m.buttons);
}

// Texts with a part filled in.
QString cannotCreateFolder(const QString& folder); // a folder could not be made
QString notConnectedYet();                         // the status bar before any connection
QString loggedIn();                                // the login went through

} // namespace Messages
