#pragma once

#include "PreviewDialog.h"

// "查看内页头文件": the custom head of the inner pages, a picture or a Flash movie.
class sltTmplFrm_viewHead : public PreviewDialog {
    Q_OBJECT
public:
    explicit sltTmplFrm_viewHead(AppContext& ctx, QWidget* parent = nullptr);

    // Writes the head into the browser; false, after saying why, when it is missing.
    bool load();
    QString pageHtml() const { return m_page; }

    // The page showing the head file at path: an img tag, or for a movie the
    // Flash object with the file name and "Flash动画" shown inside it, since the
    // browser plays no Flash.
    static QString headHtml(const QString& path);

private:
    QString m_page;
};
