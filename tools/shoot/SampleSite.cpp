#include "SampleSite.h"

#include "data/SiteDb.h"
#include "text/TextCodec.h"

#include <QColor>
#include <QDate>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>

#include <cmath>
#include <tuple>

namespace SampleSite {
namespace {

struct Organisation {
    QString name;
    QString web;
    QString address;
    QString products; // the name of the product page
    QStringList productNames;
    QStringList news;
    QString intro;
};

Organisation organisation(const QString& category)
{
    if (category == QStringLiteral("企业单位"))
        return {QStringLiteral("青禾环保科技有限公司"),
                QStringLiteral("青禾环保"),
                QStringLiteral("江苏省苏州市工业园区星湖街 218 号"),
                QStringLiteral("产品中心"),
                {QStringLiteral("家用净水器 QH-500"), QStringLiteral("商用净水设备 QH-2000"),
                 QStringLiteral("空气净化器 AP-60"), QStringLiteral("新风系统 FA-300"), QStringLiteral("滤芯套装"),
                 QStringLiteral("水质检测仪")},
                {QStringLiteral("公司荣获“江苏省专精特新中小企业”称号"), QStringLiteral("新一代家用净水器正式发布"),
                 QStringLiteral("公司参加 2026 中国国际环保展览会"), QStringLiteral("与多所高校共建环保技术联合实验室"),
                 QStringLiteral("年度经销商大会在苏州召开"), QStringLiteral("公司通过 ISO 14001 环境管理体系复审"),
                 QStringLiteral("青禾公益：为山区学校捐赠净水设备")},
                QStringLiteral("青禾环保科技有限公司成立于 2009 年，是一家专注于水处理与空气净化设备研发、生产和销售的"
                               "高新技术企业。公司拥有现代化生产基地两万平方米，研发人员一百余名，产品远销三十多个国家"
                               "和地区。\n我们坚持“科技守护健康”的理念，为家庭、学校、医院和企业提供安全可靠的净水与"
                               "净气解决方案。")};
    if (category == QStringLiteral("学校医院"))
        return {QStringLiteral("青溪市第一中学"),
                QStringLiteral("青溪一中"),
                QStringLiteral("青溪市文昌路 36 号"),
                QStringLiteral("特色课程"),
                {QStringLiteral("机器人创新课程"), QStringLiteral("青少年科学实验"), QStringLiteral("国学经典诵读"),
                 QStringLiteral("校园足球"), QStringLiteral("合唱与器乐"), QStringLiteral("生涯规划指导")},
                {QStringLiteral("我校学子在全国青少年科技创新大赛中获一等奖"),
                 QStringLiteral("2026 年秋季运动会圆满落幕"), QStringLiteral("高三年级召开期中学情分析会"),
                 QStringLiteral("“书香校园”读书节开幕"), QStringLiteral("我校举行新教师入职宣誓仪式"),
                 QStringLiteral("校园开放日欢迎家长走进课堂"), QStringLiteral("我校与青溪大学签署合作办学协议")},
                QStringLiteral("青溪市第一中学创办于 1923 年，是省级示范性普通高中。学校占地一百二十亩，现有教学班"
                               "六十个，在校学生三千余人，教职工二百八十人。\n学校秉承“博学、笃行、求是、创新”的校训，"
                               "以培养全面发展的时代新人为己任，连续多年获评市教学质量优秀单位。")};
    return {QStringLiteral("青溪市人民政府"),
            QStringLiteral("青溪市政府"),
            QStringLiteral("青溪市人民路 1 号"),
            QStringLiteral("便民服务"),
            {QStringLiteral("户籍办理"), QStringLiteral("社保查询"), QStringLiteral("公积金提取"),
             QStringLiteral("不动产登记"), QStringLiteral("企业开办"), QStringLiteral("公共交通")},
            {QStringLiteral("市政府召开第十二次常务会议"), QStringLiteral("我市举行 2026 年重点项目集中开工仪式"),
             QStringLiteral("青溪市入选全省营商环境示范城市"), QStringLiteral("市长热线十月份办理情况通报"),
             QStringLiteral("冬季安全生产大检查全面启动"), QStringLiteral("我市新增三处口袋公园"),
             QStringLiteral("青溪至临江城际公交正式开通")},
            QStringLiteral("青溪市位于江南丘陵地带，总面积一千八百平方公里，辖四区三县，常住人口一百二十万。"
                           "青溪历史悠久，山清水秀，素有“江南茶乡”之称。\n近年来，市政府坚持以人民为中心，持续深化"
                           "“放管服”改革，全面推进政务公开，建设人民满意的服务型政府。")};
}

// A landscape with sky, sun, hills and water in the colours of the index.
QImage scene(int index, int width, int height)
{
    static const QColor skies[] = {QColor(120, 180, 235), QColor(250, 190, 140), QColor(150, 200, 220),
                                   QColor(200, 170, 230), QColor(110, 160, 210), QColor(240, 210, 160)};
    static const QColor lands[] = {QColor(70, 140, 80),  QColor(150, 120, 70), QColor(60, 120, 110),
                                   QColor(110, 150, 70), QColor(80, 110, 150), QColor(170, 140, 90)};
    const QColor sky = skies[index % 6];
    const QColor land = lands[(index * 5 + 1) % 6];
    QImage img(width, height, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, sky.lighter(130));
    g.setColorAt(0.6, sky);
    g.setColorAt(1, sky.darker(110));
    p.fillRect(img.rect(), g);
    QRadialGradient sun(width * (0.2 + 0.12 * (index % 5)), height * 0.25, height * 0.18);
    sun.setColorAt(0, QColor(255, 250, 220));
    sun.setColorAt(1, QColor(255, 250, 220, 0));
    p.fillRect(img.rect(), sun);
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath hills;
        const double base = height * (0.55 + 0.12 * layer);
        hills.moveTo(0, height);
        hills.lineTo(0, base);
        for (int x = 0; x <= width; x += width / 8) {
            const double h = base - height * 0.12 * (0.5 + 0.5 * std::sin((x + index * 97 + layer * 53) * 0.013));
            hills.quadTo(x - width / 16.0, h - height * 0.05, x, h);
        }
        hills.lineTo(width, height);
        p.fillPath(hills, land.darker(100 + layer * 25).lighter(140 - layer * 20));
    }
    p.fillRect(QRectF(0, height * 0.88, width, height * 0.12), QColor(90, 150, 200, 160));
    return img;
}

} // namespace

