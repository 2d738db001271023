#pragma once

#include "core/FramedWindow.h"
#include "core/Outcome.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <optional>

class AppContext;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class SiteDb;

// "选择模版": how the published site looks. Templates, name styles, background,
// optional features and the custom pages of "高级设计"; every choice goes into
// user_info at once, and the window shows what is stored when it opens.
class sltTmplFrm : public QWidget, public FramedWindow {
    Q_OBJECT
public:
    sltTmplFrm(AppContext& ctx, QWidget* parent = nullptr);
    QSize sizeHint() const override;

    static QString pertainCaption(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    void loadData();
    void placeFrame100();
    void showPicture(QLabel* label, const QString& path);
    void showNotices(const QList<Notice>& notices);

    // The modal windows opened from here, one small function each.
    void openTemplateChooser(bool home);
    void openNameStyleChooser(bool home);
    void openAdBoard();
    void openScript();

    bool untick(QCheckBox* box, const QString& question, const std::function<Outcome()>& remove);
    QString installPicked(const QString& filter, const QString& start, std::optional<Notice> (*check)(const QString&),
                          Outcome (*install)(const SiteDb&, const QString&, const QString&));
    void chk_default_Click();
    void setCustomHome(bool on);
    void cmd_sltDefault_Click();
    void chk_head_Click();
    void setCustomHead(bool on);
    void cmd_sltHead_Click();
    void chk_other_Click();
    void setOtherPages(bool on);
    void cmd_other_Click();
    void cmd_bgOK_Click();
    void cmd_bgCancel_Click();
    void chk_pertain_Click(int index);
    bool askAboutFeature(const QString& name);

    AppContext& m_ctx;

    QWidget* Frame100 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* cmd_default = nullptr;
    QLabel* imgDefaultTmpl = nullptr;
    QLabel* lbl_defaultTmpl = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPushButton* cmd_head = nullptr;
    QLabel* imgHeadTmpl = nullptr;
    QLabel* lbl_headTmpl = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLabel* imgDefault = nullptr;
    QPushButton* cmd_DefaultFont = nullptr;
    QGroupBox* Frame4 = nullptr;
    QLabel* imgHead = nullptr;
    QPushButton* cmd_headFont = nullptr;
    QGroupBox* Frame5 = nullptr;
    QLabel* img_bg = nullptr;
    QLabel* lbl_bg = nullptr;
    QPushButton* cmd_bgOK = nullptr;
    QPushButton* cmd_bgCancel = nullptr;
    QGroupBox* Frame7 = nullptr;
    QList<QCheckBox*> chk_pertain;
    QGroupBox* Frame6 = nullptr;
    QCheckBox* chk_default = nullptr;
    QLabel* lbl_default = nullptr;
    QLineEdit* txt_default = nullptr;
    QPushButton* cmd_sltDefault = nullptr;
    QPushButton* cmd_viewDefault = nullptr;
    QCheckBox* chk_head = nullptr;
    QLabel* lbl_head = nullptr;
    QLineEdit* txt_head = nullptr;
    QPushButton* cmd_sltHead = nullptr;
    QPushButton* cmd_viewHead = nullptr;
    QCheckBox* chk_other = nullptr;
    QLabel* lbl_other = nullptr;
    QComboBox* cmb_other = nullptr;
    QPushButton* cmd_other = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* m_panel1 = nullptr;
};
