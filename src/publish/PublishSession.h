#pragma once

#include "core/DialogService.h"
#include "publish/Protocol.h"

#include <QDate>
#include <QString>

class SiteDb;

// The publishing state shared by the publishing window, the chat window and
// the message dispatcher. It outlives the publishing window (a closed window
// must not forget that the user is logged in while the chat window is open),
// so the application context holds it; the publishing window resets it each
// time it loads.
class PublishSession {
public:
    QString userAccount;
    bool loggedIn = false;
    bool siteNameSet = false;
    QString confirmedSiteName;
    bool uploading = false;
    qint32 zipLength = 0;
    // "<#sendFileInfo#>" is out and the server has not answered yet. From then
    // until the last archive byte the connection carries nothing else: any text
    // sent in between would land inside the archive.
    bool uploadAnnounced = false;

    bool busyUploading() const { return uploading || uploadAnnounced; }
    // What loading the publishing window clears.
    void resetForLoad();
};

namespace PublishRules {

// Timers of the publishing window and of the chat and notice pages.
constexpr int kIdleIntervalMs = 30000;  // Timer_sck
constexpr int kIdleTickLimit = 20;      // ten minutes without upload progress
constexpr int kVersionIntervalMs = 100; // timer_verion
constexpr int kVersionTickLimit = 2;
constexpr int kZipStatusIntervalMs = 50; // timer_doZip
constexpr int kPageTimerMs = 1000;       // Timer1 of dlgFrm and verFrm
constexpr int kPageReadyTicks = 2;
constexpr int kAnnouncementDays = 14;
constexpr int kChatMaxChars = 128; // refused from this length on
// Server text beyond these lengths is cut before it is shown: a message box or
// page fed megabytes would freeze the program.
constexpr int kMaxBoxChars = 4000;
constexpr int kMaxPageChars = 64 * 1024;
QString shortenedForDisplay(const QString& text, int maxChars);

QString defaultServerIp();
QString siteAddressPrefix();
QString supportPhone();
// The three help paragraphs of the publishing window.
QString helpText();

// Length of the leading part of a site name made only of digits and ASCII
// letters; equals name.size() when the whole name is allowed.
int allowedSiteNameLength(const QString& name);

// cmd_modPwd is enabled exactly when this holds: only the new password is trimmed.
bool passwordPairMatches(const QString& newPwd, const QString& confirm);

// Why a chat text cannot be sent ("" when it can): empty, uploading, too long.
QString chatRefusal(const QString& text, bool uploading);

// field06 is flag "||" date. Dates are written "yyyy/M/d" and read in that form
// or "yyyy-MM-dd".
QString noticeSetting(bool hide, const QDate& today);
QDate parseShortDate(const QString& text);
enum class NoticeDecision { Show, Hide, Unreadable };
NoticeDecision announcementDecision(const QString& field06, const QDate& today);

} // namespace PublishRules

// Counts timer ticks; tick() is true on the tick that reaches the limit, and
// the count starts again from 0.
class TickCounter {
public:
    explicit TickCounter(int limit) : m_limit(limit) {}
    bool tick()
    {
        if (++m_ticks < m_limit)
            return false;
        m_ticks = 0;
        return true;
    }
    void reset() { m_ticks = 0; }
    int ticks() const { return m_ticks; }

private:
    int m_limit;
    int m_ticks = 0;
};

// What the client does about one received server text. The session and the
// database have already been changed when it is returned; the publishing
// window applies the rest in this order: panel 1, buttons, web name, socket,
// timers, message box(es), then the page to show.
struct ServerReaction {
    Protocol::Tag tag = Protocol::Tag::None;

    QString panel1; // "" leaves panel 1 alone
    bool enableConnect = false;
    bool disableChangeWebName = false;
    bool restoreWebName = false; // txt_webName back to confirmedSiteName
    bool closeSocket = false;
    bool startVersionTimer = false;
    bool startIdleWatchdog = false;
    bool sendArchive = false;

    struct Box {
        QString text;
        QString title;
        MsgIcon icon = MsgIcon::Information;
    };
    QList<Box> boxes;

    enum class Page { None, Chat, Announcement };
    Page page = Page::None;
    QString pageText; // raw server HTML; sanitised when it is shown

    bool ignored() const { return tag == Protocol::Tag::None; }
};

// Decides the reaction to everything received so far as one text. webNameText
// is what txt_webName shows at that moment.
ServerReaction reactToServerMessage(const QString& received, PublishSession& session, const SiteDb& db,
                                    const QString& webNameText, const QDate& today);
