#include "app/WindowTable.h"

#include "app/MDIFrm.h"
#include "appearance/sltTmplFrm.h"
#include "content/insDataFrm.h"
#include "core/AppContext.h"
#include "publish/PublishClient.h"
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

// A window that also takes the publishing client.
template <class Window> WindowEntry::Factory withClient(ProgramParts& parts)
{
    return [&parts](AppContext& ctx, QWidget* parent) -> QWidget* {
        if (!parts.publishClient)
            parts.publishClient = std::make_unique<PublishClient>(ctx.conn);
        return new Window(ctx, *parts.publishClient, parent);
    };
}

QIcon standardIcon(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

} // namespace

ProgramParts::ProgramParts() = default;
ProgramParts::~ProgramParts() = default;

WindowTable programWindows(ProgramParts& parts)
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
         withClient<updataFrm>(parts)},
        {QStringLiteral("dlgFrm"), Command::Chat, true, 0, false, QIcon(), withClient<dlgFrm>(parts)},
        {QStringLiteral("verFrm"), Command::None, true, 0, false, QIcon(), withClient<verFrm>(parts)},
        {QStringLiteral("aboutFrm"), Command::About, true, 0, false, QIcon(), make<aboutFrm>()},
    };
}

PublishClient& connectProgramWindows(MDIFrm& frame, ProgramParts& parts)
{
    if (!parts.publishClient)
        parts.publishClient = std::make_unique<PublishClient>(frame.context().conn);
    QObject::connect(
        parts.publishClient.get(), &PublishClient::pageWanted, &frame, [&frame](ServerReaction::Page page) {
            frame.showWindow(page == ServerReaction::Page::Chat ? QStringLiteral("dlgFrm") : QStringLiteral("verFrm"));
        });
    return *parts.publishClient;
}
