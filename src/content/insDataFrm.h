#pragma once

#include "app/AppContext.h"
#include "content/Pictures.h"
#include "structure/CatalogTree.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTreeWidget;
class QTreeWidgetItem;
class WebPane;
class CatalogTreeBinding;

// "录入数据": the site tree on the left; on the right the editor of the
// selected page's format — in-place editors for single-record pages, the
// record list with its add, delete and modify buttons for list pages.
class insDataFrm : public QWidget {
    Q_OBJECT
public:
    explicit insDataFrm(AppContext& ctx, QWidget* parent = nullptr);
    // The window's starting size: 10125 x 6200 twips.
    QSize sizeHint() const override;

    // The page being edited; the entry dialogs take its level and name from it.
    CatalogNode* selNode() const { return m_selNode; }
    // Its level (1..3 for pages of the three levels, 0 for none or the root).
    int selLevel() const;
    QString selNodeText() const;
    // The record ticked in the list page ("" when none).
    QString currID() const;
    QString currentFormat() const { return m_format; }
    bool isNew() const { return m_isNew; }

    // Shared with the page editor: unsaved typing, and whether the page has no row yet.
    bool dataChanged = false;
    bool advIsNew = true;

    // The picture slots (0 and 1 are used).
    Pictures::Slot imgFiles[3];

    // Controls, by their names.
    QTreeWidget* tvw_nav = nullptr;
    QLabel* StsBar[2] = {};
    QWidget* pic_edit = nullptr;
    QScrollBar* vscrl = nullptr;
    QLabel* lbl_head = nullptr;
    QLabel* lbl_title = nullptr;
    QLabel* lbl_content = nullptr;
    QLineEdit* txt_title = nullptr;
    QPlainTextEdit* txt_content = nullptr;
    QLabel* lbl_img[2] = {};
    QLabel* img[2] = {};
    QLineEdit* txt_img[2] = {};
    QPushButton* cmd_img[2] = {};
    WebPane* webBer = nullptr;
    WebPane* webMultiData = nullptr;
    QWidget* advEditer = nullptr;
    QPushButton* cmd_addData[3] = {};
    QPushButton* cmd_ok = nullptr;
    QPushButton* cmd_help = nullptr;
    QMenu* mnuIns = nullptr;

public Q_SLOTS:
    // Reloads the tree and goes back to the welcome page; the structure designer
    // calls it after every change of the tree.
    void mnu_Refresh_Click();
    // The page selection of a button released on the tree. The entry dialogs
    // call it with the left button to rebuild the list after storing.
    void tvw_nav_MouseUp(Qt::MouseButton button = Qt::LeftButton, const QPoint& globalPos = QPoint());
    void cmd_ok_Click();
    void cmd_img_Click(int index);
    void cmd_addData_Click(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void loadTree();
    QString getAspFileName() const;
    void showFormatLayout(const QString& format);
    void showStatus(const QString& pageName, const QString& formatName);
    void layoutImgTxt(const QString& format);
    void loadContent(const QString& format, const CatalogNode& node);
    void deleteContent(const QString& id);
    void showPreview(int index, const QString& path);
    void placeEditors();
    void reportDbError(const QString& error);

    AppContext& m_ctx;
    CatalogTree m_tree;
    CatalogTreeBinding* m_binding = nullptr;
    CatalogNode* m_selNode = nullptr;
    QString m_format = QStringLiteral("none");
    bool m_isNew = true;
    int m_slots = 0;              // image slots shown: 0, 1 or 2
    bool m_naturalSize = false;   // imgTxt03 keeps the picture's own size
    QSize m_previewTwips[2];
};
