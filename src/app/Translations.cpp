#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcTranslations, "weblark.translations")

bool installChineseTranslations(QCoreApplication& app)
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
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
