#pragma once

#include <QDialog>

class AppContext;
class QLineEdit;
class QPlainTextEdit;

// "弹出窗口编辑": size, position, title and content of the pop-up window, kept in
// user_info.adBoard.
class sltTmplFrm_adBoardFrm : public QDialog {
    Q_OBJECT
public:
    explicit sltTmplFrm_adBoardFrm(AppContext& ctx, QWidget* parent = nullptr);

private:
    void loadBoard();
    void cmd_ok_Click();

    AppContext& m_ctx;
    QLineEdit* txt_left = nullptr;
    QLineEdit* txt_top = nullptr;
    QLineEdit* txt_width = nullptr;
    QLineEdit* txt_height = nullptr;
    QLineEdit* txt_title = nullptr;
    QPlainTextEdit* txt_content = nullptr;
};
