#include "sltTmplFrm_adBoardFrm.h"

#include "core/AppContext.h"
#include "core/Messages.h"
#include "data/FeatureFields.h"
#include "widgets/InputHelpers.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* numberBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaximumWidth(90);
    return box;
}

} // namespace

sltTmplFrm_adBoardFrm::sltTmplFrm_adBoardFrm(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("sltTmplFrm_adBoardFrm"));
    setWindowTitle(QStringLiteral("弹出窗口编辑"));
    setModal(true);
    resize(480, 420);

    auto* frameSize = new QGroupBox(QStringLiteral("窗口属性(单位：像素)"), this);
    txt_left = numberBox("txt_left", frameSize);
    txt_top = numberBox("txt_top", frameSize);
    txt_width = numberBox("txt_width", frameSize);
    txt_height = numberBox("txt_height", frameSize);
    auto* sizeGrid = new QFormLayout;
    sizeGrid->addRow(QStringLiteral("距屏幕左边距离："), txt_left);
    sizeGrid->addRow(QStringLiteral("距屏幕顶边距离："), txt_top);
    auto* sizeGrid2 = new QFormLayout;
    sizeGrid2->addRow(QStringLiteral("宽度："), txt_width);
    sizeGrid2->addRow(QStringLiteral("高度："), txt_height);
    auto* sizeRow = new QHBoxLayout(frameSize);
    sizeRow->addLayout(sizeGrid);
    sizeRow->addSpacing(24);
    sizeRow->addLayout(sizeGrid2);
    sizeRow->addStretch();

    auto* frameContent = new QGroupBox(QStringLiteral("窗口内容"), this);
    txt_title = new QLineEdit(frameContent);
    txt_title->setObjectName(QStringLiteral("txt_title"));
    txt_content = new QPlainTextEdit(frameContent);
    txt_content->setObjectName(QStringLiteral("txt_content"));
    auto* contentGrid = new QFormLayout(frameContent);
    contentGrid->addRow(QStringLiteral("标题："), txt_title);
    contentGrid->addRow(QStringLiteral("内容："), txt_content);

    auto* cmd_ok = new QPushButton(QStringLiteral("确定"), this);
    cmd_ok->setObjectName(QStringLiteral("cmd_ok"));
    cmd_ok->setDefault(true);
    auto* cmd_cancel = new QPushButton(QStringLiteral("取消"), this);
    cmd_cancel->setObjectName(QStringLiteral("cmd_cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmd_ok);
    buttons->addWidget(cmd_cancel);

    auto* root = new QVBoxLayout(this);
    root->addWidget(frameSize);
    root->addWidget(frameContent, 1);
    root->addLayout(buttons);

    for (QLineEdit* box : {txt_width, txt_height, txt_top, txt_left})
        InputHelpers::guardNumeric(box, m_ctx.dialogs);
    connect(cmd_ok, &QPushButton::clicked, this, &sltTmplFrm_adBoardFrm::cmd_ok_Click);
    connect(cmd_cancel, &QPushButton::clicked, this, &QDialog::reject);

    loadBoard();
}

void sltTmplFrm_adBoardFrm::loadBoard()
{
    const SqlResult r = m_ctx.conn.selectUserInfo();
    if (!r || r.isEmpty())
        return;
    const FeatureFields::AdBoard b = FeatureFields::parseAdBoard(fieldText(r.first(), QStringLiteral("adBoard")));
    txt_width->setText(b.width);
    txt_height->setText(b.height);
    txt_top->setText(b.top);
    txt_left->setText(b.left);
    txt_title->setText(b.title);
    txt_content->setPlainText(b.content);
}

void sltTmplFrm_adBoardFrm::cmd_ok_Click()
{
    const FeatureFields::AdBoard b{txt_width->text(), txt_height->text(), txt_top->text(),
                                   txt_left->text(),  txt_title->text(),  txt_content->toPlainText()};
    const SqlResult r = m_ctx.conn.updateUserInfo(QStringLiteral("adBoard"), FeatureFields::adBoardField(b));
    if (!r) {
        m_ctx.dialogs.message(r.error, Messages::notice(), MsgIcon::Critical);
        return;
    }
    accept();
}
