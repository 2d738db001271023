#pragma once

#include "core/DialogService.h"

class QWidget;

// The program's dialogs: Qt message boxes and common dialogs, owned by the active window.
class QtDialogService : public DialogService {
public:
    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override;
    FileChoice openFile(const QString& filter, const QString& startPath, const QString& title) override;
    FileChoice saveFile(const QString& filter, const QString& startPath, const QString& title) override;
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<QString> askText(const QString& label, const QString& title, const QString& initial) override;

    // "图像文件(*.jpg)|*.jpg;*.gif|..." -> "图像文件(*.jpg) (*.jpg *.gif);;..."
    static QString toQtFilter(const QString& filter);

private:
    static QWidget* owner();
};
