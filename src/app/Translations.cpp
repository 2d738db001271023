#include "app/Translations.h"

#include "core/Logging.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Texts Qt's own Chinese catalog leaves out: the file dialog's type column.
class MissingQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        static const QHash<QByteArray, QString> texts = {
            {"Folder", QStringLiteral("文件夹")}, {"Drive", QStringLiteral("驱动器")},
            {"File", QStringLiteral("文件")},     {"%1 File", QStringLiteral("%1 文件")},
            {"Alias", QStringLiteral("替身")},    {"Shortcut", QStringLiteral("快捷方式")},
        };
        return texts.value(source);
    }
};

} // namespace

bool installChineseTranslations(QCoreApplication& app)
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    app.installTranslator(new MissingQtTexts(&app));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool base = false;
    for (const char* catalog : {"qtbase", "qtwebengine"}) {
        auto* translator = new QTranslator(&app);
        if (!translator->load(chinese, QString::fromLatin1(catalog), QStringLiteral("_"), folder)) {
            qCWarning(lcTranslations) << "no Chinese translation" << catalog << "in" << folder;
            delete translator;
            continue;
        }
        app.installTranslator(translator);
        base = base || qstrcmp(catalog, "qtbase") == 0;
    }
    return base;
}
