#include "OptionsFile.h"

#include <QFile>
#include <QRegularExpression>

namespace OptionsFile {

static const QString kConfig = QStringLiteral("config");

QStringList parse(const QByteArray& text, const QString& fileName, QStringList* faults)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9-]*$"));
    QStringList options;
    QString all = QString::fromUtf8(text);
    if (all.startsWith(QChar(0xFEFF))) // a byte-order mark some editors write
        all.remove(0, 1);
    const QStringList lines = all.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = (eq < 0 ? line : line.left(eq)).trimmed();
        const auto fault = [&](const QString& what) {
            *faults << QStringLiteral("%1:%2: %3").arg(fileName).arg(i + 1).arg(what);
        };
        if (!name.match(key).hasMatch())
            fault(QStringLiteral("not an option line: \"%1\" (write name = value)").arg(line));
        else if (key == kConfig)
            fault(QStringLiteral("a configuration file cannot name another one"));
        else
            options << QStringLiteral("--") + key +
                           (eq < 0 ? QString() : QLatin1Char('=') + line.mid(eq + 1).trimmed());
    }
    return options;
}

QStringList expand(const QStringList& arguments, QStringList* faults)
{
    QString file;
    bool named = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--") + kConfig) {
            named = true;
            file = i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
        } else if (a.startsWith(QLatin1String("--") + kConfig + QLatin1Char('='))) {
            named = true;
            file = a.mid(kConfig.size() + 3);
        }
    }
    if (!named || arguments.isEmpty())
        return arguments;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        *faults << QStringLiteral("--config: cannot read \"%1\": %2").arg(file, f.errorString());
        return arguments;
    }
    QStringList out{arguments.first()};
    out << parse(f.readAll(), file, faults) << arguments.mid(1);
    return out;
}

} // namespace OptionsFile
