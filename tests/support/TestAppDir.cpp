#include "TestAppDir.h"

#include "workspace/FileOps.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

QString TestAppDir::stagedAppDir()
{
    return QStringLiteral(WEBLARK_STAGED_APPDIR);
}

TestAppDir::TestAppDir(bool withWorkspace)
{
    if (!m_dir.isValid())
        return;
    const QDir staged(stagedAppDir());
    QString error;
    m_ok = true;
    const auto entries = staged.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QFileInfo& fi : entries) {
        const QString name = fi.fileName();
        // The program, the search indexer, the live workspace, backups and side folders of the build stay out.
        if (name == QLatin1String("weblark") || name == QLatin1String("pagefind_extended") ||
            name == QLatin1String("userImages") || name == QLatin1String("savedData") ||
            name.startsWith(QLatin1String("userImages.old-")) || name == QLatin1String("initPath.ini") ||
            name.endsWith(QLatin1String(".zip")))
            continue;
        // A plain copy: the staging folder is thrown away, so nothing is synced to disk.
        std::error_code ec;
        std::filesystem::copy(fi.absoluteFilePath().toStdString(), (appPath() + name).toStdString(),
                              std::filesystem::copy_options::recursive, ec);
        if (ec) {
            m_ok = false;
            qWarning("TestAppDir: %s: %s", qPrintable(name), ec.message().c_str());
            return;
        }
    }
    if (withWorkspace) {
        QDir().mkpath(workPath());
        m_ok = FileOps::copyFile(appPath() + QStringLiteral("initData/govbuilder.sbd"),
                                 workPath() + QStringLiteral("govbuilder.sbd"), &error);
    }
}
