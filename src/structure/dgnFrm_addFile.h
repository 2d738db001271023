#pragma once

#include "structure/PageFormatDialog.h"

class QLineEdit;

// Adds a page with a display format below the designer's current node.
class dgnFrm_addFile : public PageFormatDialog {
    Q_OBJECT
public:
    dgnFrm_addFile(AppContext& ctx, StructureEditor& editor, QWidget* parent = nullptr);

private:
    void cmd_cfm_Click();

    QLineEdit* txt_name = nullptr;
};
