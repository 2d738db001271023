#pragma once

#include <QDialog>

class AppContext;
class QPushButton;
class WebPane;

// "查看首页": the custom home page installed in the workspace.
class sltTmplFrm_view : public QDialog {
    Q_OBJECT
public:
    explicit sltTmplFrm_view(AppContext& ctx, QWidget* parent = nullptr);

    // Opens the page; false, after saying why, when there is nothing to show.
    bool load();
    WebPane* browser() const { return wb_view; }

private:
    AppContext& m_ctx;
    WebPane* wb_view = nullptr;
    QPushButton* CancelButton = nullptr;
};
