#include "MessageFramer.h"

using Protocol::Tag;

MessageFramer::Rules MessageFramer::serverSide(qsizetype maxBytes, qint64 gapMs)
{
    // A manifest carries no '<' (its paths are percent-encoded), so it may end at the next tag too.
    return {Protocol::clientTags(),
            {Tag::GetVersion, Tag::SiteName, Tag::SendFileInfo, Tag::SyncManifest},
            gapMs,
            maxBytes,
            Overflow::Drop};
}

MessageFramer::Rules MessageFramer::clientSide(qint64 gapMs)
{
    // A reply that grows past this is handled at once rather than waiting for a pause.
    const QList<Tag> tags = Protocol::serverDispatchOrder() + Protocol::syncServerTags();
    return {tags, tags, gapMs, 4 * 1024 * 1024, Overflow::Flush};
}

MessageFramer::MessageFramer(const Rules& rules) : m_rules(rules)
{
    for (Tag t : m_rules.tags)
        m_tagBytes << Protocol::tagText(t).toLatin1();
}

// Where the first tag starts at or after from, -1 when there is none. Tags are
// ASCII and no GB18030 character contains '<', so a byte search is safe.
qsizetype MessageFramer::tagAt(qsizetype from, Tag* tag) const
{
    qsizetype best = -1;
    for (qsizetype i = 0; i < m_tagBytes.size(); ++i) {
        const qsizetype at = m_buffer.indexOf(m_tagBytes.at(i), from);
        if (at >= 0 && (best < 0 || at < best)) {
            best = at;
            if (tag)
                *tag = m_rules.tags.at(i);
        }
    }
    return best;
}

QList<MessageFramer::Message> MessageFramer::frame(bool endOfBurst)
{
    QList<Message> out;
    while (!m_buffer.isEmpty()) {
        Tag tag = Tag::None;
        const qsizetype start = tagAt(0, &tag);
        if (start != 0) {
            // Before a tag, or no tag yet (it may still be arriving, unless the burst is over).
            const qsizetype junk = start > 0 ? start : (endOfBurst ? m_buffer.size() : 0);
            m_skipped += junk;
            m_buffer.remove(0, junk);
            if (start < 0)
                break;
            continue;
        }
        qsizetype end = m_rules.endAtNextTag.contains(tag) ? tagAt(1, nullptr) : -1;
        if (end < 0) {
            if (!endOfBurst)
                break;
            end = m_buffer.size();
        }
        Message m;
        m.tag = tag;
        m.bytes = m_buffer.left(end);
        m.text = Protocol::fromWire(m.bytes);
        m_buffer.remove(0, end);
        out << std::move(m);
    }
    return out;
}

QList<MessageFramer::Message> MessageFramer::feed(const QByteArray& bytes, qint64 now)
{
    if (m_overflowed)
        return {};
    if (!bytes.isEmpty())
        m_lastAt = now;
    m_buffer += bytes;
    QList<Message> out = frame(false);
    if (m_buffer.size() > m_rules.maxBytes) {
        if (m_rules.overflow == Overflow::Flush) {
            out << frame(true);
        } else {
            m_overflowed = true;
            m_buffer.clear();
        }
    }
    return out;
}

QList<MessageFramer::Message> MessageFramer::tick(qint64 now)
{
    const qint64 due = dueAt();
    if (due < 0 || now < due)
        return {};
    return frame(true);
}

qint64 MessageFramer::dueAt() const
{
    return m_buffer.isEmpty() ? -1 : m_lastAt + m_rules.gapMs;
}

QByteArray MessageFramer::takeBuffered()
{
    return std::exchange(m_buffer, QByteArray());
}

void MessageFramer::reset()
{
    m_buffer.clear();
    m_skipped = 0;
    m_overflowed = false;
}
