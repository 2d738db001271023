#pragma once

#include <QDialog>

class DialogService;
class QLineEdit;
class StructureEditor;

// Adds a catalog below the designer's current node (the root or a level-1 node).
class dgnFrm_addCat : public QDialog {
    Q_OBJECT
public:
    dgnFrm_addCat(DialogService& dialogs, StructureEditor& editor, QWidget* parent = nullptr);

private:
    void cmd_cfm_Click();

    DialogService& m_dialogs;
    StructureEditor& m_editor;
    QLineEdit* txt_name = nullptr;
};
