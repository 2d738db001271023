#pragma once

#include "structure/PageFormatDialog.h"

class QLineEdit;

// Adds a page with a display format below the designer's current node.
class dgnFrm_addFile : public PageFormatDialog {
    Q_OBJECT
public:
    dgnFrm_addFile(designFrm& designer, QWidget* parent = nullptr);

public Q_SLOTS:
    void cmd_cfm_Click();

private:
    QLineEdit* txt_name = nullptr;
};
