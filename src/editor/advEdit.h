#pragma once

#include "editor/AdvPageStore.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QWidget>

#include <functional>

class AppContext;
class QAction;
class QPlainTextEdit;
class QTabWidget;
class QToolBar;
class WebPane;

// The rich page editor: design view (an editable web document), code view and
// preview on the tab strip sstb, with the command tool bar tlBar. The Product
// kind is the reduced editor of product entry: design view and a shorter tool
// bar only, no save.
// The design view pushes its body to the program on every change, so reading
// innerHTML never waits on the browser.
class advEdit : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Full, Product };

    advEdit(AppContext& ctx, Kind kind, QWidget* parent = nullptr);
    ~advEdit() override;

    // The stored form of the current tab's HTML as the program holds it now; the design
    // view's latest keystrokes may not have reached it yet (see readHtml).
    QString innerHTML() const;
    // Hands the stored form of the page to then() once the design view's latest edits
    // have reached the program: every read of the page for storing goes through here.
    void readHtml(const std::function<void(const QString&)>& then);
    void loadInnerHTML(const QString& stored);  // replaces the whole document, leaving it as given
    void setInnerHTML(const QString& fragment); // appends a fragment at the end of the body
    QString aspFileName() const { return m_aspFileName; }
    void setAspFileName(const QString& code); // "none" at creation
    bool isReady() const;                     // the design document has loaded

    // The page "保存" stores to, asked at the moment of saving (Full kind).
    void setSaveTarget(std::function<AdvPageStore::Page()> target) { m_saveTarget = std::move(target); }
    // Runs then() once the design view's latest edits have reached the program.
    void flush(const std::function<void()>& then);
    void save();

signals:
    void ready();
    void changed();                            // every edit in design view
    void propertyChanged(const QString& name); // writes of innerHTML / aspFileName
    void saved();                              // Full kind, after "保存" stored the page

private:
    void buildToolBar();
    void runKey(const QString& key);
    // adopt: pictures outside the workspace are copied in (a page typed in the code view);
    // otherwise the page is left as it is and they are only reported.
    void loadDesign(const QString& display, bool adopt = false);
    void loadPreview(const QString& display);
    void setCode(const QString& stored, const QString& source); // source: the display HTML it shows
    void tabChanged(int to);
    void takePush(const QString& key, const QString& value);
    bool takeHtml(const QString& value, QString* kind = nullptr);
    void adoptForeignPictures(const QStringList& sources);
    void adoptDroppedPicture(const QString& name, const QString& dataUrl);
    void chooseFont();
    void applyFont();
    void askLink();
    void openInsertDialog(const QString& key);
    QString display(const QString& stored) const;
    QString stored(const QString& display) const;

    AppContext& m_ctx;
    const Kind m_kind;
    QString m_aspFileName = QStringLiteral("none");
    std::function<AdvPageStore::Page()> m_saveTarget;

    QToolBar* tlBar = nullptr;
    QTabWidget* sstb = nullptr;
    WebPane* DHTMLEditer = nullptr;
    QPlainTextEdit* txt_code = nullptr;
    class QLabel* lbl_status = nullptr; // reports of the page shown (pictures outside the workspace)
    class HtmlHighlighter* m_highlighter = nullptr;
    WebPane* DHTMLSafer = nullptr;
    QHash<QString, QAction*> m_buttons;

    int m_tab = 0;
    QString m_designHtml;  // the design body as the browser last reported it (display form)
    QString m_previewHtml; // the preview body as loaded
    qint64 m_generation = 0;
    int m_loadId = 0;
    bool m_settingCode = false;
    bool m_codeEdited = false;                             // typed in since the code text was last filled
    QString m_codeText;                                    // the code text as filled
    QString m_codeSource;                                  // the display HTML the code text was last filled from
    QList<QPair<qint64, std::function<void()>>> m_waiting; // flushes waiting for a report
};
