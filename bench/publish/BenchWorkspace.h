#pragma once

// The benchmark workspace of the publishing benchmarks: about 314 MB of photos,
// scans, tiles and a 5 MB database, the same bytes on every run.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>

struct Rng {
    quint64 s;
    quint64 next()
    {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
    double unit() { return double(next() >> 11) / double(1ULL << 53); }
};

inline void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

inline QByteArray randomBytes(Rng& rng, qint64 n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (qint64 i = 0; i + 8 <= n; i += 8) {
        const quint64 v = rng.next();
        memcpy(b.data() + i, &v, 8);
    }
    return b;
}

// A 24-bit bitmap of a smooth picture with sensor-like noise in the low bits.
inline QByteArray bitmap(Rng& rng, qint64 approxBytes)
{
    const int w = 800;
    const int h = int(approxBytes / (w * 3));
    const int row = w * 3;
    QByteArray b(54 + qint64(row) * h, '\0');
    auto put32 = [&](int at, quint32 v) { memcpy(b.data() + at, &v, 4); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, quint32(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(h));
    b[26] = 1;
    b[28] = 24;
    uchar* p = reinterpret_cast<uchar*>(b.data()) + 54;
    const int phase = int(rng.next() % 256);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const quint64 r = rng.next();
            p[0] = uchar((x / 4 + phase) + (r & 7));
            p[1] = uchar((y / 3 + x / 8) + ((r >> 3) & 7));
            p[2] = uchar((phase + y / 5) + ((r >> 6) & 7));
            p += 3;
        }
    }
    return b;
}

inline qint64 makeWorkspace(const QString& work)
{
    Rng rng{0x9e3779b97f4a7c15ULL};
    QDir().mkpath(work + "images");
    qint64 total = 0;
    for (int i = 0; i < 600; ++i) {
        const double u = rng.unit();
        const qint64 size = 200 * 1024 + qint64(800 * 1024 * u * u * u);
        const QByteArray data = randomBytes(rng, size);
        writeFile(work + QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0')), data);
        total += size;
    }
    for (int i = 0; i < 50; ++i) {
        const QByteArray data = bitmap(rng, 1024 * 1024 + qint64(1024 * 1024 * rng.unit()));
        writeFile(work + QStringLiteral("scan%1.bmp").arg(i, 2, 10, QLatin1Char('0')), data);
        total += data.size();
    }
    QByteArray db;
    for (int i = 0; db.size() < 5 * 1024 * 1024; ++i)
        db += QStringLiteral("INSERT INTO content02 VALUES(%1,'新闻标题 %2','2026-%3-01','正文&nbsp;第%1段<br>');\n")
                  .arg(i)
                  .arg(rng.next() % 100000)
                  .arg(1 + i % 12)
                  .toUtf8();
    writeFile(work + "govbuilder.sbd", db);
    total += db.size();
    for (int i = 0; i < 100; ++i) {
        const QByteArray data = randomBytes(rng, 2048 + qint64(rng.next() % 18000));
        writeFile(work + QStringLiteral("images/tile%1.gif").arg(i), data);
        total += data.size();
    }
    return total;
}
