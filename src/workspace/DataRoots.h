#pragma once

#include <QString>

#include <functional>

// The two folders the program works in, both ending with "/". The application
// folder (appPath) holds what the program only reads: pages, templates, themes,
// skins and the pristine initData/. The data folder (dataPath) holds what it
// writes: initPath.ini, the default workspace userImages/, the backup
// savedData/, workspaces set aside and the upload archive.
struct DataRoots {
    DataRoots() = default;
    // A writable application folder is both roots: the program run from its build
    // tree, from a copied folder or with --appdir writes beside its material.
    DataRoots(const QString& appDir); // NOLINT: a folder name stands for that pair
    DataRoots(const QString& appDir, const QString& dataDir);

    QString appPath;
    QString dataPath;
};

namespace Workspace {

// The application folder of the program lying in exeDir: exeDir itself when it
// holds initData/ (the build tree, a copied folder), else the installed layout's
// exeDir/../share/weblark when that holds it; *installed tells which. When
// neither holds it, exeDir (start-up then reports what is missing).
QString applicationFolder(const QString& exeDir, bool* installed);

bool isWritableFolder(const QString& path);

// The roots of a program run: the application folder is --appdir's folder when
// given (appDirOption not empty), else the one found from exeDir. The program
// writes into the user's own data folder userDataDir
// (QStandardPaths::AppLocalDataLocation) when the application folder is the
// installed one, which every user of the computer shares and nobody writes to,
// not even an administrator, or when the user cannot write to it; otherwise it
// writes into the application folder. writable is the seam for tests that run
// as root, to whom every folder is writable.
DataRoots programRoots(const QString& appDirOption, const QString& exeDir, const QString& userDataDir,
                       const std::function<bool(const QString&)>& writable = isWritableFolder);

} // namespace Workspace
