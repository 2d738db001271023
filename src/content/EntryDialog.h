#pragma once

#include "app/AppContext.h"

#include <QDialog>

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

public Q_SLOTS:
    virtual void OKButton_Click() = 0;
    void CancelButton_Click() { close(); }

protected:
    EntryDialog(AppContext& ctx, insDataFrm& owner, QWidget* parent);

    // The selected page's level (1..3), or 0 after reporting text with the critical icon.
    int levelOrReport(const QString& text, const QString& title);
    QString pageName() const;
    // The ticked record's ID, -1 when none.
    qint64 tickedId() const;
    // Reports a failed statement; false when there was one.
    bool check(const SqlResult& r);
    // Rebuilds the owner's list and closes.
    void finish();

    AppContext& m_ctx;
    insDataFrm& m_owner;
};
