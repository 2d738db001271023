#pragma once

#include "content/ContentStore.h"
#include "content/EntryDialog.h"
#include "content/Pictures.h"
#include "data/ContentRecords.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class myDate;

// The news item dialogs of a "news" page: title, date, body and an optional picture.
class NewsEntryDialog : public EntryDialog {
    Q_OBJECT
protected:
    NewsEntryDialog(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent,
                    const QString& caption, const QString& okCaption);
    // The item as the controls hold it, body encoded.
    ContentRecords::NewsItem item() const;
    void showPicture(const QString& path);
    void cmd_img_Click();

    QLineEdit* txt_title = nullptr;
    QPlainTextEdit* txt_content = nullptr;
    myDate* myDate1 = nullptr;
    QLabel* img = nullptr;
    QLabel* lbl_imgName = nullptr;
    QPushButton* cmd_img = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    Pictures::Slot imgFile;
};

// "添加数据": adds an item to the selected page.
class insDatafrm_news : public NewsEntryDialog {
    Q_OBJECT
public:
    insDatafrm_news(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent = nullptr);

private:
    void OKButton_Click() override;
};

// "修改数据": changes the ticked item.
class insDataFrm_newsMod : public NewsEntryDialog {
    Q_OBJECT
public:
    insDataFrm_newsMod(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent = nullptr);
    bool Form_Load() override;

private:
    void OKButton_Click() override;
};
