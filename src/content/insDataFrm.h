#pragma once

#include "content/Pictures.h"
#include "core/AppContext.h"
#include "structure/CatalogTree.h"
#include "structure/PageRef.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTreeWidget;
class WebPane;
class CatalogTreeBinding;
class EntryDialog;
class advEdit;

// "录入数据": the site tree on the left; on the right the editor of the
// selected page's format — in-place editors for single-record pages, the
// record list with its add, delete and modify buttons for list pages.
// It reloads its tree whenever the structure changes (SiteEvents).
class insDataFrm : public QWidget {
    Q_OBJECT
public:
    explicit insDataFrm(AppContext& ctx, QWidget* parent = nullptr);
    // The window's starting size: 10125 x 6200 twips.
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildEditors();
    void loadTree();
    PageRef page() const;
    QString currID() const;
    QString getAspFileName() const;
    void showFormatLayout(const QString& format);
    void showStatus(const QString& pageName, const QString& formatName);
    void loadContent(const QString& format, const CatalogNode& node);
    void deleteContent(const QString& id);
    void showPreview(int index, const QString& path);
    void setPreviewSize(int index, const QSize& twips);
    void arrangeSlots();
    void reportDbError(const QString& error);
    void openEntryDialog(EntryDialog* dialog);

    void mnu_Refresh_Click();
    // The page selection of a button released on the tree; also rebuilds the list after a store.
    void tvw_nav_MouseUp(Qt::MouseButton button, const QPoint& globalPos = QPoint());
    void cmd_ok_Click();
    void cmd_img_Click(int index);
    void cmd_addData_Click(int index);

    AppContext& m_ctx;
    CatalogTree m_tree;
    CatalogTreeBinding* m_binding = nullptr;
    CatalogNode* m_selNode = nullptr;
    QString m_format = QStringLiteral("none");
    bool m_isNew = true;
    bool m_naturalSize = false; // imgTxt03 keeps the picture's own size
    // Unsaved typing, and whether the page has no row yet (the page editor saves by it).
    bool m_dataChanged = false;
    bool m_advIsNew = true;
    // The picture slots: the file chosen in this visit and the one last placed.
    Pictures::Slot imgFiles[2];

    QTreeWidget* tvw_nav = nullptr;
    QLabel* StsBar[2] = {};
    QScrollArea* pic_edit = nullptr;
    QLabel* lbl_head = nullptr;
    QLabel* lbl_title = nullptr;
    QLabel* lbl_content = nullptr;
    QLineEdit* txt_title = nullptr;
    QPlainTextEdit* txt_content = nullptr;
    QWidget* m_slot[2] = {};
    class QBoxLayout* m_slotRow = nullptr;
    QLabel* img[2] = {};
    QLineEdit* txt_img[2] = {};
    WebPane* webBer = nullptr;
    WebPane* webMultiData = nullptr;
    advEdit* advEditer = nullptr;
    QPushButton* cmd_addData[3] = {};
    QPushButton* cmd_ok = nullptr;
    QMenu* mnuIns = nullptr;
};
