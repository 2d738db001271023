// Home-page and inner-page-head templates: 800x600 mock-ups of an organisation's site in the
// style each template stands for, plus the small pictures shown in the template chooser.
#include "art.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

namespace mk {
namespace {

QStringList words(const char* joined)
{
    return QString::fromUtf8(joined).split(QLatin1Char('|'));
}

enum class Sector { Government, Company, School, Hospital };

// Wording and pictures that depend on the kind of organisation.
struct SectorText {
    QStringList nav;
    QString newsTitle, sideTitle, boxTitle, introTitle, topLinks;
    QStringList headlines, notices;
    QStringList boxItems; // list lines, or picture captions when `gallery` is set
    QStringList tiles;
    QList<Glyph> glyphs;
    QStringList links;
    Emblem emblem;
    Face face;
    bool gallery;
    Photo galleryPhoto;
};

const SectorText& sectorText(Sector sector)
{
    static const SectorText government{
        words("首页|机构设置|政务公开|新闻动态|办事指南|联系我们"),
        "新闻动态",
        "通知公告",
        "政务公开",
        "单位简介",
        "设为首页 | 加入收藏 | 无障碍浏览",
        words("全市重点项目建设推进会召开|我局召开党风廉政建设工作会议|优化营商环境工作取得新进展|"
              "政务服务“一网通办”事项再扩容|市领导调研基层便民服务中心建设|关于安全生产大检查情况的通报|"
              "我市启动全民健身月系列活动|城区老旧小区改造工程全面开工"),
        words("关于做好节假日期间值班工作的通知|关于公开征求意见的公告|年度政府信息公开工作报告|"
              "关于调整办公时间的通知|公开招聘工作人员笔试成绩公示|关于开展防汛应急演练的通知|行政审批事项目录"),
        words("政府信息公开指南|政府信息公开目录|财政预决算公开|重大行政决策公示|人事任免信息|政策文件解读"),
        words("在线办事|政策法规|领导信箱|办事指南|信息公开|便民服务"),
        {Glyph::Building, Glyph::Book, Glyph::Mail, Glyph::Document, Glyph::Search, Glyph::Heart},
        words("上级主管部门|政务服务网|市人民政府网|公共资源交易网"),
        Emblem::Star,
        Face::Serif,
        false,
        Photo::Scenery};
    static const SectorText company{
        words("首页|公司简介|产品展示|新闻中心|联系我们"),
        "新闻中心",
        "企业公告",
        "产品展示",
        "公司简介",
        "设为首页 | 加入收藏 | English",
        words("公司荣获年度优秀供应商称号|新产品发布会在总部隆重举行|公司召开年度总结表彰大会|"
              "热烈祝贺我公司通过质量管理体系认证|公司参加国际工业博览会获好评|安全生产月活动圆满落幕|"
              "公司与多所高校签署产学研合作协议|第二生产基地正式投产"),
        words("诚聘销售经理及技术工程师|关于端午节放假安排的通知|售后服务热线升级公告|供应商资质审核通知|"
              "产品价格调整说明|关于防范冒用公司名义的声明|年度客户满意度调查"),
        words("新品系列|经典系列|定制系列"),
        words("产品中心|在线留言|人才招聘|服务支持|下载中心|联系方式"),
        {Glyph::Book, Glyph::Mail, Glyph::Person, Glyph::Heart, Glyph::Document, Glyph::Search},
        words("合作伙伴|行业协会|产品商城|客户服务中心"),
        Emblem::Orbit,
        Face::Sans,
        true,
        Photo::Product};
    static const SectorText school{
        words("首页|学校概况|院系设置|教育教学|招生就业|校园新闻|联系我们"),
        "校园新闻",
        "通知公告",
        "教学科研",
        "学校简介",
        "设为首页 | 加入收藏 | 校园网登录",
        words("我校隆重举行新学期开学典礼|校园文化艺术节精彩开幕|我校学子在全国技能大赛中获佳绩|"
              "学校召开教育教学质量分析会|春季运动会圆满落幕|校领导走访慰问一线教师|图书馆新馆正式启用|"
              "毕业生就业双选会成功举办"),
        words("关于期末考试安排的通知|年度招生简章|寒假放假及开学时间安排|奖学金评定结果公示|"
              "关于教师资格认定的通知|校园网维护公告|学生社团招新通知"),
        words("我校教师在教学能力大赛中获一等奖|精品课程建设工作推进会召开|学术报告：人工智能与未来教育|"
              "实验室开放日活动通知|第十届校园科技节作品征集|教研室集体备课活动纪实"),
        words("招生信息|教务系统|图书馆|校历|校友会|信息公开"),
        {Glyph::Person, Glyph::Document, Glyph::Book, Glyph::Calendar, Glyph::Heart, Glyph::Search},
        words("教育局|招生考试院|兄弟学校|教育资源网"),
        Emblem::Shield,
        Face::Serif,
        false,
        Photo::Scenery};
    static const SectorText hospital{
        words("首页|医院概况|科室导航|专家介绍|就医指南|新闻动态|联系我们"),
        "医院新闻",
        "通知公告",
        "专家介绍",
        "医院简介",
        "设为首页 | 加入收藏 | 预约电话：0000-1234567",
        words("我院成功开展首例微创心脏手术|医院开展义诊进社区活动|我院顺利通过等级医院评审|"
              "护理部举办护理技能竞赛|新门诊大楼正式投入使用|健康讲座：如何科学预防流感|"
              "医院召开医疗质量安全工作会议|我院专家赴基层开展对口帮扶"),
        words("门诊预约挂号须知|节假日门诊安排|住院探视管理规定|医保报销流程说明|专家出诊时间调整|"
              "体检中心服务公告|护理人员招聘公告"),
        words("主任医师|副主任医师|主治医师"),
        words("预约挂号|科室导航|专家门诊|就医指南|健康宣教|检查查询"),
        {Glyph::Calendar, Glyph::Building, Glyph::Person, Glyph::Document, Glyph::Heart, Glyph::Search},
        words("卫生健康委员会|医保服务平台|医学会|健康教育网"),
        Emblem::Cross,
        Face::Sans,
        true,
        Photo::Portrait};
    switch (sector) {
    case Sector::Government:
        return government;
    case Sector::Company:
        return company;
    case Sector::School:
        return school;
    case Sector::Hospital:
        break;
    }
    return hospital;
}

// Banner decorations, combined per template.
enum Decor : unsigned {
    Rays = 1,
    Hall = 2,
    Skyline = 4,
    Clouds = 8,
    Waves = 16,
    Diagonal = 32,
    Campus = 64,
    Bokeh = 128
};

struct Scheme {
    const char* home;
    const char* head; // the matching inner-page head, if there is one
    Sector sector;
    QRgb main, dark, accent, tint;
    bool boxed;       // page in a centred box rather than full width
    bool sideLeft;    // side column on the left
    bool navOnTop;    // navigation above the banner
    bool filledHeads; // panel titles on a coloured bar rather than underlined
    unsigned decor;
};

const Scheme schemes[] = {
    {"D0101", "H0101", Sector::Government, 0xb71c1c, 0x7a0c0c, 0xf2c14e, 0xfbf3e4, false, false, false, true,
     Rays | Hall},
    {"D0102", "H0102", Sector::Government, 0x1f5fae, 0x0d3c78, 0xffd86b, 0xe9f1fa, true, true, false, false,
     Skyline | Clouds},
    {"D0103", "H0103", Sector::Government, 0x9e1b1b, 0x5e0b0b, 0xe8b64c, 0xf6eee4, true, false, true, true,
     Hall | Clouds},
    {"D0104", nullptr, Sector::Government, 0x0f5a96, 0x0a3358, 0x5ec8f2, 0xedf4fa, false, true, false, false,
     Waves | Skyline},
    {"D0201", "H0201", Sector::Company, 0x1565c0, 0x0b3d91, 0xff9800, 0xf2f6fb, false, false, true, false,
     Skyline | Diagonal},
    {"D0202", "H0202", Sector::Company, 0x2e7d32, 0x1b5e20, 0xb5dc6a, 0xf0f7ec, true, true, false, true,
     Waves | Diagonal},
    {"D0203", "H0203", Sector::Company, 0xe8710a, 0xa84a00, 0xffe0a3, 0xfff5ea, false, true, true, true,
     Rays | Diagonal},
    {"D0204", nullptr, Sector::Company, 0x4a5a66, 0x263238, 0xffb300, 0xf1f2f3, true, false, false, false,
     Bokeh | Skyline},
    {"D0301", "H0301", Sector::School, 0x1f7a4d, 0x0f4f30, 0xf4d35e, 0xeff6f1, false, true, false, true,
     Campus | Waves},
    {"D0302", "H0302", Sector::School, 0x5b2c83, 0x3a1657, 0xe5c07b, 0xf4eff9, true, false, true, false, Campus | Rays},
    {"D0303", nullptr, Sector::Hospital, 0x00897b, 0x005b52, 0x9be7ef, 0xedf7f6, false, false, false, true,
     Waves | Bokeh},
};

quint32 seedOf(const char* code)
{
    quint32 h = 2166136261u;
    for (const char* c = code; *c; ++c)
        h = (h ^ quint8(*c)) * 16777619u;
    return h;
}

// ---------------------------------------------------------------- banner decorations

void decorRays(QPainter& p, const QRectF& r, const QColor& accent, QRandomGenerator&)
{
    const QPointF o(r.right() - r.width() * 0.3, r.bottom() + r.height() * 0.15);
    QRadialGradient glow(o, r.height() * 1.4);
    glow.setColorAt(0, withAlpha(accent, 150));
    glow.setColorAt(1, withAlpha(accent, 0));
    p.fillRect(r, glow);
    p.setBrush(withAlpha(Qt::white, 24));
    const qreal reach = r.width();
    for (int i = 0; i < 18; ++i) {
        const qreal a0 = qDegreesToRadians(180 + i * 10.0), a1 = qDegreesToRadians(185 + i * 10.0);
        p.drawPolygon(QPolygonF({o, o + reach * QPointF(qCos(a0), qSin(a0)), o + reach * QPointF(qCos(a1), qSin(a1))}));
    }
}

// A Chinese roof with upturned eaves between `left` and `right`, standing on `base`.
void addRoof(QPainterPath& path, qreal left, qreal right, qreal base, qreal height)
{
    const qreal w = right - left;
    QPainterPath roof(QPointF(left, base - height * 0.35));
    roof.quadTo(left + w * 0.08, base, left + w * 0.18, base);
    roof.lineTo(right - w * 0.18, base);
    roof.quadTo(right - w * 0.08, base, right, base - height * 0.35);
    roof.quadTo(right - w * 0.14, base - height * 0.5, right - w * 0.24, base - height);
    roof.lineTo(left + w * 0.24, base - height);
    roof.quadTo(left + w * 0.14, base - height * 0.5, left, base - height * 0.35);
    path.addPath(roof);
}

void decorHall(QPainter& p, const QRectF& r, const QColor&, QRandomGenerator&)
{
    const qreal h = r.height(), ground = r.bottom() - 3;
    const qreal w = h * 1.9, x = r.right() - w - h * 0.4;
    QPainterPath s;
    s.setFillRule(Qt::WindingFill);
    s.addRect(x, ground - h * 0.07, w, h * 0.07);
    s.addRect(x + w * 0.05, ground - h * 0.12, w * 0.9, h * 0.05);
    const qreal colTop = ground - h * 0.42;
    for (int i = 0; i < 8; ++i)
        s.addRect(x + w * (0.1 + i * 0.113), colTop, w * 0.035, ground - h * 0.12 - colTop);
    s.addRect(x + w * 0.07, colTop - h * 0.05, w * 0.86, h * 0.05);
    addRoof(s, x - w * 0.05, x + w * 1.05, colTop - h * 0.05, h * 0.15);
    s.addRect(x + w * 0.25, colTop - h * 0.3, w * 0.5, h * 0.12);
    addRoof(s, x + w * 0.15, x + w * 0.85, colTop - h * 0.3, h * 0.17);
    p.fillPath(s, withAlpha(Qt::white, 60));
}

void decorSkyline(QPainter& p, const QRectF& r, const QColor&, QRandomGenerator& rng)
{
    const qreal h = r.height(), ground = r.bottom() - 3;
    for (int layer = 0; layer < 2; ++layer) {
        QPainterPath s;
        s.setFillRule(Qt::WindingFill);
        qreal x = r.left() + r.width() * (0.4 + 0.05 * layer);
        while (x < r.right()) {
            const qreal bw = h * (0.16 + rng.bounded(0.2));
            const qreal bh = h * (0.3 + rng.bounded(0.5)) * (layer ? 0.75 : 1.0);
            s.addRect(x, ground - bh, bw, bh);
            if (rng.bounded(10) < 3)
                s.addRect(x + bw / 2 - 1, ground - bh - h * 0.12, 2, h * 0.12);
            x += bw + h * 0.03 * rng.bounded(1.0);
        }
        p.fillPath(s, withAlpha(Qt::white, layer ? 52 : 26));
    }
}

void decorClouds(QPainter& p, const QRectF& r, const QColor&, QRandomGenerator&)
{
    const qreal h = r.height();
    const QPointF spots[] = {{0.52, 0.32}, {0.74, 0.66}, {0.9, 0.28}};
    const qreal sizes[] = {0.3, 0.36, 0.24};
    for (int i = 0; i < 3; ++i) {
        const QPointF c(r.left() + r.width() * spots[i].x(), r.top() + h * spots[i].y());
        const qreal s = h * sizes[i];
        QPainterPath cloud;
        cloud.setFillRule(Qt::WindingFill);
        cloud.addEllipse(c, s * 0.95, s * 0.4);
        cloud.addEllipse(c + QPointF(-s * 0.45, -s * 0.2), s * 0.36, s * 0.36);
        cloud.addEllipse(c + QPointF(s * 0.2, -s * 0.3), s * 0.46, s * 0.46);
        p.fillPath(cloud, withAlpha(Qt::white, 40));
        // The curl inside the big lobe.
        QPainterPath curl;
        const QPointF o = c + QPointF(s * 0.2, -s * 0.3);
        for (qreal t = 0; t < 3 * M_PI; t += 0.15) {
            const qreal rad = s * 0.38 * (1 - t / (3.4 * M_PI));
            const QPointF pt = o + rad * QPointF(qCos(t), qSin(t));
            if (t == 0)
                curl.moveTo(pt);
            else
                curl.lineTo(pt);
        }
        p.strokePath(curl, QPen(withAlpha(Qt::white, 90), s * 0.05, Qt::SolidLine, Qt::RoundCap));
    }
}

void decorWaves(QPainter& p, const QRectF& r, const QColor& accent, QRandomGenerator&)
{
    for (int k = 0; k < 3; ++k) {
        const qreal base = r.bottom() - r.height() * (0.14 + 0.14 * k);
        const qreal amp = r.height() * 0.07, len = r.width() / (1.3 + 0.35 * k), phase = k * 1.3;
        QPainterPath crest(QPointF(r.left(), base + amp * qSin(phase)));
        for (qreal x = 4; x <= r.width() + 4; x += 4)
            crest.lineTo(r.left() + x, base + amp * qSin(2 * M_PI * x / len + phase));
        QPainterPath body = crest;
        body.lineTo(r.right() + 4, r.bottom());
        body.lineTo(r.left(), r.bottom());
        body.closeSubpath();
        p.fillPath(body, withAlpha(Qt::white, 22));
        p.strokePath(crest, QPen(withAlpha(accent, 110), 1.3));
    }
}

void decorDiagonal(QPainter& p, const QRectF& r, const QColor& accent, QRandomGenerator& rng)
{
    const qreal skew = r.height() * 0.6;
    for (int i = 0; i < 5; ++i) {
        const qreal x = r.left() + r.width() * (0.5 + 0.1 * i);
        const qreal bw = r.height() * (0.12 + rng.bounded(0.4));
        p.setBrush(i % 2 ? withAlpha(accent, 50) : withAlpha(Qt::white, 30));
        p.drawPolygon(QPolygonF({QPointF(x, r.top()), QPointF(x + bw, r.top()), QPointF(x + bw - skew, r.bottom()),
                                 QPointF(x - skew, r.bottom())}));
    }
}

void decorCampus(QPainter& p, const QRectF& r, const QColor&, QRandomGenerator&)
{
    const qreal h = r.height(), ground = r.bottom() - 3;
    const qreal x = r.right() - h * 2.5;
    QPainterPath s;
    s.setFillRule(Qt::WindingFill);
    s.addRect(x, ground - h * 0.34, h * 1.6, h * 0.34);
    s.addPolygon(QPolygonF({QPointF(x - h * 0.04, ground - h * 0.34), QPointF(x + h * 0.8, ground - h * 0.46),
                            QPointF(x + h * 1.64, ground - h * 0.34)}));
    s.addRect(x + h * 0.7, ground - h * 0.7, h * 0.2, h * 0.7);
    s.addPolygon(QPolygonF({QPointF(x + h * 0.67, ground - h * 0.7), QPointF(x + h * 0.8, ground - h * 0.9),
                            QPointF(x + h * 0.93, ground - h * 0.7)}));
    for (const qreal tx : {x - h * 0.25, x + h * 1.85, x + h * 2.15}) {
        s.addEllipse(QPointF(tx, ground - h * 0.26), h * 0.13, h * 0.16);
        s.addRect(tx - h * 0.02, ground - h * 0.14, h * 0.04, h * 0.14);
    }
    p.fillPath(s, withAlpha(Qt::white, 58));
    p.setBrush(withAlpha(Qt::black, 40));
    for (int i = 0; i < 7; ++i)
        if (i != 3)
            p.drawRect(QRectF(x + h * (0.08 + i * 0.21), ground - h * 0.24, h * 0.1, h * 0.12));
    p.setPen(QPen(withAlpha(Qt::black, 50), 1.2));
    p.drawEllipse(QPointF(x + h * 0.8, ground - h * 0.58), h * 0.06, h * 0.06);
    p.setPen(Qt::NoPen);
}

void decorBokeh(QPainter& p, const QRectF& r, const QColor&, QRandomGenerator& rng)
{
    for (int i = 0; i < 14; ++i) {
        const QPointF c(r.left() + r.width() * (0.4 + rng.bounded(0.6)), r.top() + r.height() * rng.bounded(1.0));
        const qreal rad = r.height() * (0.05 + rng.bounded(0.22));
        QRadialGradient g(c, rad);
        g.setColorAt(0, withAlpha(Qt::white, 30 + rng.bounded(40)));
        g.setColorAt(1, withAlpha(Qt::white, 6));
        p.setBrush(g);
        p.setPen(QPen(withAlpha(Qt::white, 45), 1));
        p.drawEllipse(c, rad, rad);
    }
    p.setPen(Qt::NoPen);
}

using DecorFn = void (*)(QPainter&, const QRectF&, const QColor&, QRandomGenerator&);
const DecorFn decorations[] = {decorRays,  decorHall,     decorSkyline, decorClouds,
                               decorWaves, decorDiagonal, decorCampus,  decorBokeh};

// ---------------------------------------------------------------- page painter

class PageArt {
public:
    PageArt(QPainter& painter, const Scheme& scheme)
        : p(painter), s(scheme), t(sectorText(scheme.sector)), main(scheme.main), dark(scheme.dark),
          accent(scheme.accent), tint(scheme.tint), rng(seedOf(scheme.home))
    {
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
    }

