#include "SiteRenderer.h"

#include "GzipCopies.h"
#include "NameLettering.h"
#include "SiteFeeds.h"
#include "SiteIcons.h"
#include "SiteModel.h"
#include "SitePictures.h"
#include "SiteSearch.h"
#include "data/ContentRecords.h"
#include "data/FeatureFields.h"
#include "data/SiteDb.h"
#include "structure/DisplayFormats.h"
#include "text/HtmlCharset.h"
#include "text/TextCodec.h"
#include "workspace/FileOps.h"
#include "workspace/WorkspaceFiles.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <kainjow/mustache.hpp>

#include <functional>
#include <map>

using Data = kainjow::mustache::data;
using Template = kainjow::mustache::mustache;

namespace {

std::string u8(const QString& s)
{
    return s.toStdString();
}

Data list()
{
    return Data(Data::type::list);
}

// A link: the title shown and the file it opens.
Data link(const QString& title, const QString& href)
{
    Data d;
    d.set("title", u8(title));
    d.set("href", u8(href));
    return d;
}

// Links to the pages one level below a page.
Data childLinks(const SitePage* page)
{
    Data l = list();
    for (const SitePage* c : page->children)
        l.push_back(link(c->name, c->file));
    return l;
}

// A menu entry: the link to a page and, when it has pages below it, theirs as its sub-menu.
Data menuEntry(const SitePage* page)
{
    Data item = link(page->name, page->file);
    if (!page->children.empty())
        item.set("sub", Data("items", childLinks(page)));
    return item;
}

// The pages written for each news item and product.
QString newsFile(const SitePage& page, const SiteRecord& row)
{
    return QStringLiteral("news%1_%2.htm").arg(page.level).arg(row.id);
}
QString productFile(const SitePage& page, const SiteRecord& row)
{
    return QStringLiteral("prod%1_%2.htm").arg(page.level).arg(row.id);
}

// Each match of re in text replaced by what with() makes of it.
QString replaceEach(const QString& text, const QRegularExpression& re,
                    const std::function<QString(const QRegularExpressionMatch&)>& with)
{
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    for (auto it = re.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(from, m.capturedStart() - from);
        out += with(m);
        from = m.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out;
}

// The address of a picture built by pictureData(); empty when there is none.
QString srcOf(const Data& picture)
{
    return picture.is_object() ? QString::fromStdString(picture.get("src")->string_value()) : QString();
}

QString blankPicture()
{
    return QStringLiteral("data:image/gif;base64,R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7");
}

// A page's text for its description: markup and character references gone, blanks
// folded, cut to what search results show.
QString summaryOf(QString text)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const std::pair<const char*, const char*> refs[] = {{"&nbsp;", " "},  {"&lt;", "<"},  {"&gt;", ">"},
                                                               {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
    text.replace(tag, QStringLiteral(" "));
    for (const auto& [ref, ch] : refs)
        text.replace(QLatin1String(ref), QLatin1String(ch));
    text = text.simplified();
    return text.size() > 120 ? text.left(119) + QChar(0x2026) : text;
}

// What a page's head tells about it besides its description: its picture and feed.
struct PageMeta {
    QString picture; // relative to the site's root; empty: the logo
    QString feed;    // the feed of the page's news list, if any, and its title
    QString feedTitle;
    bool article = false;
    QDate lastmod; // of a news list: its newest item
};

// A news page's feed: the page, its file and its items.
struct PageFeed {
    const SitePage* page;
    QString file;
    QVector<SiteFeeds::Entry> items;
};

struct ThemeChoice {
    QString code;
    QString layout;
    QString palette;
    QString pattern;
};

// What one render needs besides the model: templates, theme, pictures and the output folder.
class Renderer {
public:
    Renderer(const SiteRenderRequest& request, const RenderLimits& limits, SiteRenderResult& result)
        : m_req(request), m_limits(limits), m_res(result),
          m_pictures(request.workPath, request.outDir + QStringLiteral("/pictures"), QStringLiteral("pictures/"),
                     request.pictureCache, limits.maxResizeSeconds, result.notes)
    {
    }

    bool run(const std::function<void(int, int)>& progress);
    // Waits for the compressed copies of the written files.
    bool finishCopies()
    {
        if (!m_gzip.finish(m_req.outDir, &m_res.error))
            return false;
        m_pictures.finish();
        return true;
    }

private:
    bool loadMaterial();
    bool loadTemplate(const QString& name);
    std::string render(const QString& name, const Data& data);
    bool writeFile(const QString& relative, const char* bytes, qint64 size);
    bool writeFile(const QString& relative, const QByteArray& bytes)
    {
        return writeFile(relative, bytes.constData(), bytes.size());
    }
    // A generated page; listed pages go into the sitemap, with lastmod when known.
    bool writePage(const QString& file, const std::string& html, const QDate& lastmod = {}, bool listed = true);
    bool copyFile(const QString& from, const QString& relative);
    bool spend(qint64 bytes);
    ThemeChoice themeFor(const QString& table, const QString& stored);
    void writeThemeCss();
    bool writeIcons();
    Data letterName(const QString& fontFile, const QString& fileName);
    QString storedHtml(const QString& stored);
    QString plainText(const QString& encoded) const { return TextCodec::decode(encoded); }
    Data pictureData(const QString& name, const QString& alt, SitePictures::Shown shown);
    Data sized(const QString& src, const QSize& size);

    void buildShared();
    Data crumbs(const SitePage& page) const;
    const std::string& sidebar(const SitePage* top);
    std::string headMeta(const QString& title, const QString& file, const QString& description, const PageMeta& meta);
    std::string innerPage(const QString& title, const QString& file, const SitePage* page, const Data& crumbList,
                          const std::string& body, const QString& summary, const PageMeta& meta);
    bool writeRecordPage(const SitePage& page, const Data& crumbList, const QString& title, const QString& file,
                         Data item, const QString& templateName, const QString& summary, const PageMeta& meta,
                         const QDate& date = {});
    QString orgName() const;
    std::string bodyOf(const SitePage& page);
    std::string catalogBody(const SitePage& page, Data& d);
    std::string textBody(const SitePage& page, const DisplayFormats::Format& format, Data& d);
    std::string bigImageBody(const SitePage& page, const DisplayFormats::Format& format, Data& d);
    std::string freeBody(const SitePage& page, const DisplayFormats::Format& format, Data& d);
    std::string newsBody(const SitePage& page, const DisplayFormats::Format& format, Data& d);
    std::string galleryBody(const SitePage& page, const DisplayFormats::Format& format, Data& d);
    std::string productBody(const SitePage& page, const DisplayFormats::Format& format, Data& d);
    void renderHome();
    Data homeNewsBlock(const SitePage& page);
    void installCustomHome();
    void copyInstalledPages();
    void writeSitePages();
    void writeFeedsAndSitemap();
    void copyImagesFolder();

    const SiteRenderRequest& m_req;
    const RenderLimits& m_limits;
    SiteRenderResult& m_res;
    qint64 m_written = 0;
    SiteModel m_model;
    SitePictures m_pictures;
    GzipCopies m_gzip;
    QJsonObject m_themes;
    std::map<QString, Template> m_templates;
    ThemeChoice m_homeTheme, m_innerTheme;
    QString m_siteTitle;
    // Parts shared by every page, rendered once.
    std::string m_homeHead, m_innerHead, m_footer, m_extras, m_homeExtras;
    Data m_navList = list();
    Data m_otherPages = list();
    Data m_contacts = list();
    std::map<const SitePage*, std::string> m_sidebars;
    bool m_imagesCopied = false;
    bool m_customHome = false;
    QString m_logo;
    bool m_search = false;
    PageMeta m_pageMeta;                // of the page bodyOf() last built
    QVector<SiteFeeds::Entry> m_listed; // the sitemap
    QVector<SiteFeeds::Entry> m_news;   // every news item, for the site's feed
    std::vector<PageFeed> m_pageFeeds;
    QString m_summary; // the description of the page whose body was built last
};

bool Renderer::loadTemplate(const QString& name)
{
    QFile f(m_req.appPath + QStringLiteral("/site/templates/") + name + QStringLiteral(".mustache"));
    if (!f.open(QIODevice::ReadOnly)) {
        m_res.error = QStringLiteral("缺少网站模版文件：") + f.fileName();
        return false;
    }
    Template t(f.readAll().toStdString());
    if (!t.is_valid()) {
        m_res.error = QStringLiteral("网站模版有误（%1）：%2").arg(name, QString::fromStdString(t.error_message()));
        return false;
    }
    m_templates.emplace(name, std::move(t));
    return true;
}

bool Renderer::loadMaterial()
{
    QFile themes(m_req.appPath + QStringLiteral("/site/themes.json"));
    if (!themes.open(QIODevice::ReadOnly)) {
        m_res.error = QStringLiteral("缺少网站主题表：") + themes.fileName();
        return false;
    }
    m_themes = QJsonDocument::fromJson(themes.readAll()).object();
    static const char* const names[] = {"home",    "inner",    "txt",      "imgtxt", "bigimg",   "newslist", "newsitem",
                                        "gallery", "prodlist", "proditem", "adv",    "catalog",  "empty",    "header",
                                        "footer",  "sidebar",  "extras",   "meta",   "notfound", "search"};
    for (const char* n : names)
        if (!loadTemplate(QString::fromLatin1(n)))
            return false;
    return true;
}

std::string Renderer::render(const QString& name, const Data& data)
{
    return m_templates.at(name).render(data);
}

// Counts what the rendering writes against its limit.
bool Renderer::spend(qint64 bytes)
{
    m_written += bytes;
    if (m_written <= m_limits.maxOutputBytes)
        return true;
    if (m_res.error.isEmpty())
        m_res.error = QStringLiteral("生成的网站超过 %1 字节的上限，已停止").arg(m_limits.maxOutputBytes);
    return false;
}

// A file copied into the output as it is; a copy that fails fails the rendering.
bool Renderer::copyFile(const QString& from, const QString& relative)
{
    const QString to = m_req.outDir + QLatin1Char('/') + relative;
    if (!spend(QFileInfo(from).size()))
        return false;
    if (FileOps::copyFileUnsynced(from, to))
        return true;
    if (m_res.error.isEmpty())
        m_res.error = QStringLiteral("无法复制文件：%1").arg(QDir::cleanPath(from));
    return false;
}

bool Renderer::writeFile(const QString& relative, const char* bytes, qint64 size)
{
    if (!spend(size))
        return false;
    QFile f(m_req.outDir + QLatin1Char('/') + relative);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes, size) != size) {
        m_res.error = QStringLiteral("无法写入文件：") + f.fileName();
        return false;
    }
    m_gzip.add(f.fileName(), QByteArray(bytes, size));
    return true;
}

bool Renderer::writePage(const QString& file, const std::string& html, const QDate& lastmod, bool listed)
{
    if (m_res.pages >= m_limits.maxPages) {
        if (m_res.error.isEmpty())
            m_res.error = QStringLiteral("网站超过 %1 页的上限，已停止").arg(m_limits.maxPages);
        return false;
    }
    if (!writeFile(file, html.data(), qint64(html.size())))
        return false;
    ++m_res.pages;
    if (listed)
        m_listed.push_back({file, {}, {}, lastmod});
    return true;
}

ThemeChoice Renderer::themeFor(const QString& table, const QString& stored)
{
    const QJsonObject themes = m_themes.value(table).toObject();
    QString code = stored.left(5).toUpper();
    if (!themes.contains(code)) {
        if (!stored.isEmpty())
            m_res.notes << QStringLiteral("未知的模版 %1，改用默认模版").arg(stored);
        code = themes.keys().value(0);
    }
    const QJsonObject t = themes.value(code).toObject();
    return {code, t.value(QStringLiteral("layout")).toString(), t.value(QStringLiteral("palette")).toString(),
            t.value(QStringLiteral("pattern")).toString()};
}

QString Renderer::orgName() const
{
    return m_model.info.govName.trimmed().isEmpty() ? m_siteTitle : m_model.info.govName;
}

// The tab and home-screen icons, so that browsers find one instead of asking for a
// missing /favicon.ico.
bool Renderer::writeIcons()
{
    const SettingsRow& info = m_model.info;
    QImage logo;
    if (!m_logo.isEmpty()) // the logo could be used: the site shows it
        logo = QImageReader(m_req.workPath + QLatin1Char('/') + info.logo).read();
    const QJsonObject palette =
        m_themes.value(QStringLiteral("palettes")).toObject().value(m_homeTheme.palette).toObject();
    const QColor from(palette.value(QStringLiteral("head-from")).toString());
    const QColor to(palette.value(QStringLiteral("head-to")).toString());
    const std::pair<const char*, int> icons[] = {{"style/icon.png", 48}, {"style/touch-icon.png", 180}};
    for (const auto& [file, size] : icons) {
        const bool touch = size > 48;
        const QImage icon =
            logo.isNull() ? SiteIcons::fromName(orgName(), NameLettering::styleOf(info.defaultFont), from, to, size)
                          : SiteIcons::fromLogo(logo, size, touch);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        icon.save(&buffer, "PNG");
        if (!writeFile(QLatin1String(file), png))
            return false;
    }
    return true;
}

void Renderer::writeThemeCss()
{
    const QJsonObject palettes = m_themes.value(QStringLiteral("palettes")).toObject();
    QString css = QStringLiteral("/* Colours of this site's home-page and inner-page themes. */\n");
    const std::pair<QString, const ThemeChoice*> parts[] = {{QStringLiteral("body.home"), &m_homeTheme},
                                                            {QStringLiteral("body.inner"), &m_innerTheme}};
    for (const auto& [selector, theme] : parts) {
        css += selector + QStringLiteral(" {\n");
        const QJsonObject p = palettes.value(theme->palette).toObject();
        for (auto it = p.begin(); it != p.end(); ++it)
            css += QStringLiteral("  --%1: %2;\n").arg(it.key(), it.value().toString());
        css += QStringLiteral("}\n");
    }
    const QString bg = m_pictures.use(m_model.info.backGround, QStringLiteral("背景图片"));
    if (!bg.isEmpty())
        css += QStringLiteral("body { background-image: url(\"../%1\"); }\n").arg(bg);
    writeFile(QStringLiteral("style/theme.css"), css.toUtf8());
}

// The organisation's name lettered in a name style: the picture's address and the size it
// is shown at, half its own, so that it stays sharp on phones' dense screens.
Data Renderer::letterName(const QString& fontFile, const QString& fileName)
{
    const QString name = m_model.info.govName.isEmpty() ? m_model.info.webName : m_model.info.govName;
    if (name.trimmed().isEmpty())
        return Data(false);
    if (name.simplified().size() > m_limits.maxNameChars) {
        m_res.notes << QStringLiteral("单位名称超过 %1 个字，用文字显示").arg(m_limits.maxNameChars);
        return Data(false);
    }
    int style = NameLettering::styleOf(fontFile);
    if (style < 0) {
        if (!fontFile.isEmpty())
            m_res.notes << QStringLiteral("未知的字体样式 %1，单位名称用文字显示").arg(fontFile);
        return Data(false);
    }
    if (!NameLettering::canDraw()) {
        m_res.notes << QStringLiteral("无法绘制单位名称图片，单位名称用文字显示");
        return Data(false);
    }
    const QImage img = NameLettering::draw(name.simplified(), style, 80);
    if (img.isNull() || !img.save(m_req.outDir + QStringLiteral("/pictures/") + fileName, "PNG"))
        return Data(false);
    ++m_res.pictures;
    Data d;
    d.set("src", "pictures/" + u8(fileName));
    d.set("width", std::to_string((img.width() + 1) / 2));
    d.set("height", std::to_string((img.height() + 1) / 2));
    return d;
}

// Stored editor HTML back into working HTML: apostrophes restored, workspace pictures
// copied and addressed relatively; a picture that cannot be used becomes a blank. A
// picture tag gets the picture's size where it names none (the other side to scale where
// it names one) and its resized copies. Pictures the editor left without a text
// alternative are marked decorative.
QString Renderer::storedHtml(const QString& stored)
{
    static const QRegularExpression picture(QStringLiteral("\\[imgpath\\]/([^\"'<>\\s?#]+)"));
    static const QRegularExpression imgTag(
        QStringLiteral("<img\\s((?:[^>]*?\\s)?)src\\s*=\\s*([\"']?)\\[imgpath\\]/([^\"'<>\\s?#]+)\\2([^>]*?)\\s*/?>"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression widthAttr(QStringLiteral("(?:^|\\s)width\\s*=\\s*[\"']?(\\d+)[\"']?"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression heightAttr(QStringLiteral("(?:^|\\s)height\\s*=\\s*[\"']?(\\d+)[\"']?"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression noAlt(QStringLiteral("<img\\b(?![^>]*\\salt\\s*=)"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString html = stored;
    html.replace(QStringLiteral("[&#39;]"), QStringLiteral("'"));
    html = replaceEach(html, imgTag, [this](const QRegularExpressionMatch& m) {
        const SitePicture& pic = m_pictures.picture(m.captured(3), QStringLiteral("网页中的图片"), true);
        if (pic.src.isEmpty())
            return QStringLiteral("<img %1src=\"%2\"%3>").arg(m.captured(1), blankPicture(), m.captured(4));
        QString others = (m.captured(1) + m.captured(4)).trimmed();
        const QRegularExpressionMatch w = widthAttr.match(others), h = heightAttr.match(others);
        if (pic.size.isValid() && w.hasMatch() != h.hasMatch()) {
            // One side given: the other in the picture's proportion.
            others += w.hasMatch() ? QStringLiteral(" height=\"%1\"")
                                         .arg(qRound(w.captured(1).toDouble() * pic.size.height() / pic.size.width()))
                                   : QStringLiteral(" width=\"%1\"")
                                         .arg(qRound(h.captured(1).toDouble() * pic.size.width() / pic.size.height()));
        }
        // A size the tag names stands; the copies are offered alongside.
        return m_pictures.html(pic, SitePictures::Shown::Content, others, !w.hasMatch() && !h.hasMatch());
    });
    QString out = replaceEach(html, picture, [this](const QRegularExpressionMatch& m) {
        const QString rel = m_pictures.use(m.captured(1), QStringLiteral("网页中的图片"));
        return rel.isEmpty() ? blankPicture() : rel;
    });
    out.replace(noAlt, QStringLiteral("<img alt=\"\""));
    return out;
}

Data Renderer::pictureData(const QString& name, const QString& alt, SitePictures::Shown shown)
{
    const SitePicture& pic = m_pictures.picture(name, alt, true);
    if (pic.src.isEmpty())
        return Data(false);
    Data d;
    d.set("src", u8(pic.src));
    d.set("alt", u8(alt));
    d.set("img", u8(m_pictures.html(pic, shown, QStringLiteral("alt=\"%1\"").arg(alt.toHtmlEscaped()))));
    return d;
}

// A picture of the head: its address and, when known, its size.
Data Renderer::sized(const QString& src, const QSize& size)
{
    if (src.isEmpty())
        return Data(false);
    Data d;
    d.set("src", u8(src));
    if (size.isValid()) {
        d.set("width", std::to_string(size.width()));
        d.set("height", std::to_string(size.height()));
    }
    return d;
}

void Renderer::buildShared()
{
    const SettingsRow& info = m_model.info;
    m_siteTitle = info.webName.trimmed().isEmpty() ? info.govName : info.webName;

    m_navList.push_back(link(QStringLiteral("首页"), QStringLiteral("index.htm")));
    for (const SitePage* p : m_model.top)
        m_navList.push_back(menuEntry(p));

    const SitePicture& logoPic = m_pictures.picture(info.logo, QStringLiteral("单位徽标"), false);
    m_logo = logoPic.src;
    // Its size reserves its room before it arrives, so nothing in the head moves.
    const Data logo = sized(logoPic.src, logoPic.size);
    const Data homeName = m_customHome ? Data(false) : letterName(info.defaultFont, QStringLiteral("name-home.png"));
    auto header = [&](const Data& nameImg, const ThemeChoice& theme, const Data& banner, bool movie) {
        Data d;
        d.set("siteTitle", u8(m_siteTitle));
        d.set("orgName", u8(info.govName.isEmpty() ? m_siteTitle : info.govName));
        d.set("showTitle", !info.govName.isEmpty() && info.govName != m_siteTitle);
        d.set("logo", logo);
        d.set("nameImg", nameImg);
        d.set("banner", banner);
        d.set("movie", movie);
        d.set("pattern", u8(theme.pattern));
        d.set("nav", m_navList);
        d.set("search", m_search);
        return render(QStringLiteral("header"), d);
    };
    m_homeHead = header(homeName, m_homeTheme, Data(false), false);

    // A custom head picture replaces the themed head of inner pages; a movie cannot play
    // in today's browsers, so its head keeps the themed band with the name.
    Data banner(false);
    bool movie = false;
    if (!info.topHead.isEmpty()) {
        if (info.topHead.endsWith(QStringLiteral(".swf"), Qt::CaseInsensitive)) {
            movie = true;
            m_res.notes << QStringLiteral("自定制内页头部是Flash动画，浏览器无法播放，改用主题头部");
        } else {
            const SitePicture& head = m_pictures.picture(info.topHead, QStringLiteral("自定制内页头部"), false);
            banner = sized(head.src, head.size);
        }
    }
    // The picture head shows no lettering, so none is drawn for it.
    const Data innerName =
        banner.is_false() ? letterName(info.headFont, QStringLiteral("name-inner.png")) : Data(false);
    m_innerHead = header(innerName, m_innerTheme, banner, movie);

    // Other pages, linked from every page's foot.
    const QStringList others = FeatureFields::splitOtherPages(info.otherPages);
    for (const QString& raw : others) {
        const QString name = raw.trimmed();
        if (raw.isEmpty())
            continue;
        static const QRegularExpression generated(
            QStringLiteral("^(index|404|search|p[0-9-]+|news\\d_\\d+|prod\\d_\\d+)\\.htm$"),
            QRegularExpression::CaseInsensitiveOption);
        if (!WorkspaceFiles::isPlainName(name) || generated.match(name).hasMatch() ||
            !QFileInfo(m_req.workPath + QLatin1Char('/') + name).isFile()) {
            m_res.notes << QStringLiteral("其他网页 %1 不存在或名称不可用，已跳过").arg(name);
            continue;
        }
        QString title = name;
        QFile f(m_req.workPath + QLatin1Char('/') + name);
        if (f.open(QIODevice::ReadOnly)) {
            static const QRegularExpression titleTag(QStringLiteral("<title[^>]*>([^<]*)</title>"),
                                                     QRegularExpression::CaseInsensitiveOption);
            const QRegularExpressionMatch m = titleTag.match(HtmlCharset::decode(f.read(8192)));
            if (m.hasMatch() && !m.captured(1).trimmed().isEmpty())
                title = m.captured(1).trimmed();
        }
        m_otherPages.push_back(link(title, name));
    }

    Data foot;
    foot.set("siteTitle", u8(m_siteTitle));
    foot.set("orgName", u8(info.govName));
    Data contacts = list();
    const std::pair<const char*, const QString*> fields[] = {
        {"地址", &info.address}, {"邮编", &info.zip}, {"联系人", &info.linkMan}, {"电话", &info.tel},
        {"手机", &info.mobile},  {"传真", &info.fax}, {"电子邮件", &info.email}};
    for (const auto& [label, value] : fields) {
        if (value->trimmed().isEmpty())
            continue;
        Data c;
        c.set("label", label);
        c.set("value", u8(*value));
        contacts.push_back(c);
    }
    foot.set("contacts", contacts);
    m_contacts = Data(contacts);
    foot.set("others", m_otherPages);
    foot.set("hasOthers", !m_otherPages.is_empty_list());
    m_footer = render(QStringLiteral("footer"), foot);

    // Ad board and script effect.
    Data extras;
    if (FeatureFields::isOn(info.adBoard)) {
        const FeatureFields::AdBoard board = FeatureFields::parseAdBoard(info.adBoard);
        auto number = [&](const QString& part, int fallback, int low, int high) {
            bool ok = false;
            const int v = qRound(part.trimmed().toDouble(&ok));
            return ok ? qBound(low, v, high) : fallback;
        };
        Data b;
        b.set("width", std::to_string(number(board.width, 300, 80, 1600)));
        b.set("height", std::to_string(number(board.height, 200, 60, 1200)));
        b.set("top", std::to_string(number(board.top, 0, 0, 4000)));
        b.set("left", std::to_string(number(board.left, 0, 0, 4000)));
        b.set("title", u8(board.title));
        b.set("text", u8(board.content));
        extras.set("board", b);
    }
    if (FeatureFields::isOn(info.javascript)) {
        const FeatureFields::Script script = FeatureFields::parseScript(info.javascript);
        const QJsonObject effects = m_themes.value(QStringLiteral("effects")).toObject();
        const QString key = QStringLiteral("%1").arg(script.index, 2, 10, QLatin1Char('0'));
        if (script.known && effects.contains(key)) {
            const QJsonObject e = effects.value(key).toObject();
            const QString file = e.value(QStringLiteral("file")).toString();
            if (copyFile(m_req.appPath + QStringLiteral("/site/effects/") + file, QStringLiteral("style/effect.js"))) {
                Data s;
                s.set("mode", u8(e.value(QStringLiteral("mode")).toString()));
                s.set("text", u8(script.text));
                extras.set("effect", s);
            }
        } else {
            m_res.notes << QStringLiteral("未知的脚本效果 %1，已跳过").arg(script.effectPart);
        }
    }
    // The board greets visitors on the home page; the effect runs on every page.
    m_homeExtras = render(QStringLiteral("extras"), extras);
    extras.set("board", Data(false));
    m_extras = render(QStringLiteral("extras"), extras);
}

Data Renderer::crumbs(const SitePage& page) const
{
    std::vector<const SitePage*> path;
    for (const SitePage* p = &page; p; p = p->parent)
        path.insert(path.begin(), p);
    Data l = list();
    for (const SitePage* p : path)
        l.push_back(link(p->name, p->file));
    return l;
}

const std::string& Renderer::sidebar(const SitePage* top)
{
    auto it = m_sidebars.find(top);
    if (it != m_sidebars.end())
        return it->second;
    Data d;
    // A section without pages of its own, and a page outside the tree, offer the site's sections instead.
    const bool own = top && !top->children.empty();
    d.set("title", own ? u8(top->name) : "栏目导航");
    d.set("href", own ? u8(top->file) : "index.htm");
    Data items = list();
    for (const SitePage* c : own ? top->children : m_model.top)
        items.push_back(menuEntry(c));
    d.set("items", items);
    d.set("hasItems", true);
    return m_sidebars.emplace(top, render(QStringLiteral("sidebar"), d)).first->second;
}

// The Open Graph card and feed links of a page. Open Graph addresses must be
// absolute, so without a base URL the card has no url or image.
std::string Renderer::headMeta(const QString& title, const QString& file, const QString& description,
                               const PageMeta& meta)
{
    const QString base = m_req.baseUrl;
    Data d;
    d.set("title", u8(title));
    d.set("siteTitle", u8(m_siteTitle));
    d.set("description", u8(description));
    d.set("type", meta.article ? "article" : "website");
    if (!base.isEmpty()) {
        d.set("url", u8(SiteFeeds::absoluteUrl(base, file)));
        const QString picture = meta.picture.isEmpty() ? m_logo : meta.picture;
        if (!picture.isEmpty())
            d.set("image", u8(SiteFeeds::absoluteUrl(base, picture)));
        Data feeds = list();
        feeds.push_back(link(m_siteTitle, QStringLiteral("rss.xml")));
        if (!meta.feed.isEmpty())
            feeds.push_back(link(meta.feedTitle, meta.feed));
        d.set("feeds", feeds);
    }
    return render(QStringLiteral("meta"), d);
}

std::string Renderer::innerPage(const QString& title, const QString& file, const SitePage* page, const Data& crumbList,
                                const std::string& body, const QString& summary, const PageMeta& meta)
{
    const SitePage* top = page;
    while (top && top->parent)
        top = top->parent;
    const QString description = summary.isEmpty() ? orgName() : summary;
    Data d;
    d.set("meta", headMeta(title, file, description, meta));
    d.set("indexed", m_search && page != nullptr);
    d.set("pageTitle", u8(title));
    d.set("siteTitle", u8(m_siteTitle));
    d.set("description", u8(description));
    d.set("layout", u8(m_innerTheme.layout));
    d.set("head", m_innerHead);
    d.set("crumbs", crumbList);
    d.set("sidebar", sidebar(top));
    d.set("body", body);
    d.set("footer", m_footer);
    d.set("extras", m_extras);
    return render(QStringLiteral("inner"), d);
}

// The page of one record of a list page, below the list page in the crumbs and linking back to it.
bool Renderer::writeRecordPage(const SitePage& page, const Data& crumbList, const QString& title, const QString& file,
                               Data item, const QString& templateName, const QString& summary, const PageMeta& meta,
                               const QDate& date)
{
    item.set("pageTitle", u8(page.name));
    item.set("pageHref", u8(page.file));
    Data itemCrumbs = crumbList;
    itemCrumbs.push_back(link(title, file));
    return writePage(
        file, innerPage(title, file, &page, itemCrumbs, render(templateName, item), summaryOf(summary), meta), date);
}

// The body of a page of the tree, by its display format; list formats also
// write a page per record.
std::string Renderer::bodyOf(const SitePage& page)
{
    using Editor = DisplayFormats::Editor;
    using Builder = std::string (Renderer::*)(const SitePage&, const DisplayFormats::Format&, Data&);
    static const std::pair<Editor, Builder> builders[] = {
        {Editor::Text, &Renderer::textBody},           {Editor::ImageText, &Renderer::textBody},
        {Editor::BigImage, &Renderer::bigImageBody},   {Editor::Free, &Renderer::freeBody},
        {Editor::NewsList, &Renderer::newsBody},       {Editor::GalleryList, &Renderer::galleryBody},
        {Editor::ProductList, &Renderer::productBody},
    };
    Data d;
    d.set("title", u8(page.name));
    m_summary.clear();
    m_pageMeta = {};
    if (page.catalog)
        return catalogBody(page, d);
    const DisplayFormats::Format* format = DisplayFormats::find(page.format);
    if (format && !m_model.recordsOf(page).isEmpty())
        for (const auto& [editor, build] : builders)
            if (editor == format->editor)
                return (this->*build)(page, *format, d);
    return render(QStringLiteral("empty"), d);
}

std::string Renderer::catalogBody(const SitePage& page, Data& d)
{
    Data children = list();
    QStringList names;
    for (const SitePage* c : page.children) {
        names << c->name;
        Data i = link(c->name, c->file);
        i.set("catalog", c->catalog);
        children.push_back(i);
    }
    d.set("children", children);
    d.set("hasChildren", !page.children.empty());
    m_summary = names.join(QStringLiteral("，"));
    return render(QStringLiteral("catalog"), d);
}

// "txt" and "imgTxt01..03": title, text and the format's picture slots.
std::string Renderer::textBody(const SitePage& page, const DisplayFormats::Format& format, Data& d)
{
    const auto r = ContentRecords::read<ContentRecords::TextPage>(m_model.recordsOf(page).first());
    d.set("title", u8(r.title.isEmpty() ? page.name : r.title));
    d.set("text", u8(plainText(r.body)));
    m_summary = plainText(r.body);
    if (format.pictureSlots == 0)
        return render(QStringLiteral("txt"), d);
    d.set("variant", u8(format.code.toLower()));
    Data pics = list();
    const QString names[] = {r.picture1, r.picture2};
    for (int i = 0; i < format.pictureSlots && i < 2; ++i) {
        const Data p = pictureData(names[i], r.title, SitePictures::Shown::Content);
        if (p.is_object())
            pics.push_back(p);
        if (m_pageMeta.picture.isEmpty())
            m_pageMeta.picture = srcOf(p);
    }
    d.set("pictures", pics);
    return render(QStringLiteral("imgtxt"), d);
}

std::string Renderer::bigImageBody(const SitePage& page, const DisplayFormats::Format&, Data& d)
{
    const auto r = ContentRecords::read<ContentRecords::BigImagePage>(m_model.recordsOf(page).first());
    const Data picture = pictureData(r.picture, page.name, SitePictures::Shown::Content);
    m_pageMeta.picture = srcOf(picture);
    d.set("picture", picture);
    m_summary = page.name;
    return render(QStringLiteral("bigimg"), d);
}

std::string Renderer::freeBody(const SitePage& page, const DisplayFormats::Format&, Data& d)
{
    const auto r = ContentRecords::read<ContentRecords::FreePage>(m_model.recordsOf(page).first());
    const QString html = storedHtml(r.html);
    d.set("html", u8(html));
    m_summary = html;
    return render(QStringLiteral("adv"), d);
}

std::string Renderer::newsBody(const SitePage& page, const DisplayFormats::Format&, Data& d)
{
    const Data crumbList = crumbs(page);
    const QString feed = QStringLiteral("rss-") + QFileInfo(page.file).completeBaseName() + QStringLiteral(".xml");
    QVector<SiteFeeds::Entry> entries;
    QDate newest;
    Data items = list();
    QStringList titles;
    for (const SiteRecord& row : m_model.recordsOf(page)) {
        const auto n = ContentRecords::read<ContentRecords::NewsItem>(row);
        titles << n.title;
        const QString file = newsFile(page, row);
        const QString text = plainText(n.body);
        const QDate date = SiteFeeds::parseDate(n.date);
        Data item;
        item.set("title", u8(n.title));
        item.set("date", u8(n.date));
        item.set("href", u8(file));
        items.push_back(item);
        item.set("text", u8(text));
        const Data picture = pictureData(n.picture, n.title, SitePictures::Shown::Content);
        item.set("picture", picture);
        const PageMeta meta{srcOf(picture), feed, page.name, true, {}};
        if (!writeRecordPage(page, crumbList, n.title, file, item, QStringLiteral("newsitem"),
                             text.trimmed().isEmpty() ? n.title : text, meta, date))
            return {};
        entries.push_back({file, n.title, summaryOf(text), date});
        if (date.isValid() && (!newest.isValid() || date > newest))
            newest = date;
    }
    m_news += entries;
    m_pageFeeds.push_back({&page, feed, entries});
    m_pageMeta.feed = feed;
    m_pageMeta.feedTitle = page.name;
    m_pageMeta.lastmod = newest;
    m_summary = titles.join(QStringLiteral("；"));
    d.set("items", items);
    return render(QStringLiteral("newslist"), d);
}

std::string Renderer::galleryBody(const SitePage& page, const DisplayFormats::Format&, Data& d)
{
    Data items = list();
    QStringList captions;
    for (const SiteRecord& row : m_model.recordsOf(page)) {
        const auto g = ContentRecords::read<ContentRecords::GalleryItem>(row);
        const Data full = pictureData(g.picture, g.caption, SitePictures::Shown::Full);
        if (full.is_false())
            continue;
        // A stored thumbnail is shown as it is; without one, the picture's small copies.
        const SitePicture& thumb = m_pictures.picture(g.thumbnail, g.caption, false);
        const QString alt =
            QStringLiteral("alt=\"%1\"").arg(g.caption.trimmed().isEmpty() ? QStringLiteral("查看大图") : QString());
        Data item;
        item.set("id", std::to_string(row.id));
        if (!g.caption.trimmed().isEmpty())
            item.set("caption", u8(g.caption));
        item.set("fullImg", full.get("img")->string_value());
        item.set("thumbImg", thumb.src.isEmpty() ? u8(m_pictures.html(m_pictures.picture(g.picture, g.caption, true),
                                                                      SitePictures::Shown::Card, alt))
                                                 : u8(m_pictures.html(thumb, SitePictures::Shown::Card, alt)));
        items.push_back(item);
        if (!g.caption.trimmed().isEmpty())
            captions << g.caption;
    }
    m_summary = captions.join(QStringLiteral("，"));
    d.set("items", items);
    return render(QStringLiteral("gallery"), d);
}

std::string Renderer::productBody(const SitePage& page, const DisplayFormats::Format& format, Data& d)
{
    const Data crumbList = crumbs(page);
    Data items = list();
    QStringList names;
    for (const SiteRecord& row : m_model.recordsOf(page)) {
        const auto p = ContentRecords::read<ContentRecords::Product>(row);
        names << p.name;
        const QString file = productFile(page, row);
        Data item;
        item.set("name", u8(p.name));
        item.set("model", u8(p.model));
        item.set("unit", u8(p.unit));
        item.set("price", u8(p.price));
        item.set("href", u8(file));
        item.set("picture", pictureData(p.picture, p.name, SitePictures::Shown::Card));
        items.push_back(item);
        const Data picture = pictureData(p.picture, p.name, SitePictures::Shown::Content);
        item.set("picture", picture);
        const QString description = storedHtml(p.description);
        item.set("description", u8(description));
        PageMeta meta;
        meta.picture = srcOf(picture);
        if (!writeRecordPage(page, crumbList, p.name, file, item, QStringLiteral("proditem"),
                             p.name + QStringLiteral("：") + description, meta))
            return {};
    }
    m_summary = names.join(QStringLiteral("，"));
    const QString variant = format.code.toLower();
    d.set("variant", u8(variant));
    d.set(u8(variant), true);
    d.set("items", items);
    return render(QStringLiteral("prodlist"), d);
}

// A news page's newest items on the home page.
Data Renderer::homeNewsBlock(const SitePage& page)
{
    const QVector<SiteRecord>& rows = m_model.recordsOf(page);
    Data block = link(page.name, page.file);
    Data items = list();
    for (int i = 0; i < rows.size() && i < 6; ++i) {
        const auto n = ContentRecords::read<ContentRecords::NewsItem>(rows[i]);
        Data item;
        item.set("title", u8(n.title));
        item.set("date", u8(n.date));
        item.set("href", u8(newsFile(page, rows[i])));
        items.push_back(item);
    }
    block.set("items", items);
    return block;
}

void Renderer::renderHome()
{
    Data d;
    d.set("siteTitle", u8(m_siteTitle));
    d.set("description", u8(orgName()));
    d.set("meta", headMeta(m_siteTitle, QStringLiteral("index.htm"), orgName(), {}));
    d.set("layout", u8(m_homeTheme.layout));
    d.set("head", m_homeHead);
    d.set("footer", m_footer);
    d.set("extras", m_homeExtras);
    d.set("orgName", u8(m_model.info.govName));
    d.set("contacts", m_contacts);

    // The newest items of up to four news pages, and a few products with pictures.
    Data newsBlocks = list();
    Data products = list();
    int newsCount = 0;
    int productCount = 0;
    for (const auto& page : m_model.pages) {
        const DisplayFormats::Format* format = DisplayFormats::find(page->format);
        const DisplayFormats::Editor editor = format ? format->editor : DisplayFormats::Editor::Free;
        const QVector<SiteRecord>& rows = m_model.recordsOf(*page);
        if (editor == DisplayFormats::Editor::NewsList && newsCount < 4 && !rows.isEmpty()) {
            newsBlocks.push_back(homeNewsBlock(*page));
            ++newsCount;
        } else if (editor == DisplayFormats::Editor::ProductList) {
            for (int i = 0; i < rows.size() && productCount < 4; ++i) {
                const auto p = ContentRecords::read<ContentRecords::Product>(rows[i]);
                const Data pic = pictureData(p.picture, p.name, SitePictures::Shown::Card);
                if (!pic.is_object())
                    continue;
                Data item;
                item.set("name", u8(p.name));
                item.set("price", u8(p.price));
                item.set("href", u8(productFile(*page, rows[i])));
                item.set("picture", pic);
                products.push_back(item);
                ++productCount;
            }
        }
    }
    d.set("news", newsBlocks);
    d.set("hasNews", newsCount > 0);
    d.set("products", products);
    d.set("hasProducts", productCount > 0);
    Data sections = list();
    for (const SitePage* p : m_model.top) {
        Data s = link(p->name, p->file);
        s.set("children", childLinks(p));
        sections.push_back(s);
    }
    d.set("sections", sections);
    d.set("hasSections", !m_model.top.empty());
    d.set("others", m_otherPages);
    d.set("hasOthers", !m_otherPages.is_empty_list());
    writePage(QStringLiteral("index.htm"), render(QStringLiteral("home"), d));
}

void Renderer::copyImagesFolder()
{
    if (m_imagesCopied)
        return;
    m_imagesCopied = true;
    const QString from = m_req.workPath + QStringLiteral("/images");
    if (!QFileInfo(from).isDir())
        return;
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString rel = QStringLiteral("images/") + QDir(from).relativeFilePath(src);
        QDir().mkpath(QFileInfo(m_req.outDir + QLatin1Char('/') + rel).path());
        if (!copyFile(src, rel))
            return;
    }
}

// The custom home page is published exactly as installed, with its images folder.
void Renderer::installCustomHome()
{
    const QString name = m_model.info.defaultFile.trimmed();
    if (name.isEmpty())
        return;
    QFile f(m_req.workPath + QLatin1Char('/') + name);
    if (WorkspaceFiles::isPlainName(name) && f.open(QIODevice::ReadOnly)) {
        m_customHome = writeFile(QStringLiteral("index.htm"), f.readAll());
        m_res.pages += m_customHome ? 1 : 0;
        if (m_customHome)
            m_listed.push_back({QStringLiteral("index.htm"), {}, {}, {}});
        copyImagesFolder();
    } else {
        m_res.notes << QStringLiteral("找不到自定制首页 %1，改用模版首页").arg(name);
    }
}

// The other pages are published exactly as installed, with their images folder.
void Renderer::copyInstalledPages()
{
    for (const auto& item : m_otherPages.list_value()) {
        const QString name = QString::fromStdString(item.get("href")->string_value());
        if (!copyFile(m_req.workPath + QLatin1Char('/') + name, name))
            return;
        ++m_res.pages;
        m_listed.push_back({name, {}, {}, {}});
        copyImagesFolder();
    }
}

// The page a missing address gets, and the search results page when the site has search.
void Renderer::writeSitePages()
{
    if (!m_res.error.isEmpty())
        return;
    const Data noCrumbs = list();
    Data d;
    writePage(QStringLiteral("404.htm"),
              innerPage(QStringLiteral("页面不存在"), QStringLiteral("404.htm"), nullptr, noCrumbs,
                        render(QStringLiteral("notfound"), d), {}, {}),
              {}, false);
    if (m_search && copyFile(m_req.appPath + QStringLiteral("/site/search.js"), QStringLiteral("style/search.js")))
        writePage(QStringLiteral("search.htm"),
                  innerPage(QStringLiteral("站内搜索"), QStringLiteral("search.htm"), nullptr, noCrumbs,
                            render(QStringLiteral("search"), d), {}, {}),
                  {}, false);
}

// Sitemap and feeds need absolute addresses: without the site's address only robots.txt is written.
void Renderer::writeFeedsAndSitemap()
{
    const QString base = m_req.baseUrl;
    if (!m_res.error.isEmpty() || !writeFile(QStringLiteral("robots.txt"), SiteFeeds::robotsTxt(base)))
        return;
    if (base.isEmpty())
        return;
    // Pages of equal name share their records, and so their item pages: each is listed once.
    QSet<QString> seen;
    const auto once = [&seen](QVector<SiteFeeds::Entry>& entries) {
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&seen](const SiteFeeds::Entry& e) {
                                         const bool again = seen.contains(e.file);
                                         seen.insert(e.file);
                                         return again;
                                     }),
                      entries.end());
        seen.clear();
    };
    once(m_listed);
    once(m_news);
    // Search engines read at most 50,000 addresses from one sitemap.
    constexpr int kSitemapMax = 50000;
    if (m_listed.size() > kSitemapMax) {
        m_res.notes << QStringLiteral("网站地图只列出前 %1 页").arg(kSitemapMax);
        m_listed.resize(kSitemapMax);
    }
    if (!writeFile(QStringLiteral("sitemap.xml"), SiteFeeds::sitemapXml(base, m_listed)))
        return;
    constexpr int kFeedItems = 50;
    const QString about = orgName();
    if (!writeFile(QStringLiteral("rss.xml"),
                   SiteFeeds::rssXml(base, m_siteTitle, about, QStringLiteral("index.htm"), QStringLiteral("rss.xml"),
                                     SiteFeeds::newest(m_news, kFeedItems))))
        return;
    for (const PageFeed& f : m_pageFeeds) {
        if (!writeFile(f.file, SiteFeeds::rssXml(base, f.page->name + QStringLiteral(" - ") + m_siteTitle, about,
                                                 f.page->file, f.file, SiteFeeds::newest(f.items, kFeedItems))))
            return;
    }
}

bool Renderer::run(const std::function<void(int, int)>& progress)
{
    if (!loadSiteModel(m_req.dbPath, m_model, &m_res.error, m_limits.maxReadSeconds))
        return false;
    if (!loadMaterial())
        return false;
    if (!QDir().mkpath(m_req.outDir + QStringLiteral("/style")) ||
        !QDir().mkpath(m_req.outDir + QStringLiteral("/pictures"))) {
        m_res.error = QStringLiteral("无法建立输出文件夹：") + m_req.outDir;
        return false;
    }
    const QString styleSrc = m_req.appPath + QStringLiteral("/site/css/site.css");
    if (!FileOps::copyFileUnsynced(styleSrc, m_req.outDir + QStringLiteral("/style/site.css")) &&
        !QFileInfo(m_req.outDir + QStringLiteral("/style/site.css")).isFile()) {
        m_res.error = QStringLiteral("缺少网站样式表：") + styleSrc;
        return false;
    }
    m_homeTheme = themeFor(QStringLiteral("home"), m_model.info.defaultTmpl);
    m_innerTheme = themeFor(QStringLiteral("inner"), m_model.info.headTmpl);
    writeThemeCss();
    m_search = !m_req.searchIndexer.isEmpty();
    installCustomHome();
    buildShared();
    if (!writeIcons())
        return false;

    const int total = int(m_model.pages.size()) + 1;
    int done = 0;
    for (const auto& page : m_model.pages) {
        const std::string body = bodyOf(*page);
        if (!m_res.error.isEmpty())
            return false;
        if (!writePage(
                page->file,
                innerPage(page->name, page->file, page.get(), crumbs(*page), body, summaryOf(m_summary), m_pageMeta),
                m_pageMeta.lastmod))
            return false;
        if (progress && (++done % 32 == 0))
            progress(done, total);
    }
    copyInstalledPages();
    if (!m_customHome)
        renderHome();
    writeSitePages();
    writeFeedsAndSitemap();
    if (progress)
        progress(total, total);
    m_res.pictures += m_pictures.copied();
    m_res.resizedPictures = m_pictures.resized();
    if (m_pictures.deferred() > 0)
        m_res.notes
            << QStringLiteral("还有 %1 张图片因时间所限没有缩小的副本，下次生成时继续").arg(m_pictures.deferred());
    if (m_res.error.isEmpty() && !m_pictures.failure().isEmpty())
        m_res.error = m_pictures.failure();
    return m_res.error.isEmpty() && spend(m_pictures.bytes());
}

} // namespace

SiteRenderRequest SiteRenderRequest::forWorkspace(const QString& workPath, const QString& appPath,
                                                  const QString& outDir)
{
    const QString work = workPath.endsWith(QLatin1Char('/')) ? workPath : workPath + QLatin1Char('/');
    SiteRenderRequest request;
    request.dbPath = work + SiteDb::kFileName;
    request.workPath = work;
    request.appPath = appPath;
    request.outDir = outDir;
    return request;
}

SiteRenderResult renderSite(const SiteRenderRequest& request, const std::function<void(int, int)>& progress,
                            const RenderLimits& limits)
{
    SiteRenderResult result;
    Renderer renderer(request, limits, result);
    result.ok = renderer.run(progress);
    // The search index reads the finished pages; without it the results page says search is unavailable.
    QString searchError;
    if (result.ok && !request.searchIndexer.isEmpty() &&
        !SiteSearch::buildIndex(request.searchIndexer, request.outDir, limits.maxIndexSeconds, &searchError))
        result.notes << searchError;
    // The compressed copies of the pages are made while rendering; the index's files join them here.
    result.ok = result.ok && renderer.finishCopies();
    if (!result.ok && result.error.isEmpty())
        result.error = QStringLiteral("网站生成失败");
    return result;
}