bool fill(const QString& workPath, const QString& category, QString* error)
{
    SiteDb db(QStringLiteral("sample-site"));
    if (!db.open(workPath)) {
        *error = db.lastOpenError();
        return false;
    }
    const Organisation org = organisation(category);
    QStringList failures;
    const auto run = [&](const QString& sql, const QVariantList& binds) {
        const SqlResult r = db.run(sql, binds);
        if (!r.ok)
            failures << sql;
    };
    const auto picture = [&](const QString& name, int index, int w, int h) {
        if (!scene(index, w, h).save(workPath + name, "JPG", 88))
            failures << name;
        return name;
    };

    run(QStringLiteral("UPDATE user_info SET webName=?, gov_name=?, Address=?, linkMan=?, Tel=?, Fax=?, Zip=?, "
                       "Email=?, defaultFont=?, headFont=?"),
        {org.web, org.name, org.address, QStringLiteral("王明"), QStringLiteral("0512-66881234"),
         QStringLiteral("0512-66881235"), QStringLiteral("215000"), QStringLiteral("info@example.cn"),
         QStringLiteral("font01.png"), QStringLiteral("font02.png")});

    // Level-1 entries in menu order: (name, is catalog, format).
    const QList<std::tuple<QString, bool, QString>> firsts = {
        {QStringLiteral("概况介绍"), false, QStringLiteral("imgTxt01")},
        {QStringLiteral("新闻动态"), false, QStringLiteral("news")},
        {org.products, false, QStringLiteral("prod02")},
        {QStringLiteral("图片展示"), false, QStringLiteral("imgs")},
        {QStringLiteral("服务指南"), true, QString()},
        {QStringLiteral("联系我们"), false, QStringLiteral("txt")},
    };
    int order = 0;
    for (const auto& [name, isCatalog, format] : firsts)
        run(QStringLiteral("INSERT INTO firstCatalog (firstCatalog, [catalog], orderID, aspFileName) VALUES (?,?,?,?)"),
            {name, isCatalog, ++order, isCatalog ? QVariant() : QVariant(format)});
    const QStringList guides = {QStringLiteral("办事流程"), QStringLiteral("常见问题"), QStringLiteral("下载中心")};
    order = 0;
    for (const QString& g : guides)
        run(QStringLiteral("INSERT INTO secondCatalog (firstCatalog, secondCatalog, [catalog], orderID, aspFileName) "
                           "VALUES (?,?,?,?,?)"),
            {QStringLiteral("服务指南"), g, false, ++order, QStringLiteral("txt")});

    const QString insert1 = QStringLiteral("INSERT INTO content01 (firstCatalog, value01, value02, value03, value04, "
                                           "value05, value06) VALUES (?,?,?,?,?,?,?)");
    run(insert1, {QStringLiteral("概况介绍"), QStringLiteral("走进") + org.web, TextCodec::encode(org.intro),
                  picture(QStringLiteral("intro1.jpg"), 0, 640, 420),
                  picture(QStringLiteral("intro2.jpg"), 3, 640, 420), QString(), QString()});
    const QDate today(2026, 11, 30);
    for (int i = org.news.size() - 1; i >= 0; --i) {
        const QString body = org.news.at(i) + QStringLiteral("。\n") + org.intro.section(QLatin1Char('\n'), 0, 0);
        run(insert1,
            {QStringLiteral("新闻动态"), org.news.at(i), today.addDays(-4 * i).toString(QStringLiteral("yyyy-M-d")),
             TextCodec::encode(body), i < 3 ? picture(QStringLiteral("news%1.jpg").arg(i), i + 1, 480, 320) : QString(),
             QString(), QString()});
    }
    for (int i = org.productNames.size() - 1; i >= 0; --i)
        run(insert1, {org.products, org.productNames.at(i), QStringLiteral("标准型"), QStringLiteral("套"),
                      QString::number(980 + 420 * i), picture(QStringLiteral("prod%1.jpg").arg(i), i + 2, 480, 360),
                      QStringLiteral("<p>%1，品质可靠，服务周到。</p>").arg(org.productNames.at(i))});
    const QStringList captions = {QStringLiteral("春日山景"), QStringLiteral("湖畔晨光"), QStringLiteral("金秋时节"),
                                  QStringLiteral("远山如黛"), QStringLiteral("碧水蓝天"), QStringLiteral("夕照田园")};
    for (int i = captions.size() - 1; i >= 0; --i)
        run(insert1,
            {QStringLiteral("图片展示"), captions.at(i), picture(QStringLiteral("photo%1.jpg").arg(i), i, 800, 560),
             picture(QStringLiteral("photo%1_s.jpg").arg(i), i, 160, 112), QString(), QString(), QString()});
    run(insert1, {QStringLiteral("联系我们"), QStringLiteral("联系方式"),
                  TextCodec::encode(QStringLiteral("地址：%1\n电话：0512-66881234\n传真：0512-66881235\n邮编：215000\n"
                                                   "电子邮件：info@example.cn")
                                        .arg(org.address)),
                  QString(), QString(), QString(), QString()});
    const QStringList guideTexts = {
        QStringLiteral("一、提交申请材料；\n二、窗口受理并审核；\n三、办理完成，领取结果。"),
        QStringLiteral("问：办理时间是什么时候？\n答：工作日上午 9:00 至 12:00，下午 13:30 至 17:00。"),
        QStringLiteral("各类申请表格可在服务大厅领取，也可来电索取。")};
    for (int i = 0; i < guides.size(); ++i)
        run(QStringLiteral("INSERT INTO content02 (secondCatalog, value01, value02) VALUES (?,?,?)"),
            {guides.at(i), guides.at(i), TextCodec::encode(guideTexts.at(i))});
    db.close();
    if (!failures.isEmpty()) {
        *error = QStringLiteral("could not write: ") + failures.join(QStringLiteral("; "));
        return false;
    }
    return true;
}

} // namespace SampleSite
