#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

// The box titles, named in core/Messages.h.
namespace Messages {
QString notice();
QString warning();
} // namespace Messages

// Every message box and common dialog of the program goes through this one
// interface, so that windows can be driven by tests with recorded answers.
enum class MsgIcon { None, Information, Question, Warning, Critical };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct FileChoice {
    QString path; // the chosen file; empty when cancelled
    bool cancelled = false;
    QString error; // the cancellation text when cancelled

    bool ok() const { return !cancelled && !path.isEmpty(); }
};

class DialogService {
public:
    virtual ~DialogService() = default;

    // The platform's description of a cancelled common dialog.
    static QString cancelDescription() { return QStringLiteral("选择了“取消”。"); }

    virtual MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons = MsgButtons::Ok) = 0;

    // filter in the form "描述|*.jpg;*.bmp|描述2|*.gif"; startPath a folder or a file.
    virtual FileChoice openFile(const QString& filter, const QString& startPath = QString(),
                                const QString& title = QString()) = 0;
    virtual FileChoice saveFile(const QString& filter, const QString& startPath = QString(),
                                const QString& title = QString()) = 0;
    // Returns "" when cancelled.
    virtual QString chooseFolder(const QString& title, const QString& startFolder) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial = Qt::black) = 0;
    virtual std::optional<QFont> chooseFont(const QFont& initial = QFont()) = 0;
    // One line of text; nullopt when cancelled.
    virtual std::optional<QString> askText(const QString& label, const QString& title, const QString& initial) = 0;

    // Shorthands for the common boxes.
    void info(const QString& text, const QString& title = Messages::notice())
    {
        message(text, title, MsgIcon::Information);
    }
    void critical(const QString& text, const QString& title = Messages::notice())
    {
        message(text, title, MsgIcon::Critical);
    }
    void warning(const QString& text, const QString& title = Messages::warning())
    {
        message(text, title, MsgIcon::Warning);
    }
};
