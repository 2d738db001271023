#pragma once

#include <QDialog>
#include <QString>

class AppContext;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

// The four insert dialogs of the rich-text editor. Each builds one HTML
// fragment from its fields; OK emits fragmentReady with it and closes the
// dialog, Cancel closes it without effect.

// What the four share: the context, the OK/Cancel row and a form grid.
class InsertDialog : public QDialog {
    Q_OBJECT
signals:
    void fragmentReady(const QString& html);

protected:
    InsertDialog(AppContext& ctx, const QString& objectName, const QString& caption, QWidget* parent);
    // A labelled box in the next row of the grid; numeric boxes are guarded by checkNumber.
    QLineEdit* addBox(const QString& label, const QString& name, const QString& text = QString(), bool numeric = false);
    QComboBox* addCombo(const QString& label, const QString& name, const QStringList& items, int current = 0);
    // A button to the right of the last row's box.
    QPushButton* addButton(const QString& caption, const QString& name);
    // The colour dialog's result into box.
    void pickColorInto(QLineEdit* box);
    // Hands the fragment to the editor and closes.
    void deliver(const QString& html);
    // Copies a chosen file into the workspace; "" after reporting why it failed.
    QString copyToWorkspace(const QString& path);

    virtual void OKButton_Click() = 0;

    AppContext& m_ctx;
    QGridLayout* m_grid = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

class dlgFrm_hr : public InsertDialog {
    Q_OBJECT
public:
    dlgFrm_hr(AppContext& ctx, QWidget* parent = nullptr);

private:
    void OKButton_Click() override;
    QLineEdit *txt_color, *txt_width, *txt_height;
    QComboBox *cmb_shadow, *cmb_align;
};

class dlgFrm_tbl : public InsertDialog {
    Q_OBJECT
public:
    dlgFrm_tbl(AppContext& ctx, QWidget* parent = nullptr);

private:
    void OKButton_Click() override;
    QLineEdit *txt_row, *txt_col, *txt_width, *txt_height, *txt_border, *txt_pad, *txt_space;
    QLineEdit *txt_backColor, *txt_foreColor, *txt_ID;
    QComboBox *cmb_width, *cmb_height, *cmb_align;
};

class dlgFrm_img : public InsertDialog {
    Q_OBJECT
public:
    dlgFrm_img(AppContext& ctx, QWidget* parent = nullptr);

private:
    void OKButton_Click() override;
    void cmd_imgPath_Click();
    QLineEdit *txt_imgPath, *txt_width, *txt_height, *txt_border, *txt_alt;
    QComboBox *cmb_spec, *cmb_align;
};

class dlgFrm_flash : public InsertDialog {
    Q_OBJECT
public:
    dlgFrm_flash(AppContext& ctx, QWidget* parent = nullptr);

private:
    void OKButton_Click() override;
    void cmd_view_Click();
    QLineEdit *txt_path, *txt_width, *txt_height;
    QString m_movieName; // the chosen movie's file name
};
