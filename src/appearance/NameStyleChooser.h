#pragma once

#include <QDialog>
#include <QList>

class AppContext;
class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;

// The name style choosers ("选择字体") of the home page and the inner pages: the
// pictures of the font table stacked in a scrolling panel. OK stores the
// clicked style in user_info and accepts; chosenFont() is then the stored name.
class NameStyleChooser : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Home, Inner };

    NameStyleChooser(AppContext& ctx, Kind kind, QWidget* parent = nullptr);

    QString chosenFont() const { return m_chosen; }
    const QList<QLabel*>& images() const { return img; }

private:
    void loadFonts();
    void img_Click(int index);
    void updateScrollRange();
    void scrlVer_Change(int value);
    void OKButton_Click();
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext& m_ctx;
    Kind m_kind;
    int m_index = -1; // the clicked image
    QString m_font;   // and its font
    QString m_chosen; // the stored font after OK
    QList<int> m_heights; // of the images, in twips

    QWidget* Picture1 = nullptr;
    QScrollBar* scrlVer = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QList<QLabel*> img;
};
