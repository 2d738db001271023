#pragma once

#include "publish/Protocol.h"

#include <QByteArray>
#include <QList>

#include <utility>

// Cuts the byte stream of one connection into messages, for both ends. Messages
// carry no terminator and no length: a message starts at a tag and ends when the
// sender falls quiet for a gap, or, for tags that allow it, where the next tag
// starts. The framer keeps no timer: it is fed bytes with the time they came and
// told the time when nothing came, so every rule runs without real time.
class MessageFramer {
public:
    enum class Overflow {
        Drop, // a message that grows past the limit is an error: the owner drops the connection
        Flush // it is handled at once, as if the sender had fallen quiet
    };
    struct Rules {
        QList<Protocol::Tag> tags;         // the tags a message can start with
        QList<Protocol::Tag> endAtNextTag; // these also end where the next tag starts
        qint64 gapMs = 50;
        qsizetype maxBytes = 1024 * 1024;
        Overflow overflow = Overflow::Drop;
    };
    // What weblark-hostd reads: the program's messages. A login, password or chat
    // text may quote a tag, so those run to the end of the burst.
    static Rules serverSide(qsizetype maxBytes = 1024 * 1024, qint64 gapMs = 50);
    // What the program reads: the server's replies, each ending at the next reply.
    static Rules clientSide(qint64 gapMs = 50);

    struct Message {
        Protocol::Tag tag = Protocol::Tag::None;
        QByteArray bytes; // as received, tag included
        QString text;     // decoded from GB18030 (a character split across reads is whole here)
    };

    explicit MessageFramer(const Rules& rules);

    // Bytes received at time now (milliseconds on any steady clock); returns the
    // messages they complete.
    QList<Message> feed(const QByteArray& bytes, qint64 now);
    // Nothing more arrived until now: returns what the quiet ends.
    QList<Message> tick(qint64 now);
    // When the pending bytes make a burst end if nothing more comes; -1 when none wait.
    qint64 dueAt() const;

    // A message grew past the limit (Drop rules); the bytes were thrown away.
    bool overflowed() const { return m_overflowed; }
    // Bytes before a tag that were thrown away since the last call.
    qsizetype takeSkipped() { return std::exchange(m_skipped, 0); }
    // The bytes not framed yet; the stream continues as raw data (an archive).
    QByteArray takeBuffered();
    void reset();

private:
    QList<Message> frame(bool endOfBurst);
    qsizetype tagAt(qsizetype from, Protocol::Tag* tag) const;

    Rules m_rules;
    QList<QByteArray> m_tagBytes;
    QByteArray m_buffer;
    qint64 m_lastAt = 0;
    qsizetype m_skipped = 0;
    bool m_overflowed = false;
};
