#pragma once

#include "structure/DisplayFormats.h"

#include <QDialog>
#include <QList>

class AppContext;
struct SqlResult;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QVBoxLayout;
class designFrm;
class disModel;

// What the add-page and modify-format dialogs share: the product switch with the
// type and class lists, and the scrolled grid of format tiles.
class PageFormatDialog : public QDialog {
    Q_OBJECT
public:
    PageFormatDialog(designFrm& designer, QWidget* parent);

    const FormatTables& formatTables() const { return m_tables; }
    const QList<disModel*>& disModelObj() const { return m_tiles; }
    // The model of the first selected tile ("" when none is).
    QString selectedModel() const;

    void layoutFormatTiles(const QList<FormatEntry>& table);
    // false when the list could not be filled; the failure has been reported.
    bool fillProdTypes();
    bool fillProdClasses(const QString& typeName);
    void disModelObj_Click(int index);
    void vscrl_Change(int value);

protected:
    // The dialog's controls above the product switch go here.
    QVBoxLayout* headLayout() const { return m_head; }
    void reportFailure(const QString& description);
    bool eventFilter(QObject* watched, QEvent* event) override;

    designFrm& m_designer;
    AppContext& m_ctx;
    FormatTables m_tables;

    QCheckBox* chk_prod = nullptr;
    QComboBox* cmb_type = nullptr;
    QComboBox* cmb_class = nullptr;
    QLabel* lbl_model = nullptr;
    QFrame* Line1 = nullptr;
    QWidget* Picture1 = nullptr;
    QScrollBar* vscrl = nullptr;
    QPushButton* cmd_cfm = nullptr;
    QPushButton* cmd_cnl = nullptr;

private:
    void chk_prod_Click(bool ticked);
    bool fillChoiceList(QComboBox* box, const SqlResult& rows, const QString& column);
    disModel* makeTile();

    QVBoxLayout* m_head = nullptr;
    QList<disModel*> m_tiles;
};
