#include "NameStyleChooser.h"

#include "ThumbnailLayout.h"
#include "app/AppContext.h"
#include "text/Twips.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int kBorder = 2;                 // pixels of the border around the clicked picture
constexpr int kMissingHeight = 60;         // a style whose picture is missing keeps a blank line this high
const QColor kBorderColor(0x1f, 0x5f, 0xbf); // the house blue

} // namespace

NameStyleChooser::NameStyleChooser(AppContext& ctx, Kind kind, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_kind(kind)
{
    setObjectName(kind == Kind::Home ? QStringLiteral("sltTmplFrm_defaultFont") : QStringLiteral("sltTmplFrm_headFont"));
    setWindowTitle(QStringLiteral("选择字体"));
    setModal(true);

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    // The name is drawn in white or in colour over the page head, so the panel shows that kind of ground.
    QPalette pal = Picture1->palette();
    pal.setColor(QPalette::Window, QColor(0x6a, 0x8c, 0xb8));
    Picture1->setPalette(pal);
    Picture1->setMinimumSize(440, 300);
    Picture1->installEventFilter(this);
    scrlVer = new QScrollBar(Qt::Vertical, this);
    scrlVer->setObjectName(QStringLiteral("scrlVer"));
    scrlVer->setSingleStep(300);
    OKButton = new QPushButton(QStringLiteral("确定"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("取消"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* panel = new QHBoxLayout;
    panel->setSpacing(0);
    panel->addWidget(Picture1, 1);
    panel->addWidget(scrlVer);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* root = new QVBoxLayout(this);
    root->addLayout(panel, 1);
    root->addLayout(buttons);

    connect(scrlVer, &QScrollBar::valueChanged, this, &NameStyleChooser::scrlVer_Change);
    connect(OKButton, &QPushButton::clicked, this, &NameStyleChooser::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    loadFonts();
}

void NameStyleChooser::loadFonts()
{
    const SqlResult r = m_ctx.conn.selectFonts();
    if (!r) {
        m_ctx.dialogs.message(r.error, QStringLiteral("提示"), MsgIcon::Information);
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

void NameStyleChooser::updateScrollRange()
{
    const int panel = Twips::fromPixels(Picture1->height());
    scrlVer->setRange(0, ThumbnailLayout::stackScrollMax(m_heights, panel));
    scrlVer->setPageStep(panel);
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
    if (watched == Picture1) {
        if (event->type() == QEvent::Resize)
            updateScrollRange();
        else if (event->type() == QEvent::Wheel)
            return QApplication::sendEvent(scrlVer, event);
        return QDialog::eventFilter(watched, event);
    }
    const int index = static_cast<int>(img.indexOf(qobject_cast<QLabel*>(watched)));
    if (index >= 0 && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        img_Click(index);
        if (event->type() == QEvent::MouseButtonDblClick)
            OKButton_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void NameStyleChooser::OKButton_Click()
{
    if (m_index < 0 || img.at(m_index)->frameShape() != QFrame::Box) {
        m_ctx.dialogs.message(QStringLiteral("请选择一种字体！"), QStringLiteral("提示"), MsgIcon::Information);
        return;
    }
    const QString column = m_kind == Kind::Home ? QStringLiteral("defaultFont") : QStringLiteral("headFont");
    const SqlResult r = m_ctx.conn.updateUserInfo(column, m_font);
    if (!r) {
        m_ctx.dialogs.message(r.error, QStringLiteral("错误"), MsgIcon::Critical);
        return;
    }
    m_chosen = m_font;
    accept();
}
