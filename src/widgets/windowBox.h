#pragma once

#include <QPixmap>
#include <QWidget>

#include <functional>

class QTimer;

// The skinned close box: a 17 x 17 picture button cut from a six-cell strip,
// cells 0, 1 and 2 (normal, hot, pressed) for an active frame and 3, 4 and 5
// for an inactive one. Hot tracking ends by its timer, not by a leave event.
class windowBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCell = 17;

    explicit windowBox(QWidget* parent = nullptr);

    void loadSkin(const QString& folder);
    // Follows the look of the frame it sits on.
    void setActiveLook(bool active);

    // The strip cell shown: 0 normal, 1 hot, 2 pressed (plus 3 on an inactive frame).
    int cell() const { return m_state + (m_active ? 0 : 3); }
    int state() const { return m_state; }

    QTimer* Timer1 = nullptr;
    // The pointer in screen coordinates; tests replace it.
    std::function<QPoint()> cursorPos;

public Q_SLOTS:
    void Timer1_Timer();

Q_SIGNALS:
    // Released over the box.
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint& pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showCell(int state);

    QPixmap m_strip;
    int m_state = 0;
    bool m_active = true;
};
