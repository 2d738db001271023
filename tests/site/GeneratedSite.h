#pragma once

#include "SiteFixture.h"
#include "data/ContentRecords.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStringList>

// Writes a site into an open workspace database: every display format, news,
// galleries and products, with pictures drawn into the workspace. The sample
// site (scale 0) carries awkward names; larger scales repeat plain sections.
struct GeneratedSite {
    int sections = 1;        // level-1 catalogs
    int pagesPerSection = 0; // level-3 pages under each of four level-2 catalogs
    int newsPerPage = 3;
    int pictures = 6;
    int photoEvery = 0; // every photoEvery-th picture is a phone photo of 4000 x 3000 pixels; 0: none

    static QString picture(int n) { return QStringLiteral("pic%1.jpg").arg(n); }

    void drawPictures(const QString& workPath) const
    {
        for (int n = 0; n < pictures; ++n) {
            const bool photo = photoEvery > 0 && n % photoEvery == 0;
            QImage img(photo ? QSize(4000, 3000) : QSize(64, 48), QImage::Format_RGB32);
            img.fill(QColor::fromHsv((n * 37) % 360, 160, 220));
            if (photo) {
                // Detail everywhere, as a photo has, so encoders work as hard as on one.
                QPainter p(&img);
                for (int i = 0; i < 400; ++i)
                    p.fillRect((i * 7919 + n) % 4000, (i * 104729) % 3000, 40 + i % 300, 30 + i % 200,
                               QColor::fromHsv((i * 53 + n) % 360, 120 + i % 120, 100 + i % 150));
            }
            img.save(workPath + picture(n), "JPG", 80);
        }
    }

    // Fills one page of the format with records, stored as the content windows store
    // them; n picks pictures and names.
    void fillPage(const SiteDb& db, int level, const QString& page, const QString& fmt, int n) const
    {
        using namespace ContentRecords;
        const QString pic = picture(n % pictures);
        const QString pic2 = picture((n + 1) % pictures);
        const QString body =
            QStringLiteral("第一段&nbsp;正文<br>第二段：价格&nbsp;<&nbsp;100&nbsp;&&nbsp;&#39;优惠&#39;");
        if (fmt == QLatin1String("txt"))
            insert(db, level, page, TextPage{QStringLiteral("标题 ") + page, body, {}, {}});
        else if (fmt.startsWith(QLatin1String("imgTxt")))
            insert(db, level, page,
                   TextPage{QStringLiteral("图文 ") + page, body, pic,
                            fmt == QLatin1String("imgTxt03") ? QString() : pic2});
        else if (fmt == QLatin1String("bigImg"))
            insert(db, level, page, BigImagePage{pic});
        else if (fmt == QLatin1String("adv"))
            insert(db, level, page,
                   FreePage{QStringLiteral("<h2>自由设计</h2><p>It[&#39;]s <b>ours</b></p><img src=\"[imgpath]/%1\">")
                                .arg(pic)});
        else if (fmt == QLatin1String("news"))
            for (int i = 0; i < newsPerPage; ++i)
                insert(db, level, page,
                       NewsItem{QStringLiteral("新闻%1 %2").arg(i).arg(page),
                                QStringLiteral("2026-01-%1").arg(i % 28 + 1), body,
                                i % 3 == 0 ? picture((n * 7 + i) % pictures) : QString()});
        else if (fmt == QLatin1String("imgs"))
            for (int i = 0; i < 4; ++i)
                insert(db, level, page, GalleryItem{QStringLiteral("图片%1").arg(i), picture((n + i) % pictures), {}});
        else if (fmt.startsWith(QLatin1String("prod")))
            for (int i = 0; i < 3; ++i)
                insert(db, level, page,
                       Product{QStringLiteral("产品%1").arg(i), QStringLiteral("规格%1").arg(i), QStringLiteral("台"),
                               QString::number(100 + i), picture((n + i) % pictures),
                               QStringLiteral("<p>说明：[&#39;]好[&#39;]</p><img src=\"[imgpath]/%1\">").arg(pic)});
    }

    static const QStringList& formats()
    {
        static const QStringList all =
            QStringLiteral("txt news imgTxt01 imgTxt02 imgTxt03 bigImg imgs adv prod01 prod02 prod03").split(u' ');
        return all;
    }

    // A level-1 page of every format, named prefix + format and numbered on from n; returns the last number.
    int writeEveryFormat(const SiteDb& db, const QString& prefix, int n = 0) const
    {
        for (const QString& fmt : formats()) {
            insertCatalogRow(db, 1, {prefix + fmt}, false, ++n, fmt);
            fillPage(db, 1, prefix + fmt, fmt, n);
        }
        return n;
    }

    // Plain sections of catalogs and pages, formats in turn.
    void write(const SiteDb& db, const QString& workPath) const
    {
        drawPictures(workPath);
        db.run(QStringLiteral("BEGIN"));
        int n = 0;
        for (int s = 0; s < sections; ++s) {
            const QString first = QStringLiteral("栏目%1").arg(s);
            insertCatalogRow(db, 1, {first}, true, s);
            for (int c = 0; c < 4; ++c) {
                const QString second = QStringLiteral("分类%1-%2").arg(s).arg(c);
                insertCatalogRow(db, 2, {first, second}, true, c);
                for (int p = 0; p < pagesPerSection; ++p, ++n) {
                    const QString page = QStringLiteral("页面%1-%2-%3").arg(s).arg(c).arg(p);
                    // Two news pages in three keep the news count near pages * newsPerPage * 2/3.
                    const QString fmt = n % 3 == 2 ? formats()[(n / 3) % formats().size()] : QStringLiteral("news");
                    insertCatalogRow(db, 3, {first, second, page}, false, p, fmt);
                    fillPage(db, 3, page, fmt, n);
                }
            }
        }
        db.run(QStringLiteral("COMMIT"));
    }
};
