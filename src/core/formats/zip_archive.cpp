#include "core/formats/zip_archive.h"

#include <QFile>
#include <zip.h>

namespace {

QString zipErrorText(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

ZipProblem problemOf(int code) {
    switch (code) {
    case ZIP_ER_NOENT:
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
        return ZipProblem::CannotRead;
    case ZIP_ER_SEEK:
        return ZipProblem::CannotSeek;
    case ZIP_ER_NOZIP:
        return ZipProblem::NotAZip;
    case ZIP_ER_INCONS:
        return ZipProblem::Inconsistent;
    default:
        return ZipProblem::Damaged;
    }
}

ZipFailure openFailure(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString reason = zipErrorText(&error);
    zip_error_fini(&error);
    return {problemOf(code), reason};
}

// A part of the archive as a sequential stream, counting what comes out.
class ZipPartDevice : public QIODevice {
public:
    ZipPartDevice(zip_file_t* file, UnpackBudget& budget, qint64 partCap)
        : m_file(file), m_budget(budget), m_partCap(partCap) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    ~ZipPartDevice() override { zip_fclose(m_file); }

    bool isSequential() const override { return true; }
    bool capHit() const { return m_capHit; }
    bool checksumFailed() const { return m_checksumFailed; }
    qint64 bytesRead() const { return m_read; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (m_capHit) {
            return -1;
        }
        const zip_int64_t got = zip_fread(m_file, data, zip_uint64_t(maxSize));
        if (got < 0) {
            m_checksumFailed = zip_error_code_zip(zip_file_get_error(m_file)) == ZIP_ER_CRC;
            setErrorString(QString::fromUtf8(zip_file_strerror(m_file)));
            return -1;
        }
        m_read += got;
        m_budget.left -= got;
        if (m_read > m_partCap || m_budget.left < 0) {
            m_capHit = true;
            return -1;
        }
        return got;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    zip_file_t* m_file;
    UnpackBudget& m_budget;
    qint64 m_partCap;
    qint64 m_read = 0;
    bool m_capHit = false;
    bool m_checksumFailed = false;
};

} // namespace

bool partCapHit(const QIODevice& part) {
    const auto* zipPart = dynamic_cast<const ZipPartDevice*>(&part);
    return zipPart && zipPart->capHit();
}

bool partChecksumFailed(const QIODevice& part) {
    const auto* zipPart = dynamic_cast<const ZipPartDevice*>(&part);
    return zipPart && zipPart->checksumFailed();
}

qint64 partBytesRead(const QIODevice& part) {
    const auto* zipPart = dynamic_cast<const ZipPartDevice*>(&part);
    return zipPart ? zipPart->bytesRead() : 0;
}

ZipArchive::ZipArchive(zip* archive, QByteArray bytes)
    : m_archive(archive), m_bytes(std::move(bytes)) {}

ZipArchive::~ZipArchive() {
    zip_discard(m_archive);
}

std::unique_ptr<ZipArchive> ZipArchive::openFile(const QString& path, Consistency consistency) {
    int code = 0;
    const int flags = consistency == Consistency::Checked ? ZIP_RDONLY | ZIP_CHECKCONS : ZIP_RDONLY;
    zip* archive = zip_open(QFile::encodeName(path).constData(), flags, &code);
    if (!archive) {
        throw openFailure(code);
    }
    return std::unique_ptr<ZipArchive>(new ZipArchive(archive, {}));
}

std::unique_ptr<ZipArchive> ZipArchive::openBytes(QByteArray bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        throw openFailure(ZIP_ER_MEMORY);
    }
    zip* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive) {
        const int code = zip_error_code_zip(&error);
        zip_source_free(source);
        zip_error_fini(&error);
        throw openFailure(code);
    }
    zip_error_fini(&error);
    return std::unique_ptr<ZipArchive>(new ZipArchive(archive, std::move(bytes)));
}

bool ZipArchive::contains(const QString& name) const {
    return zip_name_locate(m_archive, name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

qint64 ZipArchive::recordedSize(const QString& name) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(m_archive, name.toUtf8().constData(), ZIP_FL_NOCASE, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE)) {
        return -1;
    }
    return qint64(stat.size);
}

qint64 ZipArchive::partCount() const {
    return zip_get_num_entries(m_archive, 0);
}

std::optional<QString> ZipArchive::partName(qint64 index) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (index < 0 || zip_stat_index(m_archive, zip_uint64_t(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_NAME)) {
        return std::nullopt;
    }
    return QString::fromUtf8(stat.name);
}

std::unique_ptr<QIODevice> ZipArchive::openPart(const QString& name, UnpackBudget& budget,
                                                qint64 partCap) {
    zip_file_t* file = zip_fopen(m_archive, name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (!file) {
        throw ZipFailure(ZipProblem::Damaged, QString::fromUtf8(zip_strerror(m_archive)));
    }
    return std::make_unique<ZipPartDevice>(file, budget, partCap);
}

std::unique_ptr<QIODevice> ZipArchive::openPartAt(qint64 index, UnpackBudget& budget,
                                                  qint64 partCap) {
    zip_file_t* file = index < 0 ? nullptr : zip_fopen_index(m_archive, zip_uint64_t(index), 0);
    if (!file) {
        throw ZipFailure(ZipProblem::Damaged, QString::fromUtf8(zip_strerror(m_archive)));
    }
    return std::make_unique<ZipPartDevice>(file, budget, partCap);
}
