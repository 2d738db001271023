#include "gif.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>

#include <algorithm>
#include <climits>
#include <vector>

namespace mk {

namespace {

int channel(QRgb c, int k)
{
    return k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c);
}

struct Swatch {
    QRgb colour;
    int count;
};

// Median cut: split the box with the widest channel range at its pixel-weighted median until
// there are `limit` boxes, then take each box's weighted mean.
QVector<QRgb> medianCut(std::vector<Swatch> swatches, int limit)
{
    struct Box {
        size_t begin, end;
    };
    std::vector<Box> boxes{{0, swatches.size()}};
    auto widest = [&swatches](const Box& b, int* range) {
        int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
        for (size_t i = b.begin; i < b.end; ++i)
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], channel(swatches[i].colour, k));
                hi[k] = std::max(hi[k], channel(swatches[i].colour, k));
            }
        int best = 0;
        for (int k = 1; k < 3; ++k)
            if (hi[k] - lo[k] > hi[best] - lo[best])
                best = k;
        *range = hi[best] - lo[best];
        return best;
    };
    while (int(boxes.size()) < limit) {
        int pick = -1, pickRange = 0, pickChannel = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2)
                continue;
            int range = 0;
            const int k = widest(boxes[i], &range);
            if (range > pickRange) {
                pick = int(i);
                pickRange = range;
                pickChannel = k;
            }
        }
        if (pick < 0)
            break;
        Box& b = boxes[size_t(pick)];
        std::sort(swatches.begin() + long(b.begin), swatches.begin() + long(b.end),
                  [pickChannel](const Swatch& x, const Swatch& y) {
                      return channel(x.colour, pickChannel) < channel(y.colour, pickChannel);
                  });
        long total = 0;
        for (size_t i = b.begin; i < b.end; ++i)
            total += swatches[i].count;
        long seen = 0;
        size_t cut = b.begin;
        while (cut < b.end - 1 && seen + swatches[cut].count <= total / 2)
            seen += swatches[cut++].count;
        cut = std::clamp(cut, b.begin + 1, b.end - 1);
        const Box upper{cut, b.end};
        b.end = cut;
        boxes.push_back(upper);
    }
    QVector<QRgb> palette;
    for (const Box& b : boxes) {
        double sum[3] = {0, 0, 0};
        double n = 0;
        for (size_t i = b.begin; i < b.end; ++i) {
            for (int k = 0; k < 3; ++k)
                sum[k] += double(channel(swatches[i].colour, k)) * swatches[i].count;
            n += swatches[i].count;
        }
        palette << qRgb(int(sum[0] / n + 0.5), int(sum[1] / n + 0.5), int(sum[2] / n + 0.5));
    }
    return palette;
}

int nearest(const QVector<QRgb>& palette, QRgb c)
{
    int best = 0, bestDist = INT_MAX;
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = qRed(c) - qRed(palette[i]), dg = qGreen(c) - qGreen(palette[i]),
                  db = qBlue(c) - qBlue(palette[i]);
        const int dist = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (dist < bestDist) {
            bestDist = dist;
            best = i;
        }
    }
    return best;
}

// Variable-width codes packed least significant bit first.
class BitPacker {
public:
    void put(int code, int width)
    {
        m_acc |= quint32(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_bytes.append(char(m_acc & 0xff));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_bits > 0)
            m_bytes.append(char(m_acc & 0xff));
        m_acc = 0;
        m_bits = 0;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_acc = 0;
    int m_bits = 0;
};

QByteArray lzw(const QByteArray& indices, int minCodeSize)
{
    constexpr int maxCode = 4095; // codes are at most 12 bits wide
    const int clearCode = 1 << minCodeSize, endCode = clearCode + 1;
    QHash<quint32, int> table; // (prefix code << 8 | next index) -> code
    int codeSize = minCodeSize + 1;
    int next = endCode + 1;
    BitPacker out;
    out.put(clearCode, codeSize);
    int prefix = quint8(indices.at(0));
    for (qsizetype i = 1; i < indices.size(); ++i) {
        const int k = quint8(indices.at(i));
        const quint32 key = quint32(prefix) << 8 | quint32(k);
        const auto hit = table.constFind(key);
        if (hit != table.constEnd()) {
            prefix = *hit;
            continue;
        }
        out.put(prefix, codeSize);
        if (next <= maxCode) {
            table.insert(key, next);
            // The decoder learns this entry one code later, so it widens on the same code as we do.
            if (next == (1 << codeSize))
                ++codeSize;
            ++next;
        } else {
            out.put(clearCode, codeSize);
            table.clear();
            codeSize = minCodeSize + 1;
            next = endCode + 1;
        }
        prefix = k;
    }
    out.put(prefix, codeSize);
    out.put(endCode, codeSize);
    return out.finish();
}

void putWord(QByteArray& b, int v)
{
    b.append(char(v & 0xff));
    b.append(char((v >> 8) & 0xff));
}

} // namespace

