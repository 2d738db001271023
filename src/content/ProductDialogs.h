#pragma once

#include "content/EntryDialog.h"
#include "content/Pictures.h"
#include "data/ContentRecords.h"

#include <QImage>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class advEdit;

// The real-size viewer of a product's picture: the picture at the top left,
// the window sized to it; a click on the picture or cmd_cancel closes it.
class insDataFrm_img : public QDialog {
    Q_OBJECT
public:
    insDataFrm_img(const QImage& picture, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* img_prod = nullptr;
    QPushButton* cmd_cancel = nullptr;
};

// The viewer as the modify dialog opens it.
class insDataFrm_imgMod : public insDataFrm_img {
    Q_OBJECT
public:
    insDataFrm_imgMod(const QImage& picture, QWidget* parent = nullptr);
};

// The product dialogs of a product page: basic data, a reference picture and a
// description written in the reduced editor.
class ProductEntryDialog : public EntryDialog {
    Q_OBJECT
protected:
    ProductEntryDialog(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent,
                       const QString& caption, const QString& okCaption);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Hands the product as the controls hold it to store(), once the description's
    // last keystrokes are in; refuses an empty name instead. OK is off meanwhile.
    void readProduct(const std::function<void(const ContentRecords::Product&)>& store);
    void showPicture(const QImage& picture);
    virtual void openViewer() = 0;

    void cmd_view_Click();
    void cmd_cancel_Click();
    void cmd_actual_Click();

    QLineEdit* txt_Name = nullptr;
    QLineEdit* txt_spec = nullptr;
    QLineEdit* txt_unit = nullptr;
    QLineEdit* txt_price = nullptr;
    QLabel* img_prod = nullptr;
    QPushButton* cmd_view = nullptr;
    QPushButton* cmd_cancel = nullptr;
    QPushButton* cmd_actual = nullptr;
    advEdit* advEdit_Prod = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    Pictures::Slot picture; // oldName: the picture the product has now ("" for none)
    QImage m_image;         // that picture at full size
};

// "添加产品": adds a product to the selected page.
class insDataFrm_prod : public ProductEntryDialog {
    Q_OBJECT
public:
    insDataFrm_prod(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent = nullptr);

private:
    void OKButton_Click() override;
    void openViewer() override;
};

// "修改数据": changes the ticked product. Its fields stay empty until the
// editor is ready and tmr_prod has ticked three times.
class insDataFrm_prodMod : public ProductEntryDialog {
    Q_OBJECT
public:
    insDataFrm_prodMod(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent = nullptr);
    bool Form_Load() override;
    void tmr_prod_Timer();

private:
    void OKButton_Click() override;
    void openViewer() override;
    void loadRecord();

    QTimer* tmr_prod = nullptr;
    int m_ticks = 0;
    bool m_loaded = false;
    QSqlRecord m_row;
};
