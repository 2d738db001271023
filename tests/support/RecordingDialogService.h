#pragma once

#include "core/DialogService.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

// Keeps every message shown and answers from a script, for window tests.
class RecordingDialogService : public DialogService {
public:
    struct Shown {
        QString text;
        QString title;
        MsgIcon icon;
        MsgButtons buttons;
    };

    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override;
    FileChoice openFile(const QString& filter, const QString& startPath, const QString& title) override;
    FileChoice saveFile(const QString& filter, const QString& startPath, const QString& title) override;
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<QString> askText(const QString& label, const QString& title, const QString& initial) override;

    // Scripted answers, used in order; when a queue is empty: Ok/Yes, cancel, no choice.
    QQueue<MsgAnswer> answers;
    QQueue<QString> files;   // "" answers as a cancel
    QQueue<QString> folders; // "" answers as a cancel
    QQueue<std::optional<QColor>> colors;
    QQueue<std::optional<QFont>> fonts;
    QQueue<std::optional<QString>> lines; // answers to askText

    // Runs while a message is "open", as a user reading a modal box would let events go on.
    std::function<void(const Shown&)> whileShown;

    QList<Shown> shown;
    QStringList fileFilters; // the filter of every file dialog opened
    QStringList fileStarts;  // and its start path

    QStringList texts() const;
    Shown last() const { return shown.isEmpty() ? Shown{} : shown.last(); }
    // Whether the last message had exactly this text, title and icon; a mismatch is printed.
    bool lastIs(const QString& text, const QString& title, MsgIcon icon) const;
    void clear();
};
