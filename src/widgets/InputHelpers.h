#pragma once

#include <QString>

class DialogService;
class QLineEdit;
class QWidget;

// Input helpers shared by the entry dialogs.
namespace InputHelpers {

// Guards a box that must hold a number: a non-numeric entry loses its last
// character, with "请输入数字！", until it is empty or numeric.
void checkNumber(QLineEdit* box, DialogService& dialogs);
// Connects checkNumber to every change of the box.
void guardNumeric(QLineEdit* box, DialogService& dialogs);

// "#RRGGBB" from the colour dialog; "#000000" after reporting a cancel.
QString pickColor(DialogService& dialogs);

// The chosen folder's full path, or "" when cancelled.
QString browseForFolder(DialogService& dialogs, const QString& title, const QString& startFolder);

} // namespace InputHelpers
