#include "SitePictures.h"

#include "workspace/FileOps.h"
#include "workspace/WorkspaceFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

SitePictures::SitePictures(const QString& workPath, const QString& outFolder, const QString& prefix, QStringList& notes)
    : m_workPath(workPath), m_outFolder(outFolder), m_prefix(prefix), m_notes(notes)
{
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

QString SitePictures::use(const QString& name, const QString& what)
{
    const QString key = name.trimmed();
    if (key.isEmpty())
        return {};
    const auto found = m_used.constFind(key);
    if (found != m_used.cend())
        return found.value();
    QString address;
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
            address = m_prefix + out;
            ++m_copied;
            m_bytes += QFileInfo(src).size();
        } else {
            m_failure = QStringLiteral("无法复制图片：%1").arg(src);
        }
    }
    m_used.insert(key, address);
    return address;
}
