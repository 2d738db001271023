#pragma once

#include <QDialog>
#include <QString>

class AppContext;

// The four insert dialogs of the rich-text editor. Each builds one HTML
// fragment from its fields; OK emits fragmentReady with it and closes the
// dialog, Cancel closes it without effect.

class dlgFrm_hr : public QDialog {
    Q_OBJECT
public:
    dlgFrm_hr(AppContext& ctx, QWidget* parent = nullptr);
signals:
    void fragmentReady(const QString& html);
};

class dlgFrm_tbl : public QDialog {
    Q_OBJECT
public:
    dlgFrm_tbl(AppContext& ctx, QWidget* parent = nullptr);
signals:
    void fragmentReady(const QString& html);
};

class dlgFrm_img : public QDialog {
    Q_OBJECT
public:
    dlgFrm_img(AppContext& ctx, QWidget* parent = nullptr);
signals:
    void fragmentReady(const QString& html);
};

class dlgFrm_flash : public QDialog {
    Q_OBJECT
public:
    dlgFrm_flash(AppContext& ctx, QWidget* parent = nullptr);
signals:
    void fragmentReady(const QString& html);
};
