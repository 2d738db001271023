#include "Messages.h"

#include <QMap>

namespace Messages {

QString notice()
{
    return QStringLiteral("提示");
}

QString warning()
{
    return QStringLiteral("警告");
}

QString error()
{
    return QStringLiteral("错误");
}

const Message& get(Id id)
{
    static const QMap<Id, Message> all{
        {Id::NoLevelChosen, {QStringLiteral("没有在左边选择栏目！"), warning(), MsgIcon::Critical}},
        {Id::NoNodeChosen, {QStringLiteral("请在左边栏目选择节点！"), notice(), MsgIcon::Critical}},
        {Id::UnexpectedLevel, {QStringLiteral("不期望的错误：栏目选择错误！"), error(), MsgIcon::Critical}},
        {Id::NonAsciiName,
         {QStringLiteral("所选择的文件名中不能包含中文，请重命名后选择文件！"), notice(), MsgIcon::Information}},
        {Id::DataSaved, {QStringLiteral("数据保存成功！"), notice(), MsgIcon::Information}},
        {Id::NotConnected, {QStringLiteral("没有和服务器建立连接！"), notice(), MsgIcon::Warning}},
        {Id::CancelCustomPage,
         {QStringLiteral("确实要取消首页自定制设置吗？"), notice(), MsgIcon::Question, MsgButtons::YesNo}},
    };
    return all.find(id).value();
}

QString cannotCreateFolder(const QString& folder)
{
    return QStringLiteral("无法创建文件夹“%1”。").arg(folder);
}

QString notConnectedYet()
{
    return QStringLiteral("还未和服务器建立连接！");
}

QString loggedIn()
{
    return QStringLiteral("登陆服务器成功！");
}

} // namespace Messages
