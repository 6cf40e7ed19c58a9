#include "support/zip_files.h"

#include <QFile>
#include <gtest/gtest.h>
#include <zip.h>

void writeZip(const QString& path, const QList<ZipPart>& parts) {
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << "cannot create " << path.toStdString();
    for (const ZipPart& part : parts) {
        // The buffers outlive the archive: it reads them when it is closed.
        zip_source_t* source =
            zip_source_buffer(archive, part.bytes.constData(), zip_uint64_t(part.bytes.size()), 0);
        const zip_int64_t index =
            source ? zip_file_add(archive, part.name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8)
                   : -1;
        if (index < 0) {
            zip_source_free(source);
            ADD_FAILURE() << zip_strerror(archive);
            zip_discard(archive);
            return;
        }
        zip_set_file_compression(archive, zip_uint64_t(index),
                                 part.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    EXPECT_EQ(zip_close(archive), 0) << zip_strerror(archive);
}

bool zipHasPart(const QString& path, const QString& name) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    const bool found = archive && zip_name_locate(archive, name.toUtf8().constData(), 0) >= 0;
    if (archive) {
        zip_discard(archive);
    }
    return found;
}

QByteArray readZipPart(const QString& path, const QString& name) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive) {
        ADD_FAILURE() << "cannot open " << path.toStdString() << " (libzip error " << error << ")";
        return {};
    }
    QByteArray bytes;
    zip_stat_t stat;
    zip_file_t* part = nullptr;
    if (zip_stat(archive, name.toUtf8().constData(), 0, &stat) == 0 &&
        (part = zip_fopen(archive, name.toUtf8().constData(), 0)) != nullptr) {
        bytes.resize(qsizetype(stat.size));
        if (zip_fread(part, bytes.data(), stat.size) != zip_int64_t(stat.size)) {
            ADD_FAILURE() << zip_file_strerror(part);
        }
        zip_fclose(part);
    } else {
        ADD_FAILURE() << name.toStdString() << " in " << path.toStdString() << ": "
                      << zip_strerror(archive);
    }
    zip_discard(archive);
    return bytes;
}
