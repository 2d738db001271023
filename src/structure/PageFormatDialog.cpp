#include "PageFormatDialog.h"

#include "app/AppContext.h"
#include "structure/DialogParts.h"
#include "structure/Twips.h"
#include "structure/designFrm.h"
#include "structure/disModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {
constexpr int kAreaWidth = 8460;  // room for three tiles with their margins
constexpr int kAreaHeight = 5000; // two rows of tiles in view
// Selecting the first entry of an empty list fails like an invalid property value.
const QString kEmptyListFailure = QStringLiteral("无效的属性值");
} // namespace

PageFormatDialog::PageFormatDialog(designFrm& designer, QWidget* parent)
    : QDialog(parent), m_designer(designer), m_ctx(designer.context())
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    chk_prod = new QCheckBox(QStringLiteral("产品类型"), this);
    chk_prod->setObjectName(QStringLiteral("chk_prod"));
    cmb_type = new QComboBox(this);
    cmb_type->setObjectName(QStringLiteral("cmb_type"));
    cmb_class = new QComboBox(this);
    cmb_class->setObjectName(QStringLiteral("cmb_class"));
    for (QComboBox* c : {cmb_type, cmb_class}) {
        c->setMinimumWidth(twips(1800));
        c->setEnabled(false);
    }
    auto* lbl_type = new QLabel(QStringLiteral("一级分类："), this);
    auto* lbl_class = new QLabel(QStringLiteral("二级分类："), this);

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(twips(kAreaWidth), twips(kAreaHeight));
    Picture1->setAutoFillBackground(true);
    QPalette pal = Picture1->palette();
    pal.setColor(QPalette::Window, Qt::white);
    Picture1->setPalette(pal);
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->installEventFilter(this);

    lbl_model = new QLabel(QStringLiteral("显示模式"), Picture1);
    lbl_model->setObjectName(QStringLiteral("lbl_model"));
    QFont bold = lbl_model->font();
    bold.setBold(true);
    lbl_model->setFont(bold);
    lbl_model->adjustSize();
    Line1 = new QFrame(Picture1);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Line1->setFixedHeight(2);
    Line1->setFixedWidth(Picture1->width() - 2 * twips(300));

    vscrl = new QScrollBar(Qt::Vertical, this);
    vscrl->setObjectName(QStringLiteral("vscrl"));
    vscrl->setFixedHeight(Picture1->height());
    vscrl->setSingleStep(150);
    vscrl->setPageStep(1500);
    vscrl->setRange(0, 0);

    m_head = new QVBoxLayout;
    m_head->setContentsMargins(0, 0, 0, 0);
    auto* prodRow = new QHBoxLayout;
    prodRow->addWidget(chk_prod);
    prodRow->addSpacing(twips(300));
    prodRow->addWidget(lbl_type);
    prodRow->addWidget(cmb_type);
    prodRow->addSpacing(twips(200));
    prodRow->addWidget(lbl_class);
    prodRow->addWidget(cmb_class);
    prodRow->addStretch(1);
    auto* areaRow = new QHBoxLayout;
    areaRow->setSpacing(0);
    areaRow->addWidget(Picture1);
    areaRow->addWidget(vscrl);
    QHBoxLayout* buttonRow = confirmButtons(this, cmd_cfm, cmd_cnl);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(twips(200), twips(200), twips(200), twips(200));
    outer->setSpacing(twips(120));
    outer->addLayout(m_head);
    outer->addLayout(prodRow);
    outer->addLayout(areaRow);
    outer->addLayout(buttonRow);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(chk_prod, &QCheckBox::toggled, this, &PageFormatDialog::chk_prod_Click);
    connect(cmb_type, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            fillProdClasses(cmb_type->itemText(i));
    });
    connect(vscrl, &QScrollBar::valueChanged, this, &PageFormatDialog::vscrl_Change);

    // Opening: both tables, the general tiles, the product types.
    m_tiles.append(makeTile());
    m_tables = DisplayFormats::buildFormatTables(m_ctx.appPath);
    vscrl_Change(0);
    layoutFormatTiles(m_tables.general);
    fillProdTypes();
}

disModel* PageFormatDialog::makeTile()
{
    auto* tile = new disModel(m_ctx.appPath + QStringLiteral("images/H_POINT.CUR"), Picture1);
    connect(tile, &disModel::Click, this, [this, tile] { disModelObj_Click(int(m_tiles.indexOf(tile))); });
    return tile;
}

QString PageFormatDialog::selectedModel() const
{
    for (const disModel* t : m_tiles)
        if (t->selected())
            return t->model();
    return {};
}

void PageFormatDialog::layoutFormatTiles(const QList<FormatEntry>& table)
{
    vscrl->setValue(0);
    while (m_tiles.size() > 1)
        delete m_tiles.takeLast();
    const DisplayFormats::TileLayout layout = DisplayFormats::layoutFormatTiles(
        int(table.size()), disModel::kWidthTwips, disModel::kHeightTwips, 375, kAreaHeight);
    for (int i = 0; i < table.size(); ++i) {
        if (i >= m_tiles.size())
            m_tiles.append(makeTile());
        disModel* tile = m_tiles.at(i);
        tile->setCaption(table.at(i).caption);
        tile->setModel(table.at(i).code);
        tile->setPicName(table.at(i).picName);
        tile->move(twips(layout.spots.at(i).left), twips(layout.spots.at(i).top));
        tile->setVisible(true);
    }
    vscrl->setRange(0, layout.scrollMax);
    if (!m_tiles.isEmpty())
        disModelObj_Click(0);
}

void PageFormatDialog::disModelObj_Click(int index)
{
    for (int k = 0; k < m_tiles.size(); ++k)
        m_tiles.at(k)->setSelected(k == index);
}

void PageFormatDialog::vscrl_Change(int value)
{
    const int rows = int((m_tiles.size() + 2) / 3);
    const DisplayFormats::ScrolledPositions p = DisplayFormats::scrolledPositions(value, rows);
    lbl_model->move(twips(300), twips(p.labelTop));
    Line1->move(twips(300), twips(p.lineY));
    for (int i = 0; i < m_tiles.size(); ++i)
        m_tiles.at(i)->move(m_tiles.at(i)->x(), twips(p.rowTops.at(i / 3)));
}

void PageFormatDialog::reportFailure(const QString& description)
{
    m_ctx.dialogs.message(description, QStringLiteral("提示"), MsgIcon::Critical);
}

bool PageFormatDialog::fillChoiceList(QComboBox* box, const SqlResult& rows, const QString& column)
{
    if (!rows) {
        reportFailure(rows.error);
        return false;
    }
    {
        const QSignalBlocker block(box);
        box->clear();
        for (const QSqlRecord& row : rows.rows)
            box->addItem(fieldText(row, column));
    }
    if (box->count() == 0) {
        reportFailure(kEmptyListFailure);
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
    if (ticked) {
        fillProdTypes();
        layoutFormatTiles(m_tables.product);
    } else {
        layoutFormatTiles(m_tables.general);
    }
}

bool PageFormatDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Picture1 && event->type() == QEvent::Wheel) {
        QApplication::sendEvent(vscrl, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