    void homePage(const QSizeF& size);
    void headBand(const QSizeF& size);

private:
    void banner(const QRectF& r);
    void nav(const QRectF& r);
    void topStrip(const QRectF& r);
    void noticeLine(const QRectF& r);
    QRectF panel(const QRectF& r, const QString& title);
    void newsList(const QRectF& r, const QStringList& items, bool dates);
    void slide(const QRectF& r);
    void intro(const QRectF& r);
    void gallery(const QRectF& r);
    void quickTiles(const QRectF& r);
    void linkBar(const QRectF& r);
    void footer(const QRectF& r);
    void text(const QRectF& r, const QString& str, const QFont& f, const QColor& c, int align = Qt::AlignLeft);
    QString nextDate();

    QPainter& p;
    const Scheme& s;
    const SectorText& t;
    QColor main, dark, accent, tint;
    QRandomGenerator rng;
    int month = 12, day = 28;
};

void PageArt::text(const QRectF& r, const QString& str, const QFont& f, const QColor& c, int align)
{
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, align | Qt::AlignVCenter, QFontMetricsF(f).elidedText(str, Qt::ElideRight, r.width()));
}

// Dates of a news list, newest first.
QString PageArt::nextDate()
{
    day -= 1 + rng.bounded(4);
    if (day < 1) {
        month = month > 1 ? month - 1 : 12;
        day += 28;
    }
    return QStringLiteral("%1-%2").arg(month, 2, 10, QLatin1Char('0')).arg(day, 2, 10, QLatin1Char('0'));
}

void PageArt::banner(const QRectF& r)
{
    p.save();
    p.setClipRect(r);
    QLinearGradient base(r.topLeft(), r.topRight());
    base.setColorAt(0, main.lighter(108));
    base.setColorAt(1, mix(main, dark, 0.55));
    p.fillRect(r, base);
    QLinearGradient sheen(r.topLeft(), r.bottomLeft());
    sheen.setColorAt(0, withAlpha(Qt::white, 45));
    sheen.setColorAt(0.5, withAlpha(Qt::white, 0));
    p.fillRect(r, sheen);
    p.setPen(Qt::NoPen);
    for (unsigned bit = 0; bit < 8; ++bit)
        if (s.decor & (1u << bit))
            decorations[bit](p, r, accent, rng);
    p.fillRect(QRectF(r.left(), r.bottom() - 3, r.width(), 3), accent);

    const qreal radius = qMin(r.height() * 0.33, 40.0);
    const QPointF emblemAt(r.left() + radius + 26, r.center().y() - 2);
    drawEmblem(p, emblemAt, radius, t.emblem, main, accent);

    const QFont nameFont = cjkFont(t.face, r.height() * 0.34, QFont::Bold);
    const qreal nameX = emblemAt.x() + radius + 18;
    const qreal baseline = r.center().y() + r.height() * 0.06;
    QPainterPath name;
    name.addText(nameX, baseline, nameFont, QStringLiteral("单位名称"));
    p.fillPath(name.translated(2, 2), withAlpha(Qt::black, 90));
    if (t.face == Face::Serif && s.sector == Sector::Government) {
        QLinearGradient gold(0, baseline - nameFont.pixelSize(), 0, baseline);
        gold.setColorAt(0, accent.lighter(135));
        gold.setColorAt(1, accent);
        p.fillPath(name, gold);
    } else {
        p.fillPath(name, Qt::white);
    }
    QFont latin = cjkFont(Face::Sans, 11);
    latin.setLetterSpacing(QFont::AbsoluteSpacing, 2.6);
    p.setFont(latin);
    p.setPen(withAlpha(Qt::white, 215));
    p.drawText(QPointF(nameX + 2, baseline + r.height() * 0.2), QStringLiteral("DANWEI MINGCHENG"));
    p.restore();
}

void PageArt::nav(const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, dark.lighter(125));
    g.setColorAt(1, dark);
    p.fillRect(r, g);
    const qreal cell = r.width() / t.nav.size();
    const QFont f = cjkFont(Face::Sans, 14);
    for (int i = 0; i < t.nav.size(); ++i) {
        const QRectF c(r.left() + i * cell, r.top(), cell, r.height());
        QColor ink = Qt::white;
        if (i == 0) {
            QLinearGradient hi(c.topLeft(), c.bottomLeft());
            hi.setColorAt(0, accent.lighter(115));
            hi.setColorAt(1, accent);
            p.fillRect(c, hi);
            ink = dark.darker(120);
        } else {
            p.fillRect(QRectF(c.left(), c.top() + 7, 1, c.height() - 14), withAlpha(Qt::black, 60));
            p.fillRect(QRectF(c.left() + 1, c.top() + 7, 1, c.height() - 14), withAlpha(Qt::white, 50));
        }
        text(c, t.nav.at(i), f, ink, Qt::AlignHCenter);
    }
}

