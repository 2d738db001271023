#pragma once

#include "PictureChooser.h"

#include <QList>

class QLabel;

// The name style choosers ("选择字体") of the home page and the inner pages: the
// pictures of the font table stacked in a scrolling panel. OK stores the
// clicked style in user_info and accepts; chosenFont() is then the stored name.
class NameStyleChooser : public PictureChooser {
    Q_OBJECT
public:
    enum class Kind { Home, Inner };

    NameStyleChooser(AppContext& ctx, Kind kind, QWidget* parent = nullptr);

    QString chosenFont() const { return m_chosen; }
    const QList<QLabel*>& images() const { return img; }

private:
    void loadFonts();
    void img_Click(int index);
    int scrollMax(int panelHeight) const override;
    void scrlVer_Change(int value);
    void OKButton_Click();
    bool eventFilter(QObject* watched, QEvent* event) override;

    Kind m_kind;
    int m_index = -1;     // the clicked image
    QString m_font;       // and its font
    QList<int> m_heights; // of the images, in twips

    QList<QLabel*> img;
};
