#include "QtDialogService.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

QWidget* QtDialogService::owner()
{
    QWidget* w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    // Just after start-up the window system may not have activated the frame yet:
    // the message still belongs over the frame, not loose on the desktop.
    if (!w) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && qobject_cast<QMainWindow*>(top))
                return top;
        }
    }
    return w;
}

MsgAnswer QtDialogService::message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons)
{
    QMessageBox box(owner());
    box.setWindowTitle(title);
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (icon) {
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::None:
        break;
    }
    struct Btn {
        QMessageBox::StandardButton std;
        const char* text;
        MsgAnswer answer;
    };
    QList<Btn> list;
    switch (buttons) {
    case MsgButtons::Ok:
        list = {{QMessageBox::Ok, "确定", MsgAnswer::Ok}};
        break;
    case MsgButtons::OkCancel:
        list = {{QMessageBox::Ok, "确定", MsgAnswer::Ok}, {QMessageBox::Cancel, "取消", MsgAnswer::Cancel}};
        break;
    case MsgButtons::YesNo:
        list = {{QMessageBox::Yes, "是(&Y)", MsgAnswer::Yes}, {QMessageBox::No, "否(&N)", MsgAnswer::No}};
        break;
    case MsgButtons::YesNoCancel:
        list = {{QMessageBox::Yes, "是(&Y)", MsgAnswer::Yes},
                {QMessageBox::No, "否(&N)", MsgAnswer::No},
                {QMessageBox::Cancel, "取消", MsgAnswer::Cancel}};
        break;
    }
    QMessageBox::StandardButtons std;
    for (const Btn& b : list)
        std |= b.std;
    box.setStandardButtons(std);
    for (const Btn& b : list)
        box.button(b.std)->setText(QString::fromUtf8(b.text));
    box.setDefaultButton(list.first().std);
    const int result = box.exec();
    for (const Btn& b : list) {
        if (result == b.std)
            return b.answer;
    }
    // Escape or the close box: the negative answer.
    return buttons == MsgButtons::Ok ? MsgAnswer::Ok
                                     : (buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel);
}

QString QtDialogService::toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts.at(i), patterns);
    }
    return out.join(QStringLiteral(";;"));
}

static FileChoice fileChoice(const QString& path)
{
    FileChoice c;
    if (path.isEmpty()) {
        c.cancelled = true;
        c.error = DialogService::cancelDescription();
    } else {
        c.path = path;
    }
    return c;
}

FileChoice QtDialogService::openFile(const QString& filter, const QString& startPath, const QString& title)
{
    return fileChoice(QFileDialog::getOpenFileName(owner(), title.isEmpty() ? QStringLiteral("打开") : title, startPath,
                                                   toQtFilter(filter)));
}

FileChoice QtDialogService::saveFile(const QString& filter, const QString& startPath, const QString& title)
{
    return fileChoice(QFileDialog::getSaveFileName(owner(), title.isEmpty() ? QStringLiteral("另存为") : title,
                                                   startPath, toQtFilter(filter)));
}

QString QtDialogService::chooseFolder(const QString& title, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(owner(), title, startFolder, QFileDialog::ShowDirsOnly);
}

std::optional<QColor> QtDialogService::chooseColor(const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial, owner(), QStringLiteral("颜色"));
    if (!c.isValid())
        return std::nullopt;
    return c;
}

std::optional<QString> QtDialogService::askText(const QString& label, const QString& title, const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), title, label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QFont> QtDialogService::chooseFont(const QFont& initial)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, owner(), QStringLiteral("字体"));
    if (!ok)
        return std::nullopt;
    return f;
}