IndexedImage quantize(const QImage& image)
{
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    IndexedImage out;
    out.width = src.width();
    out.height = src.height();
    QHash<QRgb, int> counts;
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < src.width(); ++x)
            ++counts[line[x] | 0xff000000u];
    }
    QHash<QRgb, int> lookup;
    // Hash order changes from run to run; sort so that the files come out the same every build.
    std::vector<Swatch> swatches;
    swatches.reserve(size_t(counts.size()));
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        swatches.push_back({it.key(), it.value()});
    std::sort(swatches.begin(), swatches.end(), [](const Swatch& a, const Swatch& b) { return a.colour < b.colour; });
    if (swatches.size() <= 256) {
        for (const Swatch& s : swatches) {
            lookup.insert(s.colour, int(out.palette.size()));
            out.palette << s.colour;
        }
    } else {
        out.palette = medianCut(swatches, 256);
        for (const Swatch& s : swatches)
            lookup.insert(s.colour, nearest(out.palette, s.colour));
    }
    out.indices.resize(qsizetype(out.width) * out.height);
    char* dst = out.indices.data();
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < src.width(); ++x)
            *dst++ = char(lookup.value(line[x] | 0xff000000u));
    }
    return out;
}

QByteArray encodeGif(const IndexedImage& image)
{
    Q_ASSERT(!image.palette.isEmpty() && image.palette.size() <= 256);
    Q_ASSERT(image.indices.size() == qsizetype(image.width) * image.height && !image.indices.isEmpty());
    int tableBits = 1; // the colour table holds 2^tableBits entries
    while ((1 << tableBits) < image.palette.size())
        ++tableBits;

    QByteArray gif("GIF89a");
    putWord(gif, image.width);
    putWord(gif, image.height);
    gif.append(char(0x80 | ((tableBits - 1) << 4) | (tableBits - 1))); // global table, its size
    gif.append(char(0));                                               // background colour index
    gif.append(char(0));                                               // pixel aspect ratio: none given
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb c = i < image.palette.size() ? image.palette.at(i) : 0;
        gif.append(char(qRed(c)));
        gif.append(char(qGreen(c)));
        gif.append(char(qBlue(c)));
    }
    gif.append("\x21\xf9\x04", 3); // graphic control: no transparency, no delay
    gif.append("\x00\x00\x00\x00\x00", 5);

    gif.append(char(0x2c)); // image descriptor: whole screen, no local table, not interlaced
    putWord(gif, 0);
    putWord(gif, 0);
    putWord(gif, image.width);
    putWord(gif, image.height);
    gif.append(char(0));

    const int minCodeSize = std::max(2, tableBits);
    gif.append(char(minCodeSize));
    const QByteArray data = lzw(image.indices, minCodeSize);
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - at);
        gif.append(char(n));
        gif.append(data.constData() + at, n);
    }
    gif.append(char(0));    // end of image data
    gif.append(char(0x3b)); // trailer
    return gif;
}

QString checkGif(const QByteArray& gif, const IndexedImage& expected)
{
    if (!QImageReader::supportedImageFormats().contains("gif"))
        return QString();
    QBuffer buffer;
    buffer.setData(gif);
    QImageReader reader(&buffer, "gif");
    const QImage back = reader.read().convertToFormat(QImage::Format_RGB32);
    if (back.isNull())
        return QStringLiteral("Qt cannot read it back: %1").arg(reader.errorString());
    if (back.width() != expected.width || back.height() != expected.height)
        return QStringLiteral("it reads back as %1x%2").arg(back.width()).arg(back.height());
    for (int y = 0; y < back.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(back.constScanLine(y));
        for (int x = 0; x < back.width(); ++x) {
            const int index = quint8(expected.indices.at(qsizetype(y) * expected.width + x));
            if ((line[x] | 0xff000000u) != (expected.palette.at(index) | 0xff000000u))
                return QStringLiteral("pixel %1,%2 reads back wrong").arg(x).arg(y);
        }
    }
    return QString();
}

} // namespace mk
