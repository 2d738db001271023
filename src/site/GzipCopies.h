#pragma once

#include <QByteArray>
#include <QFuture>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

// Writes NAME.gz beside every page, style sheet, script, JSON, SVG and XML file of
// a rendered site, so a web server sends them compressed without compressing on
// every request. The copies depend on the files alone (no time or name in the gzip
// header), so the same site gives the same bytes. A file that does not shrink gets
// no copy, and a copy left from an earlier run beside it is removed.
//
// Files the renderer writes are handed over with their bytes as they are written and
// compressed on worker threads while the rendering goes on; finish() adds whatever
// else below the folder was copied in as it is, and waits for all.
class GzipCopies {
public:
    GzipCopies() = default;
    GzipCopies(const GzipCopies&) = delete;
    GzipCopies& operator=(const GzipCopies&) = delete;
    ~GzipCopies();

    // data: the bytes just written to path.
    void add(const QString& path, const QByteArray& data);
    // False (with *error naming the file) when a copy cannot be written.
    bool finish(const QString& dir, QString* error);

private:
    void startBatch();
    void collect(QFuture<QString>& job);

    QList<QPair<QString, QByteArray>> m_batch;
    QList<QFuture<QString>> m_jobs;
    QSet<QString> m_added;
    QString m_error;
};