void PageArt::topStrip(const QRectF& r)
{
    p.fillRect(r, tint.darker(104));
    p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), tint.darker(118));
    const QFont f = cjkFont(Face::Sans, 11);
    text(r.adjusted(12, 0, -12, 0), QStringLiteral("欢迎访问单位名称网站！"), f, QColor(0x66, 0x66, 0x66));
    text(r.adjusted(12, 0, -12, 0), t.topLinks, f, QColor(0x66, 0x66, 0x66), Qt::AlignRight);
}

void PageArt::noticeLine(const QRectF& r)
{
    p.fillRect(r, Qt::white);
    p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), QColor(0xdd, 0xdd, 0xdd));
    const qreal mid = r.center().y();
    p.setPen(Qt::NoPen);
    p.setBrush(main);
    p.drawPolygon(
        QPolygonF({QPointF(r.left() + 12, mid - 3), QPointF(r.left() + 16, mid - 3), QPointF(r.left() + 22, mid - 7),
                   QPointF(r.left() + 22, mid + 7), QPointF(r.left() + 16, mid + 3), QPointF(r.left() + 12, mid + 3)}));
    text(QRectF(r.left() + 28, r.top(), 80, r.height()), QStringLiteral("最新公告："),
         cjkFont(Face::Sans, 12, QFont::Bold), main);
    text(QRectF(r.left() + 96, r.top(), r.width() - 330, r.height()),
         t.notices.first() + QStringLiteral("　　") + t.headlines.at(2), cjkFont(Face::Sans, 12),
         QColor(0x44, 0x44, 0x44));

    const QRectF box(r.right() - 216, mid - 9, 160, 18), button(r.right() - 52, mid - 9, 42, 18);
    p.setPen(QColor(0xc8, 0xc8, 0xc8));
    p.setBrush(Qt::white);
    p.drawRect(box);
    text(box.adjusted(6, 0, 0, 0), QStringLiteral("请输入关键字"), cjkFont(Face::Sans, 11), QColor(0xaa, 0xaa, 0xaa));
    p.setPen(Qt::NoPen);
    p.setBrush(main);
    p.drawRoundedRect(button, 2, 2);
    text(button, QStringLiteral("搜索"), cjkFont(Face::Sans, 11), Qt::white, Qt::AlignHCenter);
}

