#pragma once

#include "publish/MsgPageWindow.h"

class QGroupBox;
class QPlainTextEdit;
class QPushButton;

// The chat window "咨询台": the conversation with the server's operator.
class dlgFrm : public MsgPageWindow {
    Q_OBJECT
public:
    dlgFrm(AppContext& ctx, PublishClient& client, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OKButton_Click();

    QGroupBox* frm_record = nullptr; // "咨询记录"
    QGroupBox* frm_send = nullptr;   // "发送消息"
    QPlainTextEdit* txt_msg = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
