#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;

// The "确定" / "取消" pair of the structure dialogs, right-aligned; "取消" closes the dialog.
QHBoxLayout* confirmButtons(QDialog* dialog, QPushButton*& cmd_cfm, QPushButton*& cmd_cnl);