QRectF PageArt::panel(const QRectF& r, const QString& title)
{
    const qreal headH = 28;
    p.setPen(QColor(0xd8, 0xdc, 0xe2));
    p.setBrush(Qt::white);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    const QRectF head(r.left(), r.top(), r.width(), headH);
    const QFont titleFont = cjkFont(Face::Sans, 13, QFont::Bold);
    const QFont moreFont = cjkFont(Face::Sans, 11);
    const qreal titleW = QFontMetricsF(titleFont).horizontalAdvance(title);
    if (s.filledHeads) {
        QLinearGradient g(head.topLeft(), head.bottomLeft());
        g.setColorAt(0, main.lighter(112));
        g.setColorAt(1, main);
        p.fillRect(head, g);
        p.fillRect(QRectF(head.left() + 9, head.center().y() - 3, 6, 6), accent);
        text(head.adjusted(21, 0, 0, 0), title, titleFont, Qt::white);
        text(head.adjusted(0, 0, -9, 0), QStringLiteral("更多>>"), moreFont, withAlpha(Qt::white, 220), Qt::AlignRight);
    } else {
        p.fillRect(head.adjusted(1, 1, -1, 0), mix(tint, Qt::white, 0.3));
        p.fillRect(QRectF(head.left(), head.bottom() - 1, head.width(), 1), QColor(0xd8, 0xdc, 0xe2));
        p.fillRect(QRectF(head.left() + 10, head.bottom() - 2, titleW + 8, 3), main);
        text(head.adjusted(14, 0, 0, 0), title, titleFont, main);
        text(head.adjusted(0, 0, -9, 0), QStringLiteral("更多 +"), moreFont, QColor(0x99, 0x99, 0x99), Qt::AlignRight);
    }
    return r.adjusted(9, headH + 5, -9, -5);
}

