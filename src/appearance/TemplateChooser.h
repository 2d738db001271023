#pragma once

#include "PictureChooser.h"

#include <QList>

class QListWidget;
class QProgressBar;
class tmpl;

// The home-page and inner-page template choosers ("选择首页模板" / "选择内页模板"):
// categories on the left, the thumbnails of the selected category on the right.
// OK stores the selected template in user_info and accepts; chosenValue() is
// then the stored tmplName.
class TemplateChooser : public PictureChooser {
    Q_OBJECT
public:
    enum class Kind { Home, Inner };

    TemplateChooser(AppContext& ctx, Kind kind, QWidget* parent = nullptr);

    QString chosenValue() const { return m_chosen; }
    // The value of the selected thumbnail, "" when none is selected.
    QString selectedValue() const;
    const QList<tmpl*>& thumbnails() const { return tmpl1; }

    // The choice table of a chooser kind, which is also its column in user_info.
    static QString tableOf(Kind kind);

private:
    void loadTypes();
    void lst_type_Click();
    void clearThumbnails();
    void selectThumbnail(tmpl* chosen);
    int scrollMax(int panelHeight) const override;
    void scrlVer_Change(int value);
    void OKButton_Click();
    void cmd_view_Click();

    Kind m_kind;

    QListWidget* lst_type = nullptr;
    QProgressBar* ccrpPrgBar = nullptr;
    QPushButton* cmd_view = nullptr;
    QList<tmpl*> tmpl1;
};
