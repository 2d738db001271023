#include "sltTmplFrm_javaScrpt.h"

#include "core/AppContext.h"
#include "core/Messages.h"
#include "data/FeatureFields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

sltTmplFrm_javaScrpt::sltTmplFrm_javaScrpt(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("sltTmplFrm_javaScrpt"));
    setWindowTitle(QStringLiteral("JavaScript脚本效果"));
    setModal(true);
    resize(420, 150);

    cmb_javaScript = new QComboBox(this);
    cmb_javaScript->setObjectName(QStringLiteral("cmb_javaScript"));
    txt_javascript = new QLineEdit(this);
    txt_javascript->setObjectName(QStringLiteral("txt_javascript"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("名称："), cmb_javaScript);
    form->addRow(QStringLiteral("显示内容："), txt_javascript);

    auto* OKButton = new QPushButton(QStringLiteral("确定"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    auto* CancelButton = new QPushButton(QStringLiteral("取消"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* root = new QVBoxLayout(this);
    root->addLayout(form);
    root->addStretch();
    root->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &sltTmplFrm_javaScrpt::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    loadScript();
    connect(cmb_javaScript, &QComboBox::currentIndexChanged, this, &sltTmplFrm_javaScrpt::cmb_javaScript_Click);
}

void sltTmplFrm_javaScrpt::loadScript()
{
    cmb_javaScript->addItems(FeatureFields::scriptEffects());
    // A null field reads as "", which selects the first effect.
    const SqlResult r = m_ctx.conn.selectUserInfo();
    const FeatureFields::Script script =
        FeatureFields::parseScript(r && !r.isEmpty() ? fieldText(r.first(), QStringLiteral("javascript")) : QString());
    cmb_javaScript->setCurrentIndex(script.index);
    txt_javascript->setText(script.text);
    cmb_javaScript_Click(script.index);
}

void sltTmplFrm_javaScrpt::cmb_javaScript_Click(int index)
{
    txt_javascript->setEnabled(FeatureFields::effectTakesText(index));
}

void sltTmplFrm_javaScrpt::OKButton_Click()
{
    // The effects whose box is disabled store no text, whatever the box holds.
    FeatureFields::Script script;
    script.index = cmb_javaScript->currentIndex();
    script.text = txt_javascript->text();
    const SqlResult r = m_ctx.conn.updateUserInfo(QStringLiteral("Javascript"), FeatureFields::scriptField(script));
    if (!r) {
        m_ctx.dialogs.message(r.error, Messages::notice(), MsgIcon::Critical);
        return;
    }
    accept();
}
