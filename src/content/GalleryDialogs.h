#pragma once

#include "content/ContentStore.h"
#include "content/EntryDialog.h"
#include "content/Pictures.h"
#include "data/ContentRecords.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

// The picture dialogs of an "imgs" page: a caption, the picture shown at full
// size in a scrolling box, and the thumbnail the dialog makes itself.
class GalleryEntryDialog : public EntryDialog {
    Q_OBJECT
protected:
    // The viewing box and the thumbnail box as laid out in the form, in twips.
    static constexpr int kViewWidth = 5685;
    static constexpr int kViewHeight = 3000;
    static constexpr int kThumbBoxWidth = 2115;
    static constexpr int kThumbBoxHeight = 1305;

    GalleryEntryDialog(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent,
                       const QString& caption, const QString& okCaption);
    ContentRecords::GalleryItem item() const;
    // The picture at full size in the viewing box, which scrolls when it is larger.
    void showFull(const QImage& picture);
    void showThumbnail(const QImage& thumb, const QSize& boxPx);
    void cmd_img_Click();

    QLineEdit* txt_title = nullptr;
    QScrollArea* pic_imgs = nullptr;
    QLabel* img = nullptr;
    QLabel* pic_imgsSmall = nullptr;
    QLabel* lbl_imgName = nullptr;
    QPushButton* cmd_img = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    Pictures::Slot picture;
    Pictures::Slot thumbnail;

    // The thumbnail box: 2115 x 1305 twips at first, then the last thumbnail's size.
    QSize m_thumbBoxPx;
};

// "添加数据": adds a picture to the selected page.
class insDataFrm_imgs : public GalleryEntryDialog {
    Q_OBJECT
public:
    insDataFrm_imgs(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent = nullptr);

private:
    void OKButton_Click() override;
};

// "预览数据": shows the ticked picture and changes it.
class insDataFrm_imgsMod : public GalleryEntryDialog {
    Q_OBJECT
public:
    insDataFrm_imgsMod(AppContext& ctx, const PageRef& page, const QString& currID, QWidget* parent = nullptr);
    bool Form_Load() override;

private:
    void OKButton_Click() override;
};
