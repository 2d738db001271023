#include "DataRoots.h"

#include <QDir>
#include <QFileInfo>

static QString folderPath(const QString& dir)
{
    const QString clean = QDir::cleanPath(QDir(dir).absolutePath());
    return clean.endsWith(QLatin1Char('/')) ? clean : clean + QLatin1Char('/');
}

DataRoots::DataRoots(const QString& appDir) : appPath(folderPath(appDir)), dataPath(appPath) {}

DataRoots::DataRoots(const QString& appDir, const QString& dataDir)
    : appPath(folderPath(appDir)), dataPath(folderPath(dataDir))
{
}

namespace Workspace {

static bool holdsMaterial(const QString& dir)
{
    return QFileInfo(dir + QStringLiteral("/initData")).isDir();
}

QString applicationFolder(const QString& exeDir, bool* installed)
{
    *installed = false;
    if (holdsMaterial(exeDir))
        return exeDir;
    const QString shared = QDir::cleanPath(exeDir + QStringLiteral("/../share/weblark"));
    if (!holdsMaterial(shared))
        return exeDir;
    *installed = true;
    return shared;
}

bool isWritableFolder(const QString& path)
{
    const QFileInfo fi(path);
    return fi.isDir() && fi.isWritable();
}

DataRoots programRoots(const QString& appDirOption, const QString& exeDir, const QString& userDataDir,
                       const std::function<bool(const QString&)>& writable)
{
    bool installed = false;
    const QString appDir = appDirOption.isEmpty() ? applicationFolder(exeDir, &installed) : appDirOption;
    const DataRoots own(appDir);
    if ((installed || !writable(own.appPath)) && !userDataDir.isEmpty())
        return DataRoots(appDir, userDataDir);
    return own;
}

} // namespace Workspace
