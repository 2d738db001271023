#include "InputHelpers.h"

#include "core/DialogService.h"
#include "core/Messages.h"
#include "text/TextCodec.h"

#include <QDir>
#include <QLineEdit>

namespace InputHelpers {

void checkNumber(QLineEdit* box, DialogService& dialogs)
{
    const QString text = box->text();
    if (TextCodec::isLenientNumber(text))
        return;
    box->setFocus();
    // Setting the text runs the change handler again, so each character removed is reported.
    box->setText(text.left(text.size() - 1));
    dialogs.message(QStringLiteral("请输入数字！"), Messages::notice(), MsgIcon::Information);
}

void guardNumeric(QLineEdit* box, DialogService& dialogs)
{
    QObject::connect(box, &QLineEdit::textChanged, box, [box, &dialogs] { checkNumber(box, dialogs); });
}

QString pickColor(DialogService& dialogs)
{
    const std::optional<QColor> c = dialogs.chooseColor(Qt::black);
    if (!c || !c->isValid()) {
        dialogs.message(DialogService::cancelDescription(), Messages::notice(), MsgIcon::Critical);
        return QStringLiteral("#000000");
    }
    return TextCodec::colorToHex(*c);
}

QString browseForFolder(DialogService& dialogs, const QString& title, const QString& startFolder)
{
    const QString chosen = dialogs.chooseFolder(title, startFolder);
    if (chosen.isEmpty())
        return {};
    return QDir::fromNativeSeparators(chosen).left(260);
}

} // namespace InputHelpers
