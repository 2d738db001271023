#include "ArchiveSender.h"

#include "core/Messages.h"
#include "text/ErrorText.h"

#include <QTcpSocket>
#include <QTimer>

namespace {
constexpr qint64 kChunkSize = 256 * 1024;
// Keep about this much queued in the socket: enough to keep the connection busy.
constexpr qint64 kHighWater = 1024 * 1024;
} // namespace

ArchiveSender::ArchiveSender(QObject* parent) : QObject(parent) {}

QString ArchiveSender::tooLargeText(qint64 length)
{
    return QStringLiteral("上传文件太大（%1 字节），不能超过 %2 字节（约 2GB），请减少图片后再上传！")
        .arg(length)
        .arg(kMaxLength);
}

QString ArchiveSender::interruptedText()
{
    return QStringLiteral("与服务器的连接已断开，数据没有上传完成！请重新连接服务器后再上传。");
}

bool ArchiveSender::sendZipFile(QTcpSocket* socket, const QString& path, qint64 announcedLength)
{
    m_error.clear();
    if (m_active) {
        m_error = QStringLiteral("正在上传数据，请稍候。");
        return false;
    }
    if (!fitsLengthField(announcedLength)) {
        m_error = tooLargeText(announcedLength);
        return false;
    }
    if (!socket || socket->state() != QAbstractSocket::ConnectedState) {
        m_error = Messages::text(Messages::Id::NotConnected);
        return false;
    }
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("无法打开上传文件：%1").arg(ErrorText::file(m_file));
        return false;
    }
    if (m_file.size() != announcedLength) {
        // The server counts exactly the announced bytes; anything else corrupts the session.
        m_error = QStringLiteral("上传文件在打包后被改动（%1 字节，通知服务器的是 %2 字节），请重新上传。")
                      .arg(m_file.size())
                      .arg(announcedLength);
        m_file.close();
        return false;
    }

    m_socket = socket;
    m_total = announcedLength;
    m_queued = 0;
    m_written = 0;
    m_foreign = socket->bytesToWrite();
    m_active = true;
    m_chunk.resize(kChunkSize);
    connect(socket, &QTcpSocket::bytesWritten, this, &ArchiveSender::onBytesWritten);
    connect(socket, &QTcpSocket::disconnected, this, &ArchiveSender::onConnectionLost);
    connect(socket, &QTcpSocket::errorOccurred, this, &ArchiveSender::onConnectionLost);

    // Started from the event loop, so every outcome arrives as a signal after this returns.
    QTimer::singleShot(0, this, [this] {
        if (!m_active)
            return;
        if (m_total == 0)
            finish(); // nothing to write, and the socket will not report anything
        else
            refill();
    });
    return true;
}

void ArchiveSender::refill()
{
    while (m_active && m_queued < m_total && m_socket->bytesToWrite() < kHighWater) {
        const qint64 want = qMin(kChunkSize, m_total - m_queued);
        const qint64 got = m_file.read(m_chunk.data(), want);
        if (got <= 0) {
            abortWith(QStringLiteral("读取上传文件出错：%1").arg(ErrorText::file(m_file)));
            return;
        }
        const qint64 put = m_socket->write(m_chunk.constData(), got);
        if (put != got) {
            abortWith(interruptedText());
            return;
        }
        m_queued += got;
    }
}

void ArchiveSender::onBytesWritten(qint64 n)
{
    if (!m_active)
        return;
    const qint64 foreign = qMin(n, m_foreign);
    m_foreign -= foreign;
    const qint64 ours = n - foreign;
    if (ours <= 0)
        return;
    m_written += ours;
    Q_EMIT progress(ours, m_total - m_written);
    if (!m_active)
        return; // a progress handler cancelled
    if (m_written >= m_total)
        finish();
    else
        refill();
}

void ArchiveSender::onConnectionLost()
{
    if (m_active)
        abortWith(interruptedText());
}

void ArchiveSender::cancel()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_socket)
        disconnect(m_socket, nullptr, this, nullptr);
    m_file.close();
}

void ArchiveSender::finish()
{
    cancel();
    Q_EMIT completed();
}

void ArchiveSender::abortWith(const QString& text)
{
    cancel();
    m_error = text;
    Q_EMIT failed(text);
}
