#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class SiteDb;

// Finding (or rebuilding) the workspace folder at start-up, and the backup
// and restore of the default workspace. Paths end with "/".
struct WorkspaceSetup {
    QString appPath;
    QString workPath;
    QString imgPath;
    QString movedAsideTo;  // where the old contents of "userImages" went, if anywhere
    QStringList problems;  // what the user must be told once the main window is up
};

namespace Workspace {

inline QString defaultFolderName() { return QStringLiteral("userImages"); }
inline QString backupFolderName() { return QStringLiteral("savedData"); }

// appDir: the folder of the executable. now: the time stamp of a moved-aside folder.
WorkspaceSetup resolve(const QString& appDir, const QDateTime& now = QDateTime::currentDateTime());

// Reads the first line of initPath.ini: UTF-8, or GB18030 when it is not valid UTF-8.
QString readFirstLine(const QByteArray& content);

// Copies appPath/userImages to appPath/savedData, replacing an older backup.
// The database is copied as a consistent snapshot through the open connection.
bool backup(const QString& appPath, const SiteDb& db, QString* error);

bool hasBackup(const QString& appPath);
// Copies appPath/savedData over appPath/userImages (files only in userImages stay).
// The connection must be closed by the caller first.
bool restoreFiles(const QString& appPath, QString* error);

} // namespace Workspace
