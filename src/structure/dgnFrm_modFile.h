#pragma once

#include "structure/PageFormatDialog.h"
#include "structure/PageRef.h"

// Changes the display format of the page that was current when it opened; the
// page's content keeps its rows but loses the field names and values of the old
// format.
class dgnFrm_modFile : public PageFormatDialog {
    Q_OBJECT
public:
    dgnFrm_modFile(AppContext& ctx, StructureEditor& editor, QWidget* parent = nullptr);

private:
    void cmd_cfm_Click();

    PageRef m_page;
};
