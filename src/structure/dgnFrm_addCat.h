#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class designFrm;

// Adds a catalog below the designer's current node (the root or a level-1 node).
class dgnFrm_addCat : public QDialog {
    Q_OBJECT
public:
    dgnFrm_addCat(designFrm& designer, QWidget* parent = nullptr);

public Q_SLOTS:
    void cmd_cfm_Click();

private:
    designFrm& m_designer;
    QLineEdit* txt_name = nullptr;
    QPushButton* cmd_cfm = nullptr;
    QPushButton* cmd_cnl = nullptr;
};
