#include "widgets/AboutText.h"

#include <QStringList>

namespace AboutText {

QString message(const QString& version)
{
    const QStringList lines{
        QStringLiteral("欢迎使用Weblark自动建站软件"),
        QString(),
        QStringLiteral("版本号：Ver") + version,
        QString(),
        QStringLiteral("本软件由Weblark团队设计开发"),
        QString(),
        QStringLiteral("版权所有 © Weblark团队，保留一切权利"),
    };
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace AboutText
