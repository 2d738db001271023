#include "GuideTopics.h"

#include <QFileInfo>

namespace GuideTopics {

const QList<Topic>& topics()
{
    static const QString folder = QStringLiteral("folder");
    static const QString file = QStringLiteral("file");
    static const QString open = QStringLiteral("open");
    static const QString close = QStringLiteral("close");
    auto page = [](const char* key, const QString& text) {
        return Topic{QString::fromLatin1(key), text, file, file, true, false};
    };
    static const QList<Topic> list = {
        {QStringLiteral("about"), QStringLiteral("Weblark功能"), open, folder, false, true},
        page("prodIntro.htm", QStringLiteral("Weblark简介")),
        page("setup.htm", QStringLiteral("Weblark安装")),
        page("main.htm", QStringLiteral("Weblark主界面")),
        page("basic.htm", QStringLiteral("基本信息")),
        page("sltTmpl.htm", QStringLiteral("选择模板")),
        page("dgn.htm", QStringLiteral("设计栏目")),
        page("ins.htm", QStringLiteral("录入数据")),
        page("updata.htm", QStringLiteral("上传数据")),
        {QStringLiteral("doc"), QStringLiteral("关于我们"), close, folder, false, false},
        page("index.htm", QStringLiteral("欢迎使用")),
        page("ceo.htm", QStringLiteral("总裁致词")),
        page("intro.htm", QStringLiteral("公司介绍")),
        page("pay.htm", QStringLiteral("购买须知")),
        {QStringLiteral("FAQ"), QStringLiteral("常见问题"), close, folder, false, false},
        page("faq01.htm", QStringLiteral("什么是互联网，互联网有那些用途?")),
        page("faq02.htm", QStringLiteral("企业为什么要在互联网上建立自己的网站，有何好处？")),
        page("faq03.htm", QStringLiteral("要在互联网上建立自己的网站需要哪些条件？")),
        page("faq04.htm", QStringLiteral("Weblark2003对上网显示的图片有什么要求?")),
        page("faq05.htm", QStringLiteral("在生成网站时，上传速度较慢或中间停止，为什么？")),
        page("faq06.htm", QStringLiteral("帐号和密码被他人知道了，会有什么后果，该怎么办？")),
        {QStringLiteral("suc.htm"), QStringLiteral("成功案例"), file, file, false, false},
    };
    return list;
}

QString startPage()
{
    return QStringLiteral("index.htm");
}

QString pagePath(const QString& appPath, const QString& page)
{
    return appPath + QStringLiteral("help/") + page;
}

QString pageToShow(const QString& appPath, const QString& page)
{
    const QString path = pagePath(appPath, page);
    return QFileInfo(path).isFile() ? path : QStringLiteral("about:blank");
}

} // namespace GuideTopics
