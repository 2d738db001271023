#pragma once

#include <QDialog>

class AppContext;
class QComboBox;
class QLineEdit;

// "JavaScript脚本效果": the script effect of the site and its display text, kept
// in user_info.javascript.
class sltTmplFrm_javaScrpt : public QDialog {
    Q_OBJECT
public:
    explicit sltTmplFrm_javaScrpt(AppContext& ctx, QWidget* parent = nullptr);

private:
    void loadScript();
    void cmb_javaScript_Click(int index);
    void OKButton_Click();

    AppContext& m_ctx;
    QComboBox* cmb_javaScript = nullptr;
    QLineEdit* txt_javascript = nullptr;
};
