#pragma once

#include "content/ContentStore.h"
#include "content/EntryDialog.h"
#include "content/Pictures.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The picture dialogs of an "imgs" page: a caption, the picture shown at full
// size in a scrolling box, and the thumbnail the dialog makes itself.
class GalleryEntryDialog : public EntryDialog {
    Q_OBJECT
public:
    // The viewing box and the thumbnail box as laid out in the form, in twips.
    static constexpr int kViewWidth = 5685;
    static constexpr int kViewHeight = 3000;
    static constexpr int kThumbBoxWidth = 2115;
    static constexpr int kThumbBoxHeight = 1305;

    QLineEdit* txt_title = nullptr;
    QFrame* pic_imgs = nullptr;
    QLabel* img = nullptr;
    QScrollBar* scrl[2] = {}; // 0 vertical, 1 horizontal
    QLabel* lbl_angr = nullptr;
    QLabel* pic_imgsSmall = nullptr;
    QLabel* lbl_imgName = nullptr;
    QPushButton* cmd_img = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    Pictures::Slot picture;
    Pictures::Slot thumbnail;

public Q_SLOTS:
    void cmd_img_Click();

protected:
    GalleryEntryDialog(AppContext& ctx, insDataFrm& owner, QWidget* parent, const QString& caption,
                       const QString& okCaption);
    ContentStore::GalleryItem item() const;
    // The picture at full size in the viewing box, with scroll bars when it is larger.
    void showFull(const QImage& picture);
    void showThumbnail(const QImage& thumb, const QSize& boxPx);

    // The thumbnail box: 2115 x 1305 twips at first, then the last thumbnail's size.
    QSize m_thumbBoxPx;
};

// "添加数据": adds a picture to the selected page.
class insDataFrm_imgs : public GalleryEntryDialog {
    Q_OBJECT
public:
    insDataFrm_imgs(AppContext& ctx, insDataFrm& owner, QWidget* parent = nullptr);
    void OKButton_Click() override;
};

// "预览数据": shows the ticked picture and changes it.
class insDataFrm_imgsMod : public GalleryEntryDialog {
    Q_OBJECT
public:
    insDataFrm_imgsMod(AppContext& ctx, insDataFrm& owner, QWidget* parent = nullptr);
    bool Form_Load() override;
    void OKButton_Click() override;
};
