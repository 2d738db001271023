#pragma once

#include <QPixmap>
#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

// A push button drawn from a skin strip of five 55 x 22 cells (0 normal,
// 1 hot, 2 pressed are used): the cell's ends keep their width and its middle
// stretches across the button. Hot tracking ends by its timer.
class cmdBtn : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
public:
    static constexpr int kCellWidth = 55;
    static constexpr int kCellHeight = 22;
    static constexpr int kEndWidth = 4;

    explicit cmdBtn(QWidget* parent = nullptr);

    void loadSkin(const QString& folder);

    // Until a caption is set the button shows its own object name.
    QString caption() const;
    void setCaption(const QString& text);

    // Repaints the picture area with the skin cell of the state.
    void drawState(int state);
    int state() const { return m_state; }
    bool hot() const { return m_hot; }

    QLabel* pic = nullptr; // the picture area filling the button
    QLabel* lbl = nullptr; // the caption, centred on it
    QTimer* Timer1 = nullptr;
    // The pointer in screen coordinates; tests replace it.
    std::function<QPoint()> cursorPos;

public Q_SLOTS:
    void Timer1_Timer();

Q_SIGNALS:
    void Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void layoutParts();

    QPixmap m_strip;
    QString m_caption;
    bool m_captionSet = false;
    int m_state = 0;
    bool m_hot = false;
};
