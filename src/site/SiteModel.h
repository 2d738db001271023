#pragma once

#include "data/ContentRecords.h"
#include "data/SettingsRow.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>
#include <vector>

// The site as the renderer needs it, read from the database in one query per table.

using SiteRecord = ContentRecords::Row;

struct SitePage {
    int level = 1; // 1..3
    QString name;
    bool catalog = false;
    QString format; // aspFileName; "" for catalogs
    SitePage* parent = nullptr;
    std::vector<SitePage*> children;
    const QVector<SiteRecord>* records = nullptr; // newest first; shared by pages of equal name
    QString file;                                 // output file name, e.g. "p2-1.htm"
};

struct SiteModel {
    SettingsRow info;                             // not present: an unnamed site with the first theme
    std::vector<std::unique_ptr<SitePage>> pages; // depth-first, in navigation order
    std::vector<SitePage*> top;                   // level-1 nodes
    QHash<QString, QVector<SiteRecord>> content[3];

    const QVector<SiteRecord>& recordsOf(const SitePage& page) const;
};

// Reads the database at dbPath through its own read-only connection. False with
// error set when the file cannot be opened or a table cannot be read, or when
// reading takes longer than maxReadSeconds (0: no limit): a crafted database can
// hold a view that never ends.
bool loadSiteModel(const QString& dbPath, SiteModel& model, QString* error, int maxReadSeconds = 0);
