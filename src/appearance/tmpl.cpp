#include "tmpl.h"

#include "ThumbnailLayout.h"
#include "text/Twips.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QCache>
#include <QRadioButton>

namespace {

constexpr int kOptionHeight = 20; // pixels below the picture for the option button
constexpr int kBorder = 2;        // pixels of the border around the selected picture

QSize pictureBox()
{
    return {Twips::toPixels(ThumbnailLayout::kWidth) - 2 * kBorder,
            Twips::toPixels(ThumbnailLayout::kHeight) - kOptionHeight - 2 * kBorder};
}

// Template pictures are decoded once at the size they are shown and kept
// while the file is unchanged, so a chooser with many templates opens fast.
QPixmap thumbnailPixmap(const QString& path, const QSize& box)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    const QString key = QStringLiteral("tmpl:%1:%2:%3x%4")
                            .arg(path)
                            .arg(info.lastModified().toMSecsSinceEpoch())
                            .arg(box.width())
                            .arg(box.height());
    // Room for a few hundred thumbnails, counted in kilobytes.
    static QCache<QString, QPixmap> cache(32 * 1024);
    if (const QPixmap* hit = cache.object(key))
        return *hit;
    QImageReader reader(path);
    const QSize full = reader.size();
    if (full.isValid() && (full.width() > box.width() || full.height() > box.height()))
        reader.setScaledSize(full.scaled(box, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    const QPixmap pix = QPixmap::fromImage(image);
    cache.insert(key, new QPixmap(pix), qMax<qsizetype>(1, image.sizeInBytes() / 1024));
    return pix;
}

} // namespace

tmpl::tmpl(const QString& appPath, QWidget* parent) : QWidget(parent), m_appPath(appPath)
{
    const QSize box = pictureBox() + QSize(2 * kBorder, 2 * kBorder);
    resize(box.width(), box.height() + kOptionHeight);
    imgTmpl = new QLabel(this);
    imgTmpl->setObjectName(QStringLiteral("imgTmpl"));
    imgTmpl->setGeometry(0, 0, box.width(), box.height());
    imgTmpl->setAlignment(Qt::AlignCenter);
    imgTmpl->setFrameShadow(QFrame::Plain);
    imgTmpl->setLineWidth(kBorder);
    QPalette pal = imgTmpl->palette();
    pal.setColor(QPalette::WindowText, QColor(0x1f, 0x5f, 0xbf));
    imgTmpl->setPalette(pal);
    optTmpl = new QRadioButton(this);
    optTmpl->setObjectName(QStringLiteral("optTmpl"));
    // Each thumbnail keeps its own state; the chooser unticks the others.
    optTmpl->setAutoExclusive(false);
    optTmpl->setGeometry(box.width() / 2 - 36, box.height(), 80, kOptionHeight);
    connect(optTmpl, &QRadioButton::clicked, this, [this](bool ticked) {
        if (!ticked) {
            optTmpl->setChecked(true); // a second click keeps the choice
            return;
        }
        emit clicked();
    });
}

void tmpl::setValue(const QString& value)
{
    m_value = value;
    optTmpl->setText(value.section(QLatin1Char('.'), 0, 0));
    // A missing picture leaves the picture empty; a present one is framed tightly.
    const QPixmap pix = thumbnailPixmap(m_appPath + QStringLiteral("template/") + value, pictureBox());
    imgTmpl->setPixmap(pix);
    const QSize box = pictureBox() + QSize(2 * kBorder, 2 * kBorder);
    const QSize framed = pix.isNull() ? box : pix.size() + QSize(2 * kBorder, 2 * kBorder);
    imgTmpl->setGeometry((box.width() - framed.width()) / 2, box.height() - framed.height(), framed.width(),
                         framed.height());
}

void tmpl::setSelected(int selected)
{
    m_selected = selected == 1 ? 1 : 0;
    imgTmpl->setFrameShape(m_selected ? QFrame::Box : QFrame::NoFrame);
    optTmpl->setChecked(m_selected == 1);
}

void tmpl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QWidget::mousePressEvent(event);
}

void tmpl::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The double-clicked thumbnail is the chosen one even when no press came first.
    if (event->button() == Qt::LeftButton) {
        emit clicked();
        emit doubleClicked();
    }
}
