#include "Protocol.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Protocol {

QString tagText(Tag tag)
{
    switch (tag) {
    case Tag::Login:
        return QStringLiteral("<#login#>");
    case Tag::Logout:
        return QStringLiteral("<#logout#>");
    case Tag::SiteName:
        return QStringLiteral("<#siteName#>");
    case Tag::SiteNameExist:
        return QStringLiteral("<#siteNameExist#>");
    case Tag::ModPwd:
        return QStringLiteral("<#modPwd#>");
    case Tag::SelectTemplate:
        return QStringLiteral("<#selectTemplate#>");
    case Tag::TalkMsg:
        return QStringLiteral("<#talkmsg#>");
    case Tag::GetVersion:
        return QStringLiteral("<#getversion#>");
    case Tag::SystemMsg:
        return QStringLiteral("<#systemmsg#>");
    case Tag::SendFileInfo:
        return QStringLiteral("<#sendFileInfo#>");
    case Tag::ErrMsg:
        return QStringLiteral("<#errMsg#>");
    case Tag::SyncManifest:
        return QStringLiteral("<#syncManifest#>");
    case Tag::SyncNeed:
        return QStringLiteral("<#syncNeed#>");
    case Tag::SyncDone:
        return QStringLiteral("<#syncDone#>");
    case Tag::None:
        break;
    }
    return {};
}

const QList<Tag>& serverDispatchOrder()
{
    static const QList<Tag> order = {Tag::Login,     Tag::Logout,         Tag::SiteName, Tag::SiteNameExist,
                                     Tag::ModPwd,    Tag::SelectTemplate, Tag::TalkMsg,  Tag::GetVersion,
                                     Tag::SystemMsg, Tag::SendFileInfo,   Tag::ErrMsg};
    return order;
}

const QList<Tag>& clientTags()
{
    static const QList<Tag> tags = {Tag::Login,        Tag::GetVersion, Tag::SiteName,    Tag::ModPwd,
                                    Tag::SendFileInfo, Tag::TalkMsg,    Tag::SyncManifest};
    return tags;
}

const QList<Tag>& syncServerTags()
{
    static const QList<Tag> tags = {Tag::SyncNeed, Tag::SyncDone};
    return tags;
}

static Tag firstFound(const QString& received, const QList<Tag>& order)
{
    for (Tag t : order) {
        if (received.contains(tagText(t)))
            return t;
    }
    return Tag::None;
}

Tag classifyServerMessage(const QString& received)
{
    return firstFound(received, serverDispatchOrder());
}

Tag classifyClientMessage(const QString& received)
{
    // A client message starts with its tag; "<#siteName#>" must not be taken for
    // a login because a chat text happens to quote another tag.
    for (Tag t : clientTags()) {
        if (received.startsWith(tagText(t)))
            return t;
    }
    return firstFound(received, clientTags());
}

QString stripTag(const QString& received, Tag tag)
{
    QString s = received;
    s.remove(tagText(tag));
    return s;
}

QString systemMessageText(const QString& received)
{
    QString s = stripTag(received, Tag::SystemMsg);
    s.replace(QStringLiteral("<br>"), QStringLiteral("\r\n"));
    for (QChar& c : s) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = c.toLower();
    }
    return s;
}

QByteArray toWire(const QString& text)
{
    QStringEncoder enc("GB18030");
    return enc.isValid() ? QByteArray(enc.encode(text)) : text.toUtf8();
}

QString fromWire(const QByteArray& bytes)
{
    QStringDecoder dec("GB18030");
    return dec.isValid() ? QString(dec.decode(bytes)) : QString::fromUtf8(bytes);
}

QString loginMessage(const QString& account, const QString& password)
{
    return tagText(Tag::Login) + account + QStringLiteral("||") + password;
}

QString versionQuery()
{
    return tagText(Tag::GetVersion) + clientVersion();
}

QString siteNameMessage(const QString& name)
{
    return tagText(Tag::SiteName) + name;
}

QString modPwdMessage(const QString& password)
{
    return tagText(Tag::ModPwd) + password;
}

QString sendFileInfoMessage(qint64 length)
{
    return tagText(Tag::SendFileInfo) + QString::number(length);
}

QString talkMessage(const QString& encodedText)
{
    return tagText(Tag::TalkMsg) + encodedText;
}

bool splitLogin(const QString& payload, QString* account, QString* password)
{
    const int sep = payload.indexOf(QStringLiteral("||"));
    if (sep < 0)
        return false;
    if (account)
        *account = payload.left(sep);
    if (password)
        *password = payload.mid(sep + 2);
    return true;
}

} // namespace Protocol
