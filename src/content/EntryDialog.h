#pragma once

#include "app/AppContext.h"

#include <QDialog>

#include <functional>

class insDataFrm;

// What the entry dialogs of the list pages share: the page they add to or
// change (the content window's selNode), the ticked record, and the rebuild
// of the window's list once they have stored.
class EntryDialog : public QDialog {
    Q_OBJECT
public:
    // Prepares the dialog before it is shown; false when it must not open
    // (the reason has been reported).
    virtual bool Form_Load() { return true; }
    // The record a modify dialog shows and changes (-1 in the add dialogs).
    qint64 recordId() const { return m_id; }

public Q_SLOTS:
    virtual void OKButton_Click() = 0;
    void CancelButton_Click() { close(); }

protected:
    EntryDialog(AppContext& ctx, insDataFrm& owner, QWidget* parent);

    // Adding: runs insert(level, page name) for the selected page, then rebuilds the
    // list and closes. A node of no known level is reported and closes the dialog.
    void insertRecord(const std::function<SqlResult(int, const QString&)>& insert);
    // Opening a modify dialog: reads the ticked record into row (left empty when it
    // is gone); false when the dialog must not open (reported).
    bool readTicked(QSqlRecord* row);
    // Modifying: runs update(level, ID); false when nothing was stored (reported),
    // also when the record is gone.
    bool updateRecord(const std::function<SqlResult(int, qint64)>& update);
    // Rebuilds the owner's list and closes.
    void finish();

    AppContext& m_ctx;
    insDataFrm& m_owner;
    qint64 m_id = -1;

private:
    // The selected page's level (1..3), or 0 after reporting text with the critical icon.
    int levelOrReport(const QString& text, const QString& title);
    // Reports a failed statement; false when there was one.
    bool check(const SqlResult& r);
};
