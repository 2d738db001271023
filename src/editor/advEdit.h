#pragma once

#include <QString>
#include <QWidget>

class AppContext;

// The rich page editor: design view (an editable web document), code view and
// preview on one tab strip, with a command tool bar. The Product kind is the
// reduced editor embedded in product entry (no save, fewer commands).
class advEdit : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Full, Product };

    advEdit(AppContext& ctx, Kind kind, QWidget* parent = nullptr);
    ~advEdit() override;

    QString innerHTML() const;                 // stored form of the current tab's HTML
    void loadInnerHTML(const QString& stored); // replaces the whole document
    void setInnerHTML(const QString& fragment); // appends a fragment at the end of the body
    QString aspFileName() const;
    void setAspFileName(const QString& code); // "none" at creation
    bool isReady() const;                     // the design document has loaded

signals:
    void ready();
    void changed(); // every edit in design view
    void propertyChanged(const QString& name); // writes of innerHTML / aspFileName
    void saved(); // Full kind, after "保存" stored the page

private:
    struct Impl;
    Impl* d;
};
