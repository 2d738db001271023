#include "CommandTable.h"

namespace CommandTable {

const QList<MenuItemDef>& menuItems()
{
    static const QList<MenuItemDef> items = {
        {QStringLiteral("mnufile"), QStringLiteral("文件(F) "), Command::None, true},
        {QStringLiteral("mnufile_backup"), QStringLiteral("备份数据(&B)... "), Command::Backup, false},
        {QStringLiteral("mnufile_revert"), QStringLiteral("还原数据(&R)..."), Command::Restore, false},
        {QStringLiteral("mnuFile_line01"), QStringLiteral("-"), Command::None, false},
        {QStringLiteral("mnuFile_quit"), QStringLiteral("退出(&Q)"), Command::Quit, false},
        {QStringLiteral("mnuView"), QStringLiteral("视图(V)"), Command::None, true},
        {QStringLiteral("mnuView_guid"), QStringLiteral("用法指南(&G) ..."), Command::ShowGuide, false},
        {QStringLiteral("mnuView_info"), QStringLiteral("基本信息(B)..."), Command::ShowInfo, false},
        {QStringLiteral("mnuView_sltTmpl"), QStringLiteral("选择模板(&T) ..."), Command::ShowTemplates, false},
        {QStringLiteral("mnuView_design"), QStringLiteral("设计栏目(&D) ..."), Command::ShowDesign, false},
        {QStringLiteral("mnuView_insData"), QStringLiteral("录入数据(&I) ..."), Command::ShowInsData, false},
        {QStringLiteral("mnuView_upData"), QStringLiteral("上传数据(&U) ..."), Command::ShowUpData, false},
        {QStringLiteral("MnuTool"), QStringLiteral("工具(O)"), Command::None, true},
        {QStringLiteral("MnuTool_update"), QStringLiteral("更新模板(U)..."), Command::None, false},
        {QStringLiteral("MnuTool_line01"), QStringLiteral("-"), Command::None, false},
        {QStringLiteral("MnuTool_consultation"), QStringLiteral("咨询台..."), Command::Chat, false},
        {QStringLiteral("mnuHelp"), QStringLiteral("帮助(H)"), Command::None, true},
        {QStringLiteral("mnuHelp_hlep"), QStringLiteral("帮助(&H)..."), Command::ShowGuide, false},
        {QStringLiteral("mnuHelp_line"), QStringLiteral("-"), Command::None, false},
        {QStringLiteral("mnuHelp_about"), QStringLiteral("关于(&A)..."), Command::About, false},
    };
    return items;
}

const QList<ToolButtonDef>& toolButtons()
{
    static const QList<ToolButtonDef> buttons = {
        {1, QStringLiteral("用法指南"), QStringLiteral("088"), Command::ShowGuide},
        {2, QStringLiteral("基本信息"), QStringLiteral("242"), Command::ShowInfo},
        {3, QStringLiteral("选择模板"), QStringLiteral("043"), Command::ShowTemplates},
        {4, QStringLiteral("设计栏目"), QStringLiteral("Control Panel"), Command::ShowDesign},
        {5, QStringLiteral("录入数据"), QStringLiteral("ins"), Command::ShowInsData},
        {6, QStringLiteral("上传数据"), QStringLiteral("112"), Command::ShowUpData},
        {7, QString(), QString(), Command::None},
        {8, QStringLiteral("退出系统"), QStringLiteral("User"), Command::Quit},
    };
    return buttons;
}

Command forMenuItem(const QString& name)
{
    for (const MenuItemDef& item : menuItems()) {
        if (item.name == name)
            return item.command;
    }
    return Command::None;
}

Command forToolButton(int index)
{
    for (const ToolButtonDef& b : toolButtons()) {
        if (b.index == index)
            return b.command;
    }
    return Command::None;
}

} // namespace CommandTable
