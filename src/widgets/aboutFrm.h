#pragma once

#include <QWidget>

class AppContext;
class QLabel;
class cmdBtn;
class windowBox;
class xp_canvas;

// The about window: the program's name and version in a borderless window
// drawn entirely by the skinned frame, close box and button. It opens beside
// the frame without taking the activation and unloads when closed.
class aboutFrm : public QWidget {
    Q_OBJECT
public:
    explicit aboutFrm(AppContext& ctx, QWidget* parent = nullptr);

    xp_canvas* canvas = nullptr;
    windowBox* winCloseBtn = nullptr;
    cmdBtn* cmd_cancel = nullptr;
    QLabel* img_logo = nullptr;
    QLabel* lbl_msg = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
};
