#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <zip.h>

struct ZipEntry {
    QByteArray data;
    int method = -1;
};

// An archive read back with libzip: entry name (UTF-8) -> content and compression method;
// empty when the archive cannot be opened or fails its consistency check.
inline QMap<QString, ZipEntry> readZip(const QByteArray& archive)
{
    QMap<QString, ZipEntry> out;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src = zip_source_buffer_create(archive.constData(), zip_uint64_t(archive.size()), 0, &error);
    zip_t* za = src ? zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
    if (!za && src)
        zip_source_free(src);
    for (zip_int64_t i = 0; za && i < zip_get_num_entries(za, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(za, zip_uint64_t(i), 0, &st);
        ZipEntry e{QByteArray(qsizetype(st.size), Qt::Uninitialized), st.comp_method};
        if (zip_file_t* f = zip_fopen_index(za, zip_uint64_t(i), 0)) {
            zip_fread(f, e.data.data(), st.size);
            zip_fclose(f);
        }
        out.insert(QString::fromUtf8(st.name), e);
    }
    if (za)
        zip_discard(za);
    zip_error_fini(&error);
    return out;
}
