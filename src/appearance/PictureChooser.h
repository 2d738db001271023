#pragma once

#include <QColor>
#include <QDialog>

class AppContext;
class QHBoxLayout;
class QPushButton;
class QScrollBar;

// What the template and name style choosers share: a panel of pictures with a
// vertical scroll bar of its own, OK and Cancel, and storing the choice.
class PictureChooser : public QDialog {
    Q_OBJECT
protected:
    PictureChooser(AppContext& ctx, QWidget* parent);

    // Creates Picture1 on the ground colour and its scroll bar moving singleStep
    // twips a click, side by side in the returned layout; the wheel over the
    // panel scrolls it, and resizing it updates the scroll range.
    QHBoxLayout* buildPanel(const QColor& ground, int singleStep);
    // Creates OKButton, the default, and CancelButton, which rejects.
    void buildButtons();
    // The largest scroll value, in twips, for a panel that many twips high.
    virtual int scrollMax(int panelHeight) const = 0;
    void updateScrollRange();
    // Stores value in the user_info column and accepts; says why and stays open when that fails.
    void storeChoice(const QString& column, const QString& value);
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext& m_ctx;
    QString m_chosen; // the stored value after OK
    QWidget* Picture1 = nullptr;
    QScrollBar* scrlVer = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
