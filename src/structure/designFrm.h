#pragma once

#include "structure/CatalogTree.h"
#include "structure/dgnFrm_modFile.h"

#include <QPointer>
#include <QWidget>

class AppContext;
class CatalogTreeBinding;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;
class WebPane;

// The structure designer: the site tree on the left, a sample of the selected
// page's display format on the right, and the commands that build the tree.
class designFrm : public QWidget {
    Q_OBJECT
public:
    designFrm(AppContext& ctx, QWidget* parent = nullptr);
    ~designFrm() override;

    AppContext& context() const { return m_ctx; }
    CatalogTreeBinding& tree() const { return *m_binding; }
    CatalogTree& nodes() { return m_tree; }

    // The current node; every command and the dialogs act on it.
    CatalogNode* selNode() const { return m_selNode; }
    void setSelNode(CatalogNode* node) { m_selNode = node; }
    // The code last shown by showFormatPreview; read by the modify-format dialog.
    QString currentFormat() const { return m_currentFormat; }
    QString statusText() const;
    // The modify-format dialog opened without waiting by the last tree click, if still open.
    dgnFrm_modFile* modelessModFile() const { return m_modeless.data(); }

    // After a dialog stored a new row: its node under selNode (key levelPrefix + "_" + a random
    // number), selNode expanded, the content window told.
    CatalogNode* addChildNode(const QString& levelPrefix, const QString& name, bool catalog);
    // For the dialogs: true (after the warning) when name is already in the tree.
    bool refuseDuplicateName(const QString& name);
    // The sort number for a new child of selNode: its siblings' highest plus 1. -1 after
    // reporting why there is none: a failed lookup, no answer (unknownMessage), or the limit.
    int nextChildOrderID(const QString& unknownMessage);
    // Asks the content window to reload its tree; nothing when it is not open.
    void refreshContentWindow();

public Q_SLOTS:
    void showFormatPreview(const QString& code);
    void showWelcome();

    void cmd_addCat_Click();
    void cmd_addFile_Click();
    void cmd_delNode_Click();
    void cmd_ren_Click();
    void cmd_up_Click();
    void cmd_down_Click();
    void cmd_refresh_Click();
    void cmd_mod_Click();

    // The tree's node-click and mouse-release handling; the mouse filter calls them.
    void tvw_nav_NodeClick(CatalogNode* node);
    void tvw_nav_MouseUp(Qt::MouseButton button, const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildUi();
    QPushButton* makeButton(const QString& name, const QString& caption, const QString& hint, QWidget* parent);
    QAction* makeAction(const QString& name, const QString& caption, void (designFrm::*slot)());
    void reloadTree();
    void move(bool up);
    void afterLabelEdit(const QString& newText);
    void setPopupItems();
    void openModFileModeless();

    AppContext& m_ctx;
    CatalogTree m_tree;
    CatalogTreeBinding* m_binding = nullptr;
    CatalogNode* m_selNode = nullptr;
    CatalogNode* m_renameSource = nullptr;
    QString m_currentFormat;
    QPointer<dgnFrm_modFile> m_modeless;
    bool m_activationHooked = false;

    QTreeWidget* tvw_nav = nullptr;
    QPushButton* cmd_addCat = nullptr;
    QPushButton* cmd_addFile = nullptr;
    QPushButton* cmd_delNode = nullptr;
    QPushButton* cmd_ren = nullptr;
    QPushButton* cmd_up = nullptr;
    QPushButton* cmd_down = nullptr;
    QPushButton* cmd_refresh = nullptr;
    QPushButton* cmd_mod = nullptr;
    QPushButton* cmd_addField = nullptr;
    QPushButton* cmd_help = nullptr;
    QWidget* Frame_nav = nullptr;
    WebPane* wb_format = nullptr;
    QStatusBar* StsBar = nullptr;
    QLabel* m_panel1 = nullptr;
    QMenu* ppMnu = nullptr;
    QAction* ppMnu_addCat = nullptr;
    QAction* ppMnu_addFile = nullptr;
    QAction* ppMnu_del = nullptr;
    QAction* ppMnu_ren = nullptr;
    QAction* ppMnu_refresh = nullptr;
    QAction* ppMnu_moveUp = nullptr;
    QAction* ppMnu_moveDown = nullptr;
};
