#pragma once

#include "publish/MsgPageWindow.h"

class QCheckBox;
class QPushButton;

// The system announcement window "系统公告", opened by the server's answer to the version query.
class verFrm : public MsgPageWindow {
    Q_OBJECT
public:
    verFrm(AppContext& ctx, PublishClient& client, QWidget* parent = nullptr);

private:
    void chk_ver_Click();

    QCheckBox* chk_ver = nullptr; // "不再显示"
    QPushButton* CancelButton = nullptr;
};
