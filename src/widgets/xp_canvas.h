#pragma once

#include "widgets/SkinGeometry.h"

#include <QPixmap>
#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

// A whole drawn window frame for a borderless window: the title bar with icon
// and caption, the left, right and bottom edges and the resize grip, in an
// active and an inactive skin. It fills its host window; the host's own
// controls lie on top of its client area.
class xp_canvas : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QPixmap Icon READ icon WRITE setIcon)
    Q_PROPERTY(bool Fixed_Single READ fixedSingle WRITE setFixedSingle)
public:
    explicit xp_canvas(QWidget* parent = nullptr);

    // Loads the skin pictures from a folder (the application's "skin/").
    void loadSkin(const QString& folder);

    // Until a caption is set the frame shows its own object name.
    QString caption() const;
    void setCaption(const QString& text);
    QPixmap icon() const;
    void setIcon(const QPixmap& picture);
    bool fixedSingle() const { return m_fixedSingle; }
    void setFixedSingle(bool fixed);

    bool activeLook() const { return m_active; }
    const SkinGeometry::FrameMetrics& metrics() const { return m_metrics; }
    SkinGeometry::FrameLayout frameLayout() const { return SkinGeometry::layoutFrame(size(), m_metrics); }

    // Lays the frame out again: the caption labels, the icon and the host's mask.
    void relayout();

    QLabel* lblcaption = nullptr;
    QLabel* lblshadow = nullptr;
    QLabel* imgicon = nullptr;
    QTimer* Timer1 = nullptr; // watches for the host losing the activation
    QTimer* Timer2 = nullptr; // watches for the host getting it back

    // The platform's active window; tests replace it.
    std::function<QWidget*()> activeWindow;

public Q_SLOTS:
    void Timer1_Timer();
    void Timer2_Timer();

Q_SIGNALS:
    void Click();
    void DblClick();
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint& pos);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, const QPoint& pos);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint& pos);
    void KeyDown(int key, Qt::KeyboardModifiers shift);
    void KeyPress(const QString& text);
    void KeyUp(int key, Qt::KeyboardModifiers shift);
    // The look switched between active and inactive.
    void lookChanged(bool active);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void applyLook(bool active);
    void focusLeft();
    void focusCame();
    void updateCursor(SkinGeometry::FramePart part);

    struct Skin {
        QPixmap title, side, sideRight, bottom;
    };
    Skin m_skin[2]; // [0] inactive, [1] active
    QPixmap m_grip;
    QPixmap m_defaultIcon;
    QPixmap m_icon;
    QString m_caption;
    bool m_captionSet = false;
    bool m_fixedSingle = false;
    bool m_active = true;
    SkinGeometry::FrameMetrics m_metrics;
    // A press on the title starts the platform move once the pointer travels,
    // so that a double click still reaches the frame.
    bool m_titlePressed = false;
    QPoint m_pressPos;
};
