#pragma once

#include "core/Outcome.h"
#include "data/SiteDb.h"

#include <QString>

// The content rows of the pages edited in the content window. The page node's
// level (1..3) picks the table (content01, content02, content03); its text is the
// page name held in the row's link field. The rows themselves are the records of
// data/ContentRecords.h.
namespace ContentStore {

// The in-place editors' values: the title as typed, the body already encoded,
// the two image file names (bare names in the workspace).
struct SingleRecord {
    QString title;
    QString content;
    QString image1;
    QString image2;
};
// Whether the in-place editors of a page of the level and format can be saved with
// this title: not without a page, and not without a title where the format has one.
// Formats that are not edited in place give neither a notice nor a go-ahead.
Outcome checkSave(int level, const QString& format, const QString& title);
// The report of a save that found the page's row gone (the page was deleted
// meanwhile): nothing was stored, and the text typed stays in the window.
Notice pageGone();

// Inserts the page's one row (isNew) or updates it, with the columns of the format.
// imgTxt03 has one picture only: its value04 is always written empty.
SqlResult saveSingleRecord(const SiteDb& db, int level, const QString& format, const QString& page, bool isNew,
                           const SingleRecord& record);

// The rows a record list shows, newest first: ID and value01 .. value04 only,
// so that long bodies and descriptions are not read for the list.
SqlResult selectListRows(const SiteDb& db, int level, const QString& page);

// Multi-line text boxes give lines ending in LF; the stored form knows only CR LF.
QString toCrLf(const QString& text);
QString fromCrLf(const QString& text);

// The ticked record's ID as the list page holds it; -1 when it is not a whole number.
qint64 parseRecordId(const QString& text);

} // namespace ContentStore
