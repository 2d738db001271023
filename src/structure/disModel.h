#pragma once

#include <QWidget>

class QLabel;
class QRadioButton;

// One format tile of the page dialogs: a picture with an option button below it.
// Selecting a tile shows its highlight; the dialog keeps exactly one selected.
class disModel : public QWidget {
    Q_OBJECT
public:
    // Size of a tile in twips; the option button sits 100 twips below the picture.
    static constexpr int kWidthTwips = 2400;
    static constexpr int kHeightTwips = 2090;

    // cursorFile: the hand pointer (a missing or unreadable file leaves the system's hand).
    explicit disModel(const QString& cursorFile, QWidget* parent = nullptr);

    QString caption() const;
    void setCaption(const QString& caption);
    QString model() const { return m_model; }
    void setModel(const QString& model) { m_model = model; }
    QString picName() const { return m_picName; }
    // Loads the picture; a missing file leaves a plain framed box.
    void setPicName(const QString& path);
    bool selected() const;
    void setSelected(bool selected);
    bool hasPicture() const { return m_hasPicture; }

Q_SIGNALS:
    void Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_picture;
    QRadioButton* m_option;
    QString m_model;
    QString m_picName;
    bool m_hasPicture = false;
};
