#include "RecordingDialogService.h"

#include <QDebug>

MsgAnswer RecordingDialogService::message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons)
{
    shown.append({text, title, icon, buttons});
    if (whileShown)
        whileShown(shown.last());
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes : MsgAnswer::Ok;
}

bool RecordingDialogService::lastIs(const QString& text, const QString& title, MsgIcon icon) const
{
    const Shown s = last();
    if (s.text == text && s.title == title && s.icon == icon)
        return true;
    qWarning() << "shown:" << s.text << s.title << int(s.icon) << "expected:" << text << title << int(icon);
    return false;
}

static FileChoice choice(QQueue<QString>& queue)
{
    FileChoice c;
    c.path = queue.isEmpty() ? QString() : queue.dequeue();
    c.cancelled = c.path.isEmpty();
    if (c.cancelled)
        c.error = DialogService::cancelDescription();
    return c;
}

FileChoice RecordingDialogService::openFile(const QString& filter, const QString& startPath, const QString&)
{
    fileFilters << filter;
    fileStarts << startPath;
    return choice(files);
}

FileChoice RecordingDialogService::saveFile(const QString& filter, const QString& startPath, const QString& title)
{
    return openFile(filter, startPath, title);
}

QString RecordingDialogService::chooseFolder(const QString&, const QString&)
{
    return folders.isEmpty() ? QString() : folders.dequeue();
}

std::optional<QColor> RecordingDialogService::chooseColor(const QColor&)
{
    return colors.isEmpty() ? std::nullopt : colors.dequeue();
}

std::optional<QFont> RecordingDialogService::chooseFont(const QFont&)
{
    return fonts.isEmpty() ? std::nullopt : fonts.dequeue();
}

std::optional<QString> RecordingDialogService::askText(const QString&, const QString&, const QString&)
{
    return lines.isEmpty() ? std::nullopt : lines.dequeue();
}

QStringList RecordingDialogService::texts() const
{
    QStringList out;
    for (const Shown& s : shown)
        out << s.text;
    return out;
}

void RecordingDialogService::clear()
{
    shown.clear();
    fileFilters.clear();
    fileStarts.clear();
}
