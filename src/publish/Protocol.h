#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The text messages between the program and the hosting server. Every message
// is a tag such as "<#login#>" followed by its payload; there is no terminator
// and no length prefix. Text travels as GB18030 (a superset of GBK).
namespace Protocol {

inline QString clientVersion()
{
    return QStringLiteral("3.05");
}
constexpr quint16 kDefaultPort = 1234;

enum class Tag {
    None,
    Login,
    Logout,
    SiteName,
    SiteNameExist,
    ModPwd,
    SelectTemplate,
    TalkMsg,
    GetVersion,
    SystemMsg,
    SendFileInfo,
    ErrMsg,
    // The sync of changed files, offered by the program and answered only by a
    // server that knows it (see SyncManifest.h).
    SyncManifest, // client: the manifest of the files it would pack
    SyncNeed,     // server: the paths it lacks or holds with other contents
    SyncDone,     // server: a sync upload is published
};

QString tagText(Tag tag); // "<#login#>", ...

// Server messages are tested in this order; the first tag found anywhere in
// the received text decides.
const QList<Tag>& serverDispatchOrder();
Tag classifyServerMessage(const QString& received);

// The server's answers to the sync; a server without it never sends them.
const QList<Tag>& syncServerTags();

// Messages the client sends, tested by the server in this order.
const QList<Tag>& clientTags();
Tag classifyClientMessage(const QString& received);

// The text with every occurrence of the tag removed.
QString stripTag(const QString& received, Tag tag);

// "<#systemmsg#>" text as shown: tag removed, "<br>" -> CR LF, Latin letters lower-cased.
QString systemMessageText(const QString& received);

QByteArray toWire(const QString& text);
// Never fails: bytes that are not valid GB18030 become replacement characters.
QString fromWire(const QByteArray& bytes);

// Client messages.
QString loginMessage(const QString& account, const QString& password);
QString versionQuery();
QString siteNameMessage(const QString& name);
QString modPwdMessage(const QString& password);
QString sendFileInfoMessage(qint64 length);
QString talkMessage(const QString& encodedText);

// Splits a login payload "account||password"; false when there is no "||".
bool splitLogin(const QString& payload, QString* account, QString* password);

} // namespace Protocol
