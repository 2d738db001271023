#pragma once

#include "core/FramedWindow.h"
#include "shell/SiteInfo.h"

#include <QPixmap>
#include <QWidget>

class AppContext;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

// The organisation's details and logo, saved into the settings row. Leaving the
// window for another task window with unsaved changes brings a warning.
class infoFrm : public QWidget, public FramedWindow {
    Q_OBJECT
public:
    infoFrm(AppContext& ctx, QWidget* parent = nullptr);
    QSize sizeHint() const override { return QSize(760, 350); }

    // The logo name the next save stores, and the one the stored row names.
    QString logoName() const { return m_logo.logoName(); }
    QString oldLogoName() const { return m_logo.oldLogoName(); }
    // The save button's state: there are unsaved changes.
    bool hasUnsavedChanges() const;
    // Leaving with unsaved changes warns and brings the window back.
    void deactivated() override { Form_Deactivate(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    QLineEdit* addField(const QString& box, const QString& label, const QString& caption);
    void loadData();
    void showLogo(const QString& path);
    void fitLogo();
    void setChanged(bool changed);

    void cmd_view_Click();
    void cmd_img_cancel_Click();
    void cmd_OK_Click();
    void Form_Deactivate();

    AppContext& m_ctx;
    SiteInfo::LogoSlot m_logo;
    QPixmap m_picture;
    bool m_warning = false;
    bool m_closing = false;

    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* txt_webName = nullptr;
    QLineEdit* txt_govName = nullptr;
    QLineEdit* txt_tel = nullptr;
    QLineEdit* txt_fax = nullptr;
    QLineEdit* txt_linkMan = nullptr;
    QLineEdit* txt_mobile = nullptr;
    QLineEdit* txt_email = nullptr;
    QLineEdit* txt_addr = nullptr;
    QLineEdit* txt_zip = nullptr;
    QLabel* img = nullptr;
    QPushButton* cmd_view = nullptr;
    QPushButton* cmd_img_cancel = nullptr;
    QPushButton* cmd_OK = nullptr;
    QStatusBar* StatusBar1 = nullptr;
};
