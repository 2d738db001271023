#pragma once

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QString>

class QTcpSocket;

// Streams the upload archive to the server: the file is read in chunks and the
// next chunk is handed to the socket only when its buffer has drained, so memory
// stays small however big the site is.
class ArchiveSender : public QObject {
    Q_OBJECT
public:
    explicit ArchiveSender(QObject* parent = nullptr);

    // The length is announced in a 32-bit signed field.
    static constexpr qint64 kMaxLength = 2147483647;
    static bool fitsLengthField(qint64 length) { return length >= 0 && length <= kMaxLength; }
    static QString tooLargeText(qint64 length);
    static QString uploadingText() { return QStringLiteral("正在上传数据..."); }
    static QString completedText() { return QStringLiteral("数据传输完毕！"); }
    static QString interruptedText();

    // Starts sending the file at path, whose length was announced as
    // announcedLength. False when nothing could be sent (too large, file missing
    // or changed since it was announced, socket not connected); errorText() says why.
    // When it returns true, progress and then completed() or failed() follow.
    bool sendZipFile(QTcpSocket* socket, const QString& path, qint64 announcedLength);
    QString errorText() const { return m_error; }

    bool isSending() const { return m_active; }
    qint64 bytesSent() const { return m_written; }
    // Stops feeding the socket; no further signals.
    void cancel();

Q_SIGNALS:
    // Bytes of the archive written to the connection since the last event, and those still to go.
    void progress(qint64 bytesSent, qint64 bytesRemaining);
    // Every byte of the archive has been handed to the connection.
    void completed();
    // The connection closed or failed (or the file could not be read) before the end.
    void failed(const QString& text);

private:
    void onBytesWritten(qint64 n);
    void onConnectionLost();
    void refill();
    void finish();
    void abortWith(const QString& text);

    QPointer<QTcpSocket> m_socket;
    QFile m_file;
    QByteArray m_chunk;
    qint64 m_total = 0;
    qint64 m_queued = 0;  // handed to the socket
    qint64 m_written = 0; // written by the socket
    qint64 m_foreign = 0; // bytes of earlier messages still queued ahead of the archive
    bool m_active = false;
    QString m_error;
};
