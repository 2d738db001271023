#include "SitePictures.h"

#include "workspace/FileOps.h"
#include "workspace/WorkspaceFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

SitePictures::SitePictures(const QString& workPath, const QString& outFolder, const QString& prefix,
                           const QString& cacheFolder, QStringList& notes)
    : m_workPath(workPath), m_outFolder(outFolder), m_prefix(prefix), m_notes(notes), m_variants(cacheFolder)
{
    // The folders of the resized copies.
    for (int width : PictureVariants::kWidths)
        m_taken.insert(QString::number(width));
}

// Plain names stay as they are, so addresses stay stable between renders; anything
// else gets a numbered name with its extension.
QString SitePictures::outputName(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_.-]*$"));
    QString out = name;
    if (!plain.match(name).hasMatch() || m_taken.contains(name.toLower())) {
        QString ext = QFileInfo(name).suffix().toLower();
        static const QRegularExpression plainExt(QStringLiteral("^[a-z0-9]{1,5}$"));
        ext = plainExt.match(ext).hasMatch() ? QLatin1Char('.') + ext : QString();
        int n = m_taken.size();
        do
            out = QStringLiteral("pic%1%2").arg(++n).arg(ext);
        while (m_taken.contains(out.toLower()));
    }
    m_taken.insert(out.toLower());
    return out;
}

const SitePicture& SitePictures::picture(const QString& name, const QString& what, bool withCopies)
{
    static const SitePicture none;
    const QString key = name.trimmed();
    if (key.isEmpty())
        return none;
    auto found = m_used.find(key);
    if (found == m_used.end()) {
        SitePicture pic;
        const QString src = m_workPath + QLatin1Char('/') + key;
        if (!WorkspaceFiles::isPlainName(key) || !QFileInfo(src).isFile()) {
            m_notes << QStringLiteral("图片 %1（%2）不存在，已跳过").arg(key, what);
        } else if (QFile file(src); !file.open(QIODevice::ReadOnly)) {
            m_failure = QStringLiteral("无法读取图片：%1").arg(src);
        } else if (!QImageReader(src).canRead()) {
            m_notes << QStringLiteral("图片 %1（%2）已损坏或不是图片，已跳过").arg(key, what);
        } else {
            const QString out = outputName(key);
            if (FileOps::copyFileUnsynced(src, m_outFolder + QLatin1Char('/') + out)) {
                pic.src = m_prefix + out;
                pic.size = PictureVariants::shownSize(src);
                m_outNames.insert(key, out);
                ++m_copied;
                m_bytes += QFileInfo(src).size();
            } else {
                m_failure = QStringLiteral("无法复制图片：%1").arg(src);
            }
        }
        found = m_used.insert(key, pic);
    }
    SitePicture& pic = found.value();
    if (withCopies && !pic.copiesTried && !pic.src.isEmpty()) {
        pic.copiesTried = true;
        QString problem;
        pic.copies = m_variants.make(m_workPath + QLatin1Char('/') + key, pic.size, m_outFolder, m_outNames.value(key),
                                     &problem);
        if (!problem.isEmpty())
            m_notes << QStringLiteral("图片 %1（%2）%3，没有缩小的副本").arg(key, what, problem);
        for (const PictureVariants::Copy& copy : pic.copies)
            m_bytes += QFileInfo(m_outFolder + QLatin1Char('/') + copy.file).size();
    }
    return pic;
}

QString SitePictures::html(const SitePicture& pic, Shown shown, const QString& attributes, bool withSize) const
{
    const auto sizeAttributes = [withSize](const QSize& size) {
        return withSize && size.isValid()
                   ? QStringLiteral(" width=\"%1\" height=\"%2\"").arg(size.width()).arg(size.height())
                   : QString();
    };
    const QString others = attributes.isEmpty() ? QString() : QLatin1Char(' ') + attributes;
    const QString lazy = shown == Shown::Content ? QString() : QStringLiteral(" loading=\"lazy\"");
    if (pic.copies.isEmpty())
        return QStringLiteral("<img src=\"%1\"%2%3%4>").arg(pic.src, sizeAttributes(pic.size), others, lazy);
    QString own, webp;
    const PictureVariants::Copy* fallback = nullptr;
    for (const PictureVariants::Copy& copy : pic.copies) {
        QString& list = copy.webp ? webp : own;
        list += QStringLiteral("%1%2%3 %4w")
                    .arg(list.isEmpty() ? QString() : QStringLiteral(", "), m_prefix, copy.file)
                    .arg(copy.size.width());
    }
    // A WebP picture's copies are all WebP: no choice of formats to offer.
    const bool onlyWebp = own.isEmpty();
    // Browsers without srcset get the card's smallest copy or the page's largest.
    for (const PictureVariants::Copy& copy : pic.copies) {
        if (copy.webp == onlyWebp && (!fallback || shown != Shown::Card))
            fallback = &copy;
    }
    static const QString sizes[] = {QStringLiteral("(max-width: 1120px) 100vw, 1084px"),
                                    QStringLiteral("(max-width: 480px) 50vw, 240px"), QStringLiteral("90vw")};
    const QString& sz = sizes[int(shown)];
    if (onlyWebp)
        return QStringLiteral("<img src=\"%1\" srcset=\"%2\" sizes=\"%3\"%4%5%6>")
            .arg(m_prefix + fallback->file, webp, sz, sizeAttributes(fallback->size), others, lazy);
    return QStringLiteral("<picture><source type=\"image/webp\" srcset=\"%1\" sizes=\"%2\">"
                          "<img src=\"%3\" srcset=\"%4\" sizes=\"%2\"%5%6%7></picture>")
        .arg(webp, sz, m_prefix + fallback->file, own, sizeAttributes(fallback->size), others, lazy);
}
