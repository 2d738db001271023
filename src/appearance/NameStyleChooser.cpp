#include "NameStyleChooser.h"

#include "ThumbnailLayout.h"
#include "core/AppContext.h"
#include "core/Messages.h"
#include "text/Twips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int kBorder = 2;                   // pixels of the border around the clicked picture
constexpr int kMissingHeight = 60;           // a style whose picture is missing keeps a blank line this high
const QColor kBorderColor(0x1f, 0x5f, 0xbf); // the house blue

} // namespace

NameStyleChooser::NameStyleChooser(AppContext& ctx, Kind kind, QWidget* parent)
    : PictureChooser(ctx, parent), m_kind(kind)
{
    setObjectName(kind == Kind::Home ? QStringLiteral("sltTmplFrm_defaultFont")
                                     : QStringLiteral("sltTmplFrm_headFont"));
    setWindowTitle(QStringLiteral("选择字体"));

    // The name is drawn in white or in colour over the page head, so the panel shows that kind of ground.
    QHBoxLayout* panel = buildPanel(QColor(0x6a, 0x8c, 0xb8), 300);
    Picture1->setMinimumSize(440, 300);
    buildButtons();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* root = new QVBoxLayout(this);
    root->addLayout(panel, 1);
    root->addLayout(buttons);

    connect(scrlVer, &QScrollBar::valueChanged, this, &NameStyleChooser::scrlVer_Change);
    connect(OKButton, &QPushButton::clicked, this, &NameStyleChooser::OKButton_Click);

    loadFonts();
}

void NameStyleChooser::loadFonts()
{
    const SqlResult r = m_ctx.conn.selectFonts();
    if (!r) {
        m_ctx.dialogs.message(r.error, Messages::notice(), MsgIcon::Information);
        return;
    }
    for (const QSqlRecord& row : r.rows) {
        const QString font = fieldText(row, QStringLiteral("font"));
        auto* image = new QLabel(Picture1);
        image->setObjectName(QStringLiteral("img"));
        image->setProperty("tag", font);
        image->setFrameShadow(QFrame::Plain);
        image->setLineWidth(kBorder);
        QPalette pal = image->palette();
        pal.setColor(QPalette::WindowText, kBorderColor);
        image->setPalette(pal);
        const QPixmap pix(m_ctx.appPath + QStringLiteral("fonts/") + font);
        image->setPixmap(pix);
        const QSize size = pix.isNull() ? QSize(400, kMissingHeight) : pix.size();
        image->resize(size.width() + 2 * kBorder, size.height() + 2 * kBorder);
        image->installEventFilter(this);
        m_heights << Twips::fromPixels(image->height());
        img << image;
    }
    scrlVer_Change(0);
    updateScrollRange();
}

void NameStyleChooser::scrlVer_Change(int value)
{
    const QList<int> tops = ThumbnailLayout::stackTops(m_heights);
    for (int i = 0; i < img.size(); ++i)
        img.at(i)->move(Twips::toPixels(ThumbnailLayout::kStackGap), Twips::toPixels(tops.at(i) - value));
}

int NameStyleChooser::scrollMax(int panelHeight) const
{
    return ThumbnailLayout::stackScrollMax(m_heights, panelHeight);
}

void NameStyleChooser::img_Click(int index)
{
    for (int i = 0; i < img.size(); ++i)
        img.at(i)->setFrameShape(i == index ? QFrame::Box : QFrame::NoFrame);
    m_index = index;
    m_font = img.at(index)->property("tag").toString();
}

bool NameStyleChooser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Picture1)
        return PictureChooser::eventFilter(watched, event);
    const int index = static_cast<int>(img.indexOf(qobject_cast<QLabel*>(watched)));
    if (index >= 0 && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        img_Click(index);
        if (event->type() == QEvent::MouseButtonDblClick)
            OKButton_Click();
        return true;
    }
    return PictureChooser::eventFilter(watched, event);
}

void NameStyleChooser::OKButton_Click()
{
    if (m_index < 0) { // no picture has the border
        m_ctx.dialogs.message(QStringLiteral("请选择一种字体！"), Messages::notice(), MsgIcon::Information);
        return;
    }
    storeChoice(m_kind == Kind::Home ? QStringLiteral("defaultFont") : QStringLiteral("headFont"), m_font);
}
