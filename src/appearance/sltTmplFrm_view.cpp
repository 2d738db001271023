#include "sltTmplFrm_view.h"

#include "app/AppContext.h"
#include "appearance/CustomPages.h"
#include "widgets/WebPane.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

sltTmplFrm_view::sltTmplFrm_view(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("sltTmplFrm_view"));
    setWindowTitle(QStringLiteral("查看首页"));
    resize(820, 600);
    wb_view = new WebPane(this);
    wb_view->setObjectName(QStringLiteral("wb_view"));
    CancelButton = new QPushButton(QStringLiteral("关闭"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wb_view, 1);
    layout->addLayout(buttons);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool sltTmplFrm_view::load()
{
    const SqlResult r = m_ctx.conn.selectUserInfo();
    if (!r || r.isEmpty()) {
        m_ctx.dialogs.info(QStringLiteral("没有数据！"));
        return false;
    }
    const QString name = fieldText(r.first(), QStringLiteral("defaultFile"));
    const QString path = m_ctx.workPath + name;
    if (!CustomPages::isPlainName(name) || !QFileInfo(path).isFile()) {
        m_ctx.dialogs.info(QStringLiteral("首页文件不存在！"));
        return false;
    }
    wb_view->navigate(path);
    return true;
}
