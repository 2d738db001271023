#include "disModel.h"

#include "text/Twips.h"

#include <QCursor>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>

namespace {

constexpr int kPicWidth = 150;
constexpr int kPicHeight = 104;
constexpr int kPicTop = 4;

// A .CUR file keeps the hot spot of its first image in the directory entry.
QCursor loadCursor(const QString& file)
{
    static QHash<QString, QCursor> cache;
    const auto it = cache.constFind(file);
    if (it != cache.constEnd())
        return *it;
    QCursor cursor(Qt::PointingHandCursor);
    QFile f(file);
    const QPixmap pix(file);
    if (!pix.isNull() && f.open(QIODevice::ReadOnly)) {
        const QByteArray head = f.read(22);
        if (head.size() == 22) {
            const auto u16 = [&](int at) { return int(quint8(head[at])) | (int(quint8(head[at + 1])) << 8); };
            cursor = QCursor(pix, u16(10), u16(12));
        }
    }
    cache.insert(file, cursor);
    return cursor;
}

} // namespace

disModel::disModel(const QString& cursorFile, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("disModel"));
    setFixedSize(Twips::toPixels(kWidthTwips), Twips::toPixels(kHeightTwips));
    setCursor(loadCursor(cursorFile));

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("img_model"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setGeometry((width() - kPicWidth) / 2, kPicTop, kPicWidth, kPicHeight);
    m_picture->setFrameShape(QFrame::Box);
    m_picture->setStyleSheet(QStringLiteral("QLabel{background:#ffffff;color:#808080;border:1px solid #a0a0a0;}"));
    m_picture->installEventFilter(this);

    m_option = new QRadioButton(this);
    m_option->setObjectName(QStringLiteral("opt_model"));
    m_option->setAutoExclusive(false);
    connect(m_option, &QRadioButton::clicked, this, [this] {
        m_option->setChecked(true); // stays on until another tile takes over
        emit Click();
    });
}

QString disModel::caption() const
{
    return m_option->text();
}

void disModel::setCaption(const QString& caption)
{
    m_option->setText(caption);
    m_option->adjustSize();
    // Centred under the picture, 100 twips below it.
    const int x = m_picture->geometry().center().x() - m_option->width() / 2;
    m_option->move(std::max(0, x), m_picture->geometry().bottom() + 1 + Twips::toPixels(100));
    if (!m_hasPicture)
        m_picture->setText(caption);
}

void disModel::setPicName(const QString& path)
{
    m_picName = path;
    const QPixmap pix(path);
    m_hasPicture = !pix.isNull();
    if (m_hasPicture) {
        m_picture->setPixmap(
            pix.scaled(m_picture->size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } else {
        m_picture->setPixmap(QPixmap());
        m_picture->setText(caption());
    }
}

bool disModel::selected() const
{
    return m_option->isChecked();
}

void disModel::setSelected(bool selected)
{
    m_option->setChecked(selected);
    update();
}

bool disModel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_picture && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void disModel::paintEvent(QPaintEvent*)
{
    if (!selected())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x31, 0x6a, 0xc5), 1));
    p.setBrush(QColor(0xc7, 0xdb, 0xf5));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}
