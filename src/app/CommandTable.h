#pragma once

#include <QList>
#include <QString>

// The main window's menu and tool bar, and what each item does.
enum class Command {
    None,
    Backup,
    Restore,
    Quit,
    ShowGuide,
    ShowInfo,
    ShowTemplates,
    ShowDesign,
    ShowInsData,
    ShowUpData,
    Chat,
    About,
};

struct MenuItemDef {
    QString name;    // the key the click delivers
    QString caption; // exact, "&" marks the access key, "-" a separator
    Command command;
    bool heading; // a top-level menu title
};

struct ToolButtonDef {
    int index;       // 1-based
    QString caption; // also the tool tip; empty for the separator
    QString key;     // names the picture
    Command command;
};

namespace CommandTable {

const QList<MenuItemDef>& menuItems();
const QList<ToolButtonDef>& toolButtons();

// Case-sensitive look-up; headings and unknown names give Command::None.
Command forMenuItem(const QString& name);
Command forToolButton(int index);

} // namespace CommandTable
