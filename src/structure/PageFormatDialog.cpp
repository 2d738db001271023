#include "PageFormatDialog.h"

#include "core/AppContext.h"
#include "core/Messages.h"
#include "structure/DialogParts.h"
#include "structure/StructureEditor.h"
#include "structure/disModel.h"
#include "text/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

using Twips::toPixels;

namespace {
constexpr int kAreaWidth = 8460;  // room for three tiles with their margins
constexpr int kAreaHeight = 5000; // two rows of tiles in view
constexpr int kLine1Y = 375;
// Selecting the first entry of an empty list fails like an invalid property value.
const QString kEmptyListFailure = QStringLiteral("无效的属性值");
} // namespace

PageFormatDialog::PageFormatDialog(AppContext& ctx, StructureEditor& editor, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_editor(editor)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    chk_prod = new QCheckBox(QStringLiteral("产品类型"), this);
    chk_prod->setObjectName(QStringLiteral("chk_prod"));
    cmb_type = new QComboBox(this);
    cmb_type->setObjectName(QStringLiteral("cmb_type"));
    cmb_class = new QComboBox(this);
    cmb_class->setObjectName(QStringLiteral("cmb_class"));
    for (QComboBox* c : {cmb_type, cmb_class}) {
        c->setMinimumWidth(toPixels(1800));
        c->setEnabled(false);
    }

    // The tiles sit where the format table puts them, on a white sheet that scrolls.
    Picture1 = new QScrollArea(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(toPixels(kAreaWidth), toPixels(kAreaHeight));
    Picture1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Picture1->verticalScrollBar()->setObjectName(QStringLiteral("vscrl"));
    m_tileArea = new QWidget;
    m_tileArea->setObjectName(QStringLiteral("tileArea"));
    m_tileArea->setAutoFillBackground(true);
    QPalette pal = m_tileArea->palette();
    pal.setColor(QPalette::Window, Qt::white);
    m_tileArea->setPalette(pal);
    Picture1->setWidget(m_tileArea);

    auto* lbl_model = new QLabel(QStringLiteral("显示模式"), m_tileArea);
    lbl_model->setObjectName(QStringLiteral("lbl_model"));
    QFont bold = lbl_model->font();
    bold.setBold(true);
    lbl_model->setFont(bold);
    lbl_model->adjustSize();
    lbl_model->move(toPixels(300), toPixels(150));
    auto* Line1 = new QFrame(m_tileArea);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Line1->setGeometry(toPixels(300), toPixels(kLine1Y), toPixels(kAreaWidth - 2 * 300) - 16, 2);

    m_head = new QVBoxLayout;
    m_head->setContentsMargins(0, 0, 0, 0);
    auto* prodRow = new QHBoxLayout;
    prodRow->addWidget(chk_prod);
    prodRow->addSpacing(toPixels(300));
    prodRow->addWidget(new QLabel(QStringLiteral("一级分类："), this));
    prodRow->addWidget(cmb_type);
    prodRow->addSpacing(toPixels(200));
    prodRow->addWidget(new QLabel(QStringLiteral("二级分类："), this));
    prodRow->addWidget(cmb_class);
    prodRow->addStretch(1);
    QHBoxLayout* buttonRow = confirmButtons(this, cmd_cfm, cmd_cnl);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(toPixels(200), toPixels(200), toPixels(200), toPixels(200));
    outer->setSpacing(toPixels(120));
    outer->addLayout(m_head);
    outer->addLayout(prodRow);
    outer->addWidget(Picture1);
    outer->addLayout(buttonRow);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(chk_prod, &QCheckBox::toggled, this, &PageFormatDialog::chk_prod_Click);
    connect(cmb_type, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            fillProdClasses(cmb_type->itemText(i));
    });

    layoutFormatTiles(DisplayFormats::tiles(false));
    fillProdTypes();
}

QString PageFormatDialog::selectedModel() const
{
    for (const disModel* t : m_tiles)
        if (t->selected())
            return t->model();
    return {};
}

void PageFormatDialog::report(const Outcome& outcome)
{
    for (const Notice& n : outcome.notices)
        m_ctx.dialogs.message(n.text, n.title, n.icon);
}

void PageFormatDialog::layoutFormatTiles(const QList<DisplayFormats::Format>& table)
{
    qDeleteAll(m_tiles);
    m_tiles.clear();
    const DisplayFormats::TileLayout layout = DisplayFormats::layoutFormatTiles(
        int(table.size()), disModel::kWidthTwips, disModel::kHeightTwips, kLine1Y, kAreaHeight);
    for (int i = 0; i < table.size(); ++i) {
        auto* tile = new disModel(m_ctx.appPath + QStringLiteral("images/H_POINT.CUR"), m_tileArea);
        tile->setCaption(table.at(i).caption);
        tile->setModel(table.at(i).code);
        tile->setPicName(m_ctx.appPath + table.at(i).tilePicture);
        tile->move(toPixels(layout.spots.at(i).left), toPixels(layout.spots.at(i).top));
        tile->show();
        connect(tile, &disModel::Click, this, [this, i] { disModelObj_Click(i); });
        m_tiles.append(tile);
    }
    m_tileArea->setFixedSize(toPixels(kAreaWidth) - Picture1->verticalScrollBar()->sizeHint().width() - 2,
                             toPixels(layout.height));
    Picture1->verticalScrollBar()->setValue(0);
    disModelObj_Click(0);
}

void PageFormatDialog::disModelObj_Click(int index)
{
    for (int k = 0; k < m_tiles.size(); ++k)
        m_tiles.at(k)->setSelected(k == index);
}

bool PageFormatDialog::fillChoiceList(QComboBox* box, const SqlResult& rows, const QString& column)
{
    if (!rows) {
        m_ctx.dialogs.message(rows.error, Messages::notice(), MsgIcon::Critical);
        return false;
    }
    {
        const QSignalBlocker block(box);
        box->clear();
        for (const QSqlRecord& row : rows.rows)
            box->addItem(fieldText(row, column));
    }
    if (box->count() == 0) {
        m_ctx.dialogs.message(kEmptyListFailure, Messages::notice(), MsgIcon::Critical);
        return false;
    }
    box->setCurrentIndex(-1);
    box->setCurrentIndex(0); // counts as choosing it: for a type, its classes follow
    return true;
}

bool PageFormatDialog::fillProdTypes()
{
    return fillChoiceList(cmb_type, m_ctx.conn.selectProdTypes(), QStringLiteral("type_name"));
}

bool PageFormatDialog::fillProdClasses(const QString& typeName)
{
    return fillChoiceList(cmb_class, m_ctx.conn.selectProdClasses(typeName), QStringLiteral("class_name"));
}

void PageFormatDialog::chk_prod_Click(bool ticked)
{
    cmb_type->setEnabled(ticked);
    cmb_class->setEnabled(ticked);
    if (ticked)
        fillProdTypes();
    layoutFormatTiles(DisplayFormats::tiles(ticked));
}
