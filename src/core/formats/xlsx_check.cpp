#include "core/formats/xlsx_check.h"

#include "core/report/failure.h"

#include <QFile>
#include <QXmlStreamReader>
#include <algorithm>
#include <memory>
#include <optional>
#include <zip.h>

namespace {

constexpr zip_uint64_t kChunkSize = zip_uint64_t{64} * 1024;

[[noreturn]] void incomplete(const QString& reason) {
    throw Failure(QStringLiteral("The workbook file is incomplete: %1").arg(reason));
}

QString describe(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

struct DiscardArchive {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ClosePart {
    void operator()(zip_file_t* part) const { zip_fclose(part); }
};
using Archive = std::unique_ptr<zip_t, DiscardArchive>;
using Part = std::unique_ptr<zip_file_t, ClosePart>;

Archive openArchive(const QString& path) {
    int code = ZIP_ER_OK;
    Archive archive(
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (archive) {
        return archive;
    }
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString reason = describe(&error);
    zip_error_fini(&error);
    switch (code) {
    case ZIP_ER_NOENT:
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
        throw Failure(QStringLiteral("The workbook file cannot be read: %1").arg(reason));
    case ZIP_ER_NOZIP:
        incomplete(QStringLiteral("it has no table of contents."));
    case ZIP_ER_INCONS:
        incomplete(QStringLiteral("its table of contents is damaged."));
    default:
        incomplete(reason);
    }
}

// How much of each XML part's start and end is kept to find its root element.
constexpr qsizetype kEdgeSize = 512;

// Keeps an XML part's first and last bytes as it unpacks. The part is whole
// when it ends by closing the element it starts with; reading all of it as
// XML would double the time a large workbook takes.
class XmlPart {
public:
    void take(const char* data, qsizetype length) {
        m_size += length;
        if (m_head.size() < kEdgeSize) {
            m_head.append(data, std::min(length, kEdgeSize - m_head.size()));
        }
        m_tail.append(data, length);
        if (m_tail.size() > kEdgeSize) {
            m_tail.remove(0, m_tail.size() - kEdgeSize);
        }
    }

    // Fails unless the part was one whole XML document.
    void checkWhole(const QString& name) const {
        QXmlStreamReader reader(m_head);
        while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::StartElement) {
        }
        if (!reader.isStartElement()) {
            incomplete(QStringLiteral("%1 holds no XML.").arg(name));
        }
        if (m_size <= kEdgeSize) {
            // All of it is at hand: read it to the end.
            while (!reader.atEnd()) {
                reader.readNext();
            }
            if (!reader.hasError()) {
                return;
            }
        } else if (m_tail.trimmed().endsWith("</" + reader.qualifiedName().toUtf8() + '>')) {
            return;
        }
        incomplete(QStringLiteral("%1 is cut short.").arg(name));
    }

private:
    qsizetype m_size = 0;
    QByteArray m_head;
    QByteArray m_tail;
};

bool isXml(const QString& name) {
    return name.endsWith(QStringLiteral(".xml")) || name.endsWith(QStringLiteral(".rels"));
}

// Unpacks one part to its end; libzip checks its size and checksum on the way.
void checkPart(zip_t* archive, zip_uint64_t index) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME)) {
        incomplete(QStringLiteral("its table of contents is damaged."));
    }
    const QString name = QString::fromUtf8(stat.name);
    const Part part(zip_fopen_index(archive, index, 0));
    if (!part) {
        incomplete(QStringLiteral("%1 cannot be unpacked: %2")
                       .arg(name, describe(zip_get_error(archive))));
    }
    std::optional<XmlPart> xml;
    if (isXml(name)) {
        xml.emplace();
    }
    QByteArray chunk(qsizetype(kChunkSize), Qt::Uninitialized);
    for (;;) {
        const zip_int64_t length = zip_fread(part.get(), chunk.data(), kChunkSize);
        if (length < 0) {
            zip_error_t* error = zip_file_get_error(part.get());
            if (zip_error_code_zip(error) == ZIP_ER_CRC) {
                incomplete(QStringLiteral("%1 does not match its checksum.").arg(name));
            }
            incomplete(QStringLiteral("%1 is cut short (%2).").arg(name, describe(error)));
        }
        if (length == 0) {
            break;
        }
        if (xml) {
            xml->take(chunk.constData(), qsizetype(length));
        }
    }
    if (xml) {
        xml->checkWhole(name);
    }
}

} // namespace

void checkXlsxComplete(const QString& path) {
    const Archive archive = openArchive(path);
    const zip_int64_t parts = zip_get_num_entries(archive.get(), 0);
    if (parts <= 0) {
        incomplete(QStringLiteral("it holds nothing."));
    }
    for (zip_int64_t index = 0; index < parts; ++index) {
        checkPart(archive.get(), zip_uint64_t(index));
    }
}
