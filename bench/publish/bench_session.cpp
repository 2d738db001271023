// Handling of large server messages: decoding, dispatch and the HTML clean-up
// that every chat and announcement text goes through.
#include "TestAppDir.h"
#include "data/SiteDb.h"
#include "publish/ChatHtml.h"
#include "publish/Protocol.h"
#include "publish/PublishSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

static double medianMs(const std::function<void()>& work, int runs = 9)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        t.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestAppDir dir;
    SiteDb db(QStringLiteral("bench"));
    if (!dir.isValid() || !db.open(dir.workPath())) {
        std::fprintf(stderr, "cannot open a workspace\n");
        return 1;
    }
    // About 1 MB of chat HTML with formatting, links and hostile pieces mixed in.
    QString html;
    while (html.size() < 1024 * 1024)
        html += QStringLiteral("<p style='color:red'>您好 <b>网站</b> <a href=\"http://a.cn/?q=1\">链接</a>"
                               "<img src=x onerror=alert(1)><script>bad()</script> &nbsp;1 < 2</p>");
    const QByteArray wire = Protocol::toWire(QStringLiteral("<#talkmsg#>") + html);

    volatile qsizetype sink = 0;
    const double sanitize = medianMs([&] { sink = ChatHtml::sanitize(html).size(); });
    const double dispatch = medianMs([&] {
        PublishSession s;
        const ServerReaction r = reactToServerMessage(Protocol::fromWire(wire), s, db, QString(), QDate::currentDate());
        sink = ChatHtml::entry(QStringLiteral("server"), r.pageText, QDateTime::currentDateTime()).size();
    });
    const double version = medianMs(
        [&] {
            PublishSession s;
            sink = reactToServerMessage(QStringLiteral("<#getversion#><p>公告</p>"), s, db, QString(),
                                        QDate::currentDate())
                       .pageText.size();
        },
        51);
    std::printf("sanitize_1mb_html %.2f ms\n", sanitize);
    std::printf("dispatch_1mb_talkmsg %.2f ms\n", dispatch);
    std::printf("dispatch_version_reply %.3f ms\n", version);
    (void)sink;
    return 0;
}
