#pragma once

#include "workspace/DataRoots.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class SiteDb;

// Finding (or rebuilding) the workspace folder at start-up, and the backup
// and restore of the workspace in use. Paths end with "/".
struct WorkspaceSetup {
    QString appPath;
    QString dataPath; // initPath.ini, userImages/, savedData/: appPath or the user's own folder
    QString workPath;
    QString imgPath;
    QString movedAsideTo; // where the old contents of "userImages" went, if anywhere
    QStringList problems; // what the user must be told once the main window is up
};

namespace Workspace {

inline QString defaultFolderName()
{
    return QStringLiteral("userImages");
}
inline QString backupFolderName()
{
    return QStringLiteral("savedData");
}

// The workspace in roots.dataPath (created when missing), with the pristine files
// of roots.appPath. now: the time stamp of a moved-aside folder.
WorkspaceSetup resolve(const DataRoots& roots, const QDateTime& now = QDateTime::currentDateTime());

// Reads the first line of initPath.ini: UTF-8, or GB18030 when it is not valid UTF-8.
QString readFirstLine(const QByteArray& content);

// Copies the workspace in use (workPath) to dataPath/savedData. The copy is made
// in a folder of its own and takes the older backup's place only once it is
// complete, so a failed backup leaves the older one as it was; error then says
// so. The open database is copied as a consistent snapshot through db.
bool backup(const QString& dataPath, const QString& workPath, const SiteDb& db, QString* error);

// The backup in two parts, so that the copying can run on a worker thread:
// beginBackup, on the connection's thread, makes the staging folder and writes
// the database snapshot into it; finishBackup, on any thread, copies the other
// files and puts the staging folder in place of the older backup.
struct PendingBackup {
    QString dataPath;
    QString workPath;
    QString staging;
    bool hadBackup = false;
    bool dbSnapshot = false; // the database was written by beginBackup
};
bool beginBackup(const QString& dataPath, const QString& workPath, const SiteDb& db, PendingBackup* pending,
                 QString* error);
bool finishBackup(const PendingBackup& pending, QString* error);

bool hasBackup(const QString& dataPath);
// Copies dataPath/savedData over the workspace in use (files only in the
// workspace stay). The result is put together in a folder beside the workspace
// and then takes its place, so a failed restore leaves the workspace as it was.
// The connection must be closed by the caller first.
bool restoreFiles(const QString& dataPath, const QString& workPath, QString* error);

} // namespace Workspace
