#include "tmpl.h"

#include "ThumbnailLayout.h"
#include "text/Twips.h"

#include <QCache>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>

namespace {

constexpr int kOptionHeight = 20; // pixels below the picture for the option button
constexpr int kBorder = 2;        // pixels of the border around the selected picture

// The room for the picture itself, inside its border.
QSize pictureBox()
{
    return {Twips::toPixels(ThumbnailLayout::kWidth) - 2 * kBorder,
            Twips::toPixels(ThumbnailLayout::kHeight) - kOptionHeight - 2 * kBorder};
}

// Template pictures are decoded once at the size they are shown and kept
// while the file is unchanged.
QPixmap thumbnailPixmap(const QString& path, const QSize& size)
{
    const QFileInfo info(path);
    const QString key = QStringLiteral("%1:%2:%3x%4")
                            .arg(path)
                            .arg(info.lastModified().toMSecsSinceEpoch())
                            .arg(size.width())
                            .arg(size.height());
    // Room for a few hundred thumbnails, counted in kilobytes.
    static QCache<QString, QPixmap> cache(32 * 1024);
    if (const QPixmap* hit = cache.object(key))
        return *hit;
    QImageReader reader(path);
    if (reader.size() != size)
        reader.setScaledSize(size);
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
    m_picture = m_appPath + QStringLiteral("template/") + value;
    // Only the picture's size is read now: the picture itself is decoded when the
    // thumbnail first comes into view, so a large category opens at once.
    const QSize box = pictureBox();
    const QSize full = QImageReader(m_picture).size();
    m_pictureSize = !full.isValid()                                              ? QSize()
                    : full.width() > box.width() || full.height() > box.height() ? full.scaled(box, Qt::KeepAspectRatio)
                                                                                 : full;
    m_picturePending = m_pictureSize.isValid();
    imgTmpl->clear(); // a missing picture leaves the picture empty
    const QSize framed = (m_pictureSize.isValid() ? m_pictureSize : box) + QSize(2 * kBorder, 2 * kBorder);
    imgTmpl->setGeometry((box.width() + 2 * kBorder - framed.width()) / 2, box.height() + 2 * kBorder - framed.height(),
                         framed.width(), framed.height());
    update();
}

bool tmpl::hasPicture() const
{
    return imgTmpl->pixmap().isNull() == false;
}

void tmpl::setSelected(int selected)
{
    m_selected = selected == 1 ? 1 : 0;
    imgTmpl->setFrameShape(m_selected ? QFrame::Box : QFrame::NoFrame);
    optTmpl->setChecked(m_selected == 1);
}

void tmpl::paintEvent(QPaintEvent* event)
{
    if (m_picturePending) {
        m_picturePending = false;
        imgTmpl->setPixmap(thumbnailPixmap(m_picture, m_pictureSize));
    }
    QWidget::paintEvent(event);
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
