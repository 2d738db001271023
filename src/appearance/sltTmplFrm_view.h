#pragma once

#include "PreviewDialog.h"

// "查看首页": the custom home page installed in the workspace.
class sltTmplFrm_view : public PreviewDialog {
    Q_OBJECT
public:
    explicit sltTmplFrm_view(AppContext& ctx, QWidget* parent = nullptr);

    // Opens the page; false, after saying why, when there is nothing to show.
    bool load();
};