void PageArt::newsList(const QRectF& r, const QStringList& items, bool dates)
{
    const qreal rowH = 21;
    const QFont f = cjkFont(Face::Sans, 12);
    const qreal dateW = dates ? QFontMetricsF(f).horizontalAdvance(QStringLiteral("00-00")) + 6 : 0;
    const int offset = rng.bounded(items.size());
    month = 12;
    day = 28;
    for (int i = 0; (i + 1) * rowH <= r.height(); ++i) {
        const QRectF row(r.left(), r.top() + i * rowH, r.width(), rowH);
        p.fillRect(QRectF(row.left() + 1, row.center().y() - 2, 4, 4), main);
        text(row.adjusted(11, 0, -dateW, 0), items.at((offset + i) % items.size()), f, QColor(0x33, 0x33, 0x33));
        if (dates)
            text(row, nextDate(), f, QColor(0x99, 0x99, 0x99), Qt::AlignRight);
        p.setPen(QPen(QColor(0xe2, 0xe2, 0xe2), 1, Qt::DotLine));
        p.drawLine(QPointF(row.left(), row.bottom() - 0.5), QPointF(row.right(), row.bottom() - 0.5));
    }
}

void PageArt::slide(const QRectF& r)
{
    drawPhoto(p, r, Photo::Scenery, rng.generate());
    const QRectF band(r.left(), r.bottom() - 26, r.width(), 26);
    p.fillRect(band, withAlpha(Qt::black, 130));
    text(band.adjusted(9, 0, -80, 0), t.headlines.first(), cjkFont(Face::Sans, 12), Qt::white);
    const QFont digits = cjkFont(Face::Sans, 10, QFont::Bold);
    for (int i = 0; i < 4; ++i) {
        const QRectF tag(band.right() - 74 + i * 17, band.center().y() - 7, 14, 14);
        p.fillRect(tag, i == 0 ? accent : withAlpha(Qt::white, 70));
        text(tag, QString::number(i + 1), digits, i == 0 ? dark : Qt::white, Qt::AlignHCenter);
    }
    p.setPen(QColor(0xc8, 0xcc, 0xd2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

void PageArt::intro(const QRectF& r)
{
    const QRectF photo(r.left(), r.top() + 2, qMin(r.width() * 0.42, 110.0), qMin(r.height() - 22, 82.0));
    drawPhoto(p, photo, Photo::Scenery, rng.generate() | 1); // odd seeds show a building
    const QColor bar(0xcf, 0xd3, 0xd9);
    textBars(p, QRectF(photo.right() + 8, photo.top(), r.right() - photo.right() - 8, photo.height()), 13, rng, bar);
    textBars(p, QRectF(r.left(), photo.bottom() + 4, r.width(), r.bottom() - photo.bottom() - 4), 13, rng, bar);
}

void PageArt::gallery(const QRectF& r)
{
    const int n = t.boxItems.size();
    const qreal gap = 7, cellW = (r.width() - gap * (n - 1)) / n, picH = r.height() - 20;
    const quint32 seed = rng.generate();
    for (int i = 0; i < n; ++i) {
        const QRectF pic(r.left() + i * (cellW + gap), r.top() + 2, cellW, picH);
        drawPhoto(p, pic, t.galleryPhoto, seed + quint32(i) * 5);
        p.setPen(QColor(0xcc, 0xcc, 0xcc));
        p.setBrush(Qt::NoBrush);
        p.drawRect(pic.adjusted(0.5, 0.5, -0.5, -0.5));
        text(QRectF(pic.left(), pic.bottom() + 1, cellW, 18), t.boxItems.at(i), cjkFont(Face::Sans, 11),
             QColor(0x55, 0x55, 0x55), Qt::AlignHCenter);
    }
}

void PageArt::quickTiles(const QRectF& r)
{
    const qreal gap = 5, w = (r.width() - gap) / 2, h = (r.height() - 2 * gap) / 3;
    const QColor fills[] = {main, mix(main, accent, 0.22)};
    const QFont f = cjkFont(Face::Sans, 12);
    for (int i = 0; i < 6; ++i) {
        const QRectF tile(r.left() + (i % 2) * (w + gap), r.top() + (i / 2) * (h + gap), w, h);
        const QColor fill = fills[(i + i / 2) % 2]; // chequered
        QLinearGradient g(tile.topLeft(), tile.bottomLeft());
        g.setColorAt(0, fill.lighter(112));
        g.setColorAt(1, fill);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(tile, 4, 4);
        const qreal icon = h * 0.55;
        drawGlyph(p, QRectF(tile.left() + 8, tile.center().y() - icon / 2, icon, icon), t.glyphs.at(i), Qt::white);
        text(tile.adjusted(icon + 15, 1, -3, 1), t.tiles.at(i), f, withAlpha(Qt::black, 60));
        text(tile.adjusted(icon + 14, 0, -4, 0), t.tiles.at(i), f, Qt::white);
    }
}

void PageArt::linkBar(const QRectF& r)
{
    p.fillRect(r, mix(tint, Qt::white, 0.2));
    const QFont bold = cjkFont(Face::Sans, 12, QFont::Bold);
    text(r.adjusted(12, 0, 0, 0), QStringLiteral("友情链接："), bold, main);
    const qreal x = r.left() + 16 + QFontMetricsF(bold).horizontalAdvance(QStringLiteral("友情链接："));
    text(QRectF(x, r.top(), r.right() - x, r.height()), t.links.join(QStringLiteral("　|　")), cjkFont(Face::Sans, 12),
         QColor(0x66, 0x66, 0x66));
}

void PageArt::footer(const QRectF& r)
{
    p.fillRect(r, dark);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 3), accent);
    const QFont f = cjkFont(Face::Sans, 11);
    const QColor ink = withAlpha(Qt::white, 215);
    text(QRectF(r.left(), r.top() + 6, r.width(), 19), QStringLiteral("版权所有 © 单位名称　保留所有权利"), f, ink,
         Qt::AlignHCenter);
    text(QRectF(r.left(), r.top() + 24, r.width(), 19),
         QStringLiteral("地址：某某市某某区某某路 88 号　电话：0000-12345678　备案号：ICP 备 00000000 号"), f, ink,
         Qt::AlignHCenter);
}

void PageArt::homePage(const QSizeF& size)
{
    const qreal W = size.width(), H = size.height();
    qreal x0 = 0, w = W;
    if (s.boxed) {
        p.fillRect(QRectF(0, 0, W, H), tint.darker(106));
        p.setPen(QPen(withAlpha(Qt::white, 110), 1));
        for (qreal d = -H; d < W; d += 6)
            p.drawLine(QPointF(d, H), QPointF(d + H, 0));
        x0 = 24;
        w = W - 48;
        for (int i = 1; i <= 6; ++i)
            p.fillRect(QRectF(x0 - i, 0, w + 2 * i, H), withAlpha(Qt::black, 10));
    }
    p.fillRect(QRectF(x0, 0, w, H), s.boxed ? QColor(Qt::white) : mix(tint, Qt::white, 0.4));

    topStrip(QRectF(x0, 0, w, 22));
    const qreal navY = s.navOnTop ? 22 : 132, bannerY = s.navOnTop ? 54 : 22;
    banner(QRectF(x0, bannerY, w, 110));
    nav(QRectF(x0, navY, w, 32));
    noticeLine(QRectF(x0, 164, w, 26));

    const qreal margin = 10, gap = 10, sideW = 206;
    const qreal mainW = w - 2 * margin - sideW - gap;
    const qreal sideX = s.sideLeft ? x0 + margin : x0 + w - margin - sideW;
    const qreal mainX = s.sideLeft ? sideX + sideW + gap : x0 + margin;
    const qreal top1 = 196, h1 = 166, top2 = top1 + h1 + gap, h2 = 150;

    const qreal slideW = qRound(mainW * 0.47);
    const qreal slideX = s.sideLeft ? mainX + mainW - slideW : mainX;
    const qreal newsX = s.sideLeft ? mainX : mainX + slideW + gap;
    slide(QRectF(slideX, top1, slideW, h1));
    newsList(panel(QRectF(newsX, top1, mainW - slideW - gap, h1), t.newsTitle), t.headlines, true);
    newsList(panel(QRectF(sideX, top1, sideW, h1), t.sideTitle), t.notices, true);

    const qreal half = (mainW - gap) / 2;
    const QRectF box = panel(QRectF(mainX, top2, half, h2), t.boxTitle);
    if (t.gallery)
        gallery(box);
    else
        newsList(box, t.boxItems, false);
    intro(panel(QRectF(mainX + half + gap, top2, half, h2), t.introTitle));
    quickTiles(panel(QRectF(sideX, top2, sideW, h2), QStringLiteral("快速通道")));

    linkBar(QRectF(x0, 528, w, 22));
    footer(QRectF(x0, 552, w, H - 552));
}

void PageArt::headBand(const QSizeF& size)
{
    const qreal navH = 30, bannerH = size.height() - navH;
    banner(QRectF(0, s.navOnTop ? navH : 0, size.width(), bannerH));
    nav(QRectF(0, s.navOnTop ? 0 : bannerH, size.width(), navH));
}

} // namespace

void makeTemplates(AssetWriter& out)
{
    for (const Scheme& scheme : schemes) {
        QImage home(800, 600, QImage::Format_RGB32);
        {
            QPainter p(&home);
            PageArt(p, scheme).homePage(home.size());
        }
        const QString homeName = QStringLiteral("template/") + QLatin1String(scheme.home);
        out.saveImage(homeName + QStringLiteral(".jpg"), home, "JPG", 85);
        out.saveImage(homeName + QStringLiteral(".png"), thumbnail(home, QSize(160, 120)), "PNG");
        if (!scheme.head)
            continue;
        QImage head(780, 150, QImage::Format_RGB32);
        {
            QPainter p(&head);
            PageArt(p, scheme).headBand(head.size());
        }
        const QString headName = QStringLiteral("template/") + QLatin1String(scheme.head);
        out.saveImage(headName + QStringLiteral(".jpg"), head, "JPG", 85);
        out.saveImage(headName + QStringLiteral(".png"),
                      thumbnail(head, QSize(160, qRound(160.0 * head.height() / head.width()))), "PNG");
    }
}

} // namespace mk
