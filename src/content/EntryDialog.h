#pragma once

#include "core/AppContext.h"
#include "core/Messages.h"
#include "structure/PageRef.h"

#include <QDialog>

#include <functional>

// What the entry dialogs of the list pages share: the page they add to or
// change, the record ticked in its list, and the "stored" announcement after
// which the content window rebuilds its list.
class EntryDialog : public QDialog {
    Q_OBJECT
public:
    // Prepares the dialog before it is shown; false when it must not open
    // (the reason has been reported).
    virtual bool Form_Load() { return true; }

Q_SIGNALS:
    // A record was stored; the dialog closes right after.
    void stored();

protected:
    // page: the page selected in the content window; currID: the record ticked in its list.
    EntryDialog(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent);

    virtual void OKButton_Click() = 0;
    void CancelButton_Click() { close(); }

    // Adding: runs insert(level, page name) for the page, then announces it and
    // closes. A page of no known level is reported and closes the dialog.
    void insertRecord(const std::function<SqlResult(int, const QString&)>& insert);
    // Opening a modify dialog: reads the ticked record into row (left empty when it
    // is gone); false when the dialog must not open (reported).
    bool readTicked(QSqlRecord* row);
    // Modifying: runs update(level, ID); false when nothing was stored (reported),
    // also when the record is gone. noLevel: the report for a page of no known level (the
    // news and gallery dialogs' by default; the product dialogs name their own).
    bool updateRecord(const std::function<SqlResult(int, qint64)>& update,
                      Messages::Id noLevel = Messages::Id::NoLevelChosen);
    // Announces the stored record and closes.
    void finish();

    AppContext& m_ctx;
    const PageRef m_page;
    const QString m_currID;
    qint64 m_id = -1; // the record a modify dialog shows and changes

private:
    // The page's level (1..3), or 0 after reporting text with the critical icon.
    int levelOrReport(Messages::Id message);
    // Reports a failed statement; false when there was one.
    bool check(const SqlResult& r);
};
