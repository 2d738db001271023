#pragma once

#include "publish/WorkspaceManifest.h"

#include <QList>
#include <QSet>
#include <QSize>
#include <QString>

#include <memory>

// The resized copies of a site's pictures: every picture wider than a copy's width
// gets that copy (never an enlarged one), in WebP and in its own format (PNG for
// formats browsers do not all show). Copies are kept in a cache folder by the
// picture's content, width and format, so a picture that did not change is not
// decoded again: the next rendering links (or copies) the kept file. The encoders
// run on worker threads, and the same picture always gives the same bytes.
class PictureVariants {
public:
    static constexpr int kWidths[] = {480, 960, 1600};
    // Pictures with more pixels than this get no copies: decoding them would take more
    // memory than a rendering may use (the hosting server bounds it).
    static constexpr qint64 kMaxPixels = 64LL * 1000 * 1000;

    struct Copy {
        QString file; // below the output folder: "480/a.jpg", "480/a.jpg.webp"
        QSize size;
        bool webp = false;
    };

    // cacheFolder: where copies are kept between renderings (created); "" keeps none.
    explicit PictureVariants(const QString& cacheFolder);
    ~PictureVariants();

    // The size a browser shows the picture at path in: the header's, turned as its
    // orientation tag says. Reads the header only. Invalid when the header does not tell.
    static QSize shownSize(const QString& path);

    // Writes the copies of the picture at path, shown at size, into outFolder as
    // "W/name" and "W/name.webp"; narrowest first. Empty when the picture is not wider
    // than the narrowest copy, or when it cannot be decoded (*problem says why).
    QList<Copy> make(const QString& path, const QSize& size, const QString& outFolder, const QString& name,
                     QString* problem);

    // Saves the cache's index and removes kept copies no picture of this rendering used.
    void finish();
    int resized() const { return m_resized; }

private:
    QString m_cache;
    std::unique_ptr<HashCache> m_hashes;
    QSet<QString> m_used; // cache files this rendering used
    int m_resized = 0;
};
