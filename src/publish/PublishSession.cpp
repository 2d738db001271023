#include "PublishSession.h"

#include "core/Messages.h"
#include "data/SettingsRow.h"
#include "data/SiteDb.h"

using Protocol::Tag;

void PublishSession::resetForLoad()
{
    loggedIn = false;
    uploading = false;
    uploadAnnounced = false;
    siteNameSet = false;
}

namespace PublishRules {

QString defaultServerIp()
{
    return QStringLiteral("127.0.0.1");
}

QString siteAddressPrefix()
{
    return QStringLiteral("http://www.weblark.cn/");
}

QString supportPhone()
{
    return QStringLiteral("010-82561234");
}

QString helpText()
{
    const QString sep = QStringLiteral("\r\n\r\n");
    return QStringLiteral("站点名称：用于构成网站URL(三级域名),名称必须由数字和英文字母组成。") + sep +
           QStringLiteral("网站地址：您的网站地址为 ") + siteAddressPrefix() +
           QStringLiteral(" 加上站点名称；如需申请顶级域名，请拨打电话 ") + supportPhone() +
           QStringLiteral(" 联系办理。") + sep +
           QStringLiteral("密码：初始密码为：531946，如果需要修改密码请在该窗口下面输入你要修改的新密码。");
}

int allowedSiteNameLength(const QString& name)
{
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool ok = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                        (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                        (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
        if (!ok)
            return i;
    }
    return int(name.size());
}

bool passwordPairMatches(const QString& newPwd, const QString& confirm)
{
    const QString trimmed = newPwd.trimmed();
    return !trimmed.isEmpty() && trimmed == confirm;
}

QString chatRefusal(const QString& text, bool uploading)
{
    if (text.isEmpty())
        return QStringLiteral("请输入要发送的消息！");
    if (uploading)
        return QStringLiteral("正在上传数据不能，不能发送消息！");
    if (text.size() >= kChatMaxChars)
        return QStringLiteral("最大字符两位128");
    return {};
}

QString shortenedForDisplay(const QString& text, int maxChars)
{
    if (text.size() <= maxChars)
        return text;
    return text.left(maxChars) + QStringLiteral("……（消息过长，其余部分未显示）");
}

QString noticeSetting(bool hide, const QDate& today)
{
    return (hide ? QStringLiteral("1||") : QStringLiteral("0||")) + today.toString(QStringLiteral("yyyy/M/d"));
}

QDate parseShortDate(const QString& text)
{
    const QString t = text.trimmed();
    for (const QString& form : {QStringLiteral("yyyy/M/d"), QStringLiteral("yyyy-M-d"), QStringLiteral("yyyy-MM-dd")}) {
        const QDate d = QDate::fromString(t, form);
        if (d.isValid())
            return d;
    }
    return {};
}

NoticeDecision announcementDecision(const QString& field06, const QDate& today)
{
    const QStringList parts = field06.split(QStringLiteral("||"));
    if (parts.size() < 2)
        return NoticeDecision::Unreadable;
    bool isNumber = false;
    const int flag = parts.at(0).trimmed().toInt(&isNumber);
    const QDate date = parseShortDate(parts.at(1));
    if (!isNumber || !date.isValid())
        return NoticeDecision::Unreadable;
    if (flag == 0 || date.daysTo(today) >= kAnnouncementDays)
        return NoticeDecision::Show;
    return NoticeDecision::Hide;
}

} // namespace PublishRules

static ServerReaction::Box box(const QString& text, MsgIcon icon, const QString& title = Messages::notice())
{
    return ServerReaction::Box{text, title, icon};
}

ServerReaction reactToServerMessage(const QString& received, PublishSession& session, const SiteDb& db,
                                    const QString& webNameText, const QDate& today)
{
    ServerReaction r;
    r.tag = Protocol::classifyServerMessage(received);
    switch (r.tag) {
    case Tag::None:
    case Tag::SyncManifest: // the sync is handled by the client before the described replies
    case Tag::SyncNeed:
    case Tag::SyncDone:
        break;
    case Tag::Login:
        session.loggedIn = true;
        r.panel1 = Messages::loggedIn();
        r.boxes << box(Messages::loggedIn(), MsgIcon::Information);
        r.startVersionTimer = true;
        break;
    case Tag::Logout:
        r.boxes << box(QStringLiteral("系列号或密码不对,重新登陆！"), MsgIcon::Critical);
        r.panel1 = QStringLiteral("登陆服务器失败！");
        r.enableConnect = true;
        r.closeSocket = true;
        break;
    case Tag::SiteName: {
        const SqlResult res = db.run(QStringLiteral("UPDATE user_info SET site_name=?"), {webNameText});
        if (!res.ok) {
            r.boxes << box(res.error, MsgIcon::Information);
            break;
        }
        r.disableChangeWebName = true;
        session.siteNameSet = true;
        r.startIdleWatchdog = true;
        r.boxes << box(QStringLiteral("站点名更改成功！"), MsgIcon::Information);
        session.confirmedSiteName = webNameText;
        break;
    }
    case Tag::SiteNameExist:
        r.boxes << box(QStringLiteral("站点名已存在，重新输入！"), MsgIcon::Information);
        session.siteNameSet = false;
        r.restoreWebName = true;
        break;
    case Tag::ModPwd:
        r.boxes << box(QStringLiteral("密码修改成功！"), MsgIcon::Information);
        break;
    case Tag::SelectTemplate:
        r.boxes << box(QStringLiteral("模板选择错误，请重新选择！"), MsgIcon::Critical);
        break;
    case Tag::TalkMsg:
        r.page = ServerReaction::Page::Chat;
        r.pageText =
            PublishRules::shortenedForDisplay(Protocol::stripTag(received, Tag::TalkMsg), PublishRules::kMaxPageChars);
        break;
    case Tag::GetVersion: {
        const QString text = Protocol::stripTag(received, Tag::GetVersion);
        const SqlResult res = db.selectUserInfo();
        if (!res.ok) {
            r.boxes << box(res.error, MsgIcon::Information);
            break;
        }
        if (res.isEmpty())
            break;
        const QString setting = SettingsRow::fromRecord(res.first()).field06;
        const auto decision = PublishRules::announcementDecision(setting, today);
        if (decision == PublishRules::NoticeDecision::Hide)
            break;
        if (decision == PublishRules::NoticeDecision::Unreadable)
            r.boxes << box(QStringLiteral("系统公告设置“%1”无法识别，公告照常显示。")
                               .arg(PublishRules::shortenedForDisplay(setting, 200)),
                           MsgIcon::Information);
        r.page = ServerReaction::Page::Announcement;
        r.pageText = PublishRules::shortenedForDisplay(text, PublishRules::kMaxPageChars);
        break;
    }
    case Tag::SystemMsg:
        r.boxes << box(
            PublishRules::shortenedForDisplay(Protocol::systemMessageText(received), PublishRules::kMaxBoxChars),
            MsgIcon::Information, QStringLiteral("系统信息"));
        break;
    case Tag::SendFileInfo:
        session.uploadAnnounced = false;
        session.uploading = true;
        r.sendArchive = true;
        break;
    case Tag::ErrMsg:
        // Also the server's refusal of an announced upload: nothing will be sent.
        if (!session.uploading)
            session.uploadAnnounced = false;
        r.boxes << box(QStringLiteral("与服务器连接出现障碍，请重试！\r\n如还有问题请拨打技术热线电话：") +
                           PublishRules::supportPhone(),
                       MsgIcon::Information);
        break;
    }
    return r;
}
