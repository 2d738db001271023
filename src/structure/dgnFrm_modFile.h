#pragma once

#include "structure/PageFormatDialog.h"

// Changes the display format of the designer's current page; its content keeps
// its rows but loses the field names and values of the old format.
class dgnFrm_modFile : public PageFormatDialog {
    Q_OBJECT
public:
    dgnFrm_modFile(designFrm& designer, QWidget* parent = nullptr);

public Q_SLOTS:
    void cmd_cfm_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
