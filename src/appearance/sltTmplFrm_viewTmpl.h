#pragma once

#include "PreviewDialog.h"

class QTimer;

// "浏览模板": the full-size picture of the template selected in a chooser. The
// browser starts blank; the page is written on the second tick of Timer1, when
// the blank page has settled.
class sltTmplFrm_viewTmpl : public PreviewDialog {
    Q_OBJECT
public:
    // value: the tmplName of the selected thumbnail.
    sltTmplFrm_viewTmpl(AppContext& ctx, const QString& value, QWidget* parent = nullptr);

    void Timer1_Timer();
    // The page written into the browser, "" before it is written.
    QString pageHtml() const { return m_page; }

    // The preview page of a template: its full-size picture, named by the
    // first five characters of the tmplName.
    static QString previewHtml(const QString& appPath, const QString& value);

private:
    QString m_value;
    QString m_page;
    int m_ticks = 0;
    QTimer* Timer1 = nullptr;
};
