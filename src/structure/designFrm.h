#pragma once

#include "core/FramedWindow.h"
#include "structure/StructureEditor.h"

#include <QPointer>
#include <QWidget>

class AppContext;
class CatalogTreeBinding;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;
class WebPane;
class dgnFrm_modFile;

// The structure designer: the site tree on the left, a sample of the selected
// page's display format on the right, and the commands that build the tree.
// Decisions are the StructureEditor's; this window shows what it reports.
class designFrm : public QWidget, public FramedWindow {
    Q_OBJECT
public:
    designFrm(AppContext& ctx, QWidget* parent = nullptr);
    ~designFrm() override;

    // The tree, the current node and the commands on them.
    StructureEditor& editor() { return m_editor; }
    // The welcome sample comes back whenever the user turns to this window.
    void activated() override { showWelcome(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    QPushButton* makeButton(const QString& name, const QString& caption, const QString& hint, QWidget* parent);
    QAction* makeAction(const QString& name, const QString& caption, void (designFrm::*slot)());
    void report(const Outcome& outcome);
    void showTree();
    void showFormatPreview(const QString& code);
    void showWelcome();
    void openModFileModeless();
    void afterLabelEdit(const QString& newText);
    void tvw_nav_MouseUp(Qt::MouseButton button, const QPoint& globalPos);

    void cmd_addCat_Click();
    void cmd_addFile_Click();
    void cmd_delNode_Click();
    void cmd_ren_Click();
    void cmd_up_Click();
    void cmd_down_Click();
    void cmd_refresh_Click();
    void cmd_mod_Click();

    AppContext& m_ctx;
    StructureEditor m_editor;
    CatalogTreeBinding* m_binding = nullptr;
    CatalogNode* m_renameSource = nullptr;
    QPointer<dgnFrm_modFile> m_modeless;

    QTreeWidget* tvw_nav = nullptr;
    QPushButton* cmd_up = nullptr;
    QPushButton* cmd_down = nullptr;
    QPushButton* cmd_mod = nullptr;
    QPushButton* cmd_addField = nullptr;
    QWidget* Frame_nav = nullptr;
    WebPane* wb_format = nullptr;
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
