#include "app/WindowTable.h"

#include "app/MDIFrm.h"
#include "appearance/sltTmplFrm.h"
#include "content/insDataFrm.h"
#include "core/AppContext.h"
#include "publish/dlgFrm.h"
#include "publish/updataFrm.h"
#include "publish/verFrm.h"
#include "shell/guidFrm.h"
#include "shell/infoFrm.h"
#include "structure/designFrm.h"
#include "widgets/aboutFrm.h"

#include <QApplication>
#include <QStyle>

namespace {

template <class Window> WindowEntry::Factory make()
{
    return [](AppContext& ctx, QWidget* parent) -> QWidget* { return new Window(ctx, parent); };
}

QIcon standardIcon(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

} // namespace

WindowTable programWindows()
{
    // Child windows in their start-up order, then the windows that stand on their own.
    return {
        {QStringLiteral("guidFrm"), Command::ShowGuide, false, 1, false, standardIcon(QStyle::SP_DialogHelpButton),
         make<guidFrm>()},
        {QStringLiteral("infoFrm"), Command::ShowInfo, false, 2, false, standardIcon(QStyle::SP_FileDialogInfoView),
         make<infoFrm>()},
        {QStringLiteral("sltTmplFrm"), Command::ShowTemplates, false, 3, false,
         standardIcon(QStyle::SP_FileDialogListView), make<sltTmplFrm>()},
        {QStringLiteral("designFrm"), Command::ShowDesign, false, 4, true,
         standardIcon(QStyle::SP_FileDialogDetailedView), make<designFrm>()},
        {QStringLiteral("insDataFrm"), Command::ShowInsData, false, 5, false,
         standardIcon(QStyle::SP_FileDialogContentsView), make<insDataFrm>()},
        {QStringLiteral("updataFrm"), Command::ShowUpData, false, 6, false, standardIcon(QStyle::SP_ArrowUp),
         make<updataFrm>()},
        {QStringLiteral("dlgFrm"), Command::Chat, true, 0, false, QIcon(), make<dlgFrm>()},
        {QStringLiteral("verFrm"), Command::None, true, 0, false, QIcon(), make<verFrm>()},
        {QStringLiteral("aboutFrm"), Command::About, true, 0, false, QIcon(), make<aboutFrm>()},
    };
}

void connectProgramWindows(MDIFrm& frame)
{
    QObject::connect(
        &frame.context().publishClient, &PublishClient::pageWanted, &frame, [&frame](ServerReaction::Page page) {
            frame.showWindow(page == ServerReaction::Page::Chat ? QStringLiteral("dlgFrm") : QStringLiteral("verFrm"));
        });
}
