#pragma once

#include "core/DialogService.h"
#include "core/SiteEvents.h"
#include "data/SiteDb.h"
#include "text/TextCodec.h"

#include <QString>

// What the main window shares with every window: the connection, the paths
// and the text routines. Handed out by reference at construction.
// appPath, dataPath and workPath always end with "/".
class AppContext {
public:
    AppContext(SiteDb& db, DialogService& dlg) : conn(db), dialogs(dlg) {}

    SiteDb& conn;
    DialogService& dialogs;
    SiteEvents events;

    QString appPath;  // the application directory: material the program only reads
    QString dataPath; // where it writes: the application directory, or the user's own data folder
    QString workPath; // the workspace folder: govbuilder.sbd and the user's pictures
    QString imgPath;  // the workspace folder as configured (the logo goes here)

    QString encode(const QString& text) const { return TextCodec::encode(text); }
    QString decode(const QString& stored) const { return TextCodec::decode(stored); }
    QString toStorageHtml(const QString& html) const { return TextCodec::toStorageHtml(html, workPath); }
    QString fromStorageHtml(const QString& stored) const { return TextCodec::fromStorageHtml(stored, workPath); }
};
