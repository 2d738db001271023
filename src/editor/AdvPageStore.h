#pragma once

#include "core/Outcome.h"
#include "data/SiteDb.h"

#include <QString>

// The stored HTML of free-design pages: one content row per page whose
// value01 holds the page's body in stored form.
namespace AdvPageStore {

// The page the editor saves: its level (1..3 by the node key's prefix, anything
// else for the root or no page), its name, its format code and whether it has no row yet.
struct Page {
    int level = 0;
    QString name;
    QString format;
    bool isNew = true;
};

// Stores html (stored form) for the page: an insert while it has no row, an update
// afterwards; "news" pages are not stored. Carriage returns are dropped. On success
// page.isNew is cleared. The outcome carries the messages to show.
Outcome save(const SiteDb& db, Page& page, const QString& html, QString* dbError = nullptr);

// The code view's text as stored: it already holds the stored form, but an
// apostrophe typed there must be stored like one typed in design view.
QString codeToStored(const QString& code);

} // namespace AdvPageStore
