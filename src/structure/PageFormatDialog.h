#pragma once

#include "core/Outcome.h"
#include "structure/DisplayFormats.h"

#include <QDialog>
#include <QList>

class AppContext;
struct SqlResult;
class StructureEditor;
class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class disModel;

// What the add-page and modify-format dialogs share: the product switch with the
// type and class lists, and the scrolled grid of format tiles.
class PageFormatDialog : public QDialog {
    Q_OBJECT
protected:
    PageFormatDialog(AppContext& ctx, StructureEditor& editor, QWidget* parent);

    // The model of the first selected tile ("" when none is).
    QString selectedModel() const;
    // The dialog's controls above the product switch go here.
    QVBoxLayout* headLayout() const { return m_head; }
    void report(const Outcome& outcome);

    AppContext& m_ctx;
    StructureEditor& m_editor;
    QCheckBox* chk_prod = nullptr;
    QPushButton* cmd_cfm = nullptr;

private:
    void layoutFormatTiles(const QList<DisplayFormats::Format>& table);
    bool fillProdTypes();
    bool fillProdClasses(const QString& typeName);
    void disModelObj_Click(int index);
    void chk_prod_Click(bool ticked);
    bool fillChoiceList(QComboBox* box, const SqlResult& rows, const QString& column);

    QComboBox* cmb_type = nullptr;
    QComboBox* cmb_class = nullptr;
    QScrollArea* Picture1 = nullptr;
    QWidget* m_tileArea = nullptr;
    QPushButton* cmd_cnl = nullptr;
    QVBoxLayout* m_head = nullptr;
    QList<disModel*> m_tiles;
};
