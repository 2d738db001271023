#include "PreviewDialog.h"

#include "core/AppContext.h"
#include "widgets/WebPane.h"
#include "workspace/WorkspaceFiles.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

PreviewDialog::PreviewDialog(AppContext& ctx, const QString& name, const QString& title, const QSize& size,
                             const QString& browserName, QWidget* parent)
    : QDialog(parent), m_ctx(ctx)
{
    setObjectName(name);
    setWindowTitle(title);
    resize(size);
    m_browser = new WebPane(this);
    m_browser->setObjectName(browserName);
    auto* CancelButton = new QPushButton(QStringLiteral("关闭"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addLayout(buttons);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString PreviewDialog::userInfoFile(const std::function<QString(const QSqlRecord&)>& nameOf, const QString& missing)
{
    const SqlResult r = m_ctx.conn.selectUserInfo();
    if (!r || r.isEmpty()) {
        m_ctx.dialogs.info(QStringLiteral("没有数据！"));
        return {};
    }
    const QString name = nameOf(r.first());
    const QString path = m_ctx.workPath + name;
    if (!WorkspaceFiles::isPlainName(name) || !QFileInfo(path).isFile()) {
        m_ctx.dialogs.info(missing);
        return {};
    }
    return path;
}
