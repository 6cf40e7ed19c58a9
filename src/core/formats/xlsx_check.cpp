#include "core/formats/xlsx_check.h"

#include "core/formats/zip_archive.h"
#include "core/report/failure.h"

#include <QXmlStreamReader>
#include <algorithm>
#include <limits>
#include <memory>
#include <optional>

namespace {

constexpr qint64 kChunkSize = qint64{64} * 1024;
// The check unpacks every part whole, however large.
constexpr qint64 kNoCap = std::numeric_limits<qint64>::max();

[[noreturn]] void incomplete(const QString& reason) {
    throw Failure(QStringLiteral("The workbook file is incomplete: %1").arg(reason));
}

std::unique_ptr<ZipArchive> openArchive(const QString& path) {
    try {
        return ZipArchive::openFile(path, ZipArchive::Consistency::Checked);
    } catch (const ZipFailure& failure) {
        switch (failure.problem()) {
        case ZipProblem::CannotRead:
        case ZipProblem::CannotSeek:
            throw Failure(
                QStringLiteral("The workbook file cannot be read: %1").arg(failure.description()));
        case ZipProblem::NotAZip:
            incomplete(QStringLiteral("it has no table of contents."));
        case ZipProblem::Inconsistent:
            incomplete(QStringLiteral("its table of contents is damaged."));
        case ZipProblem::Damaged:
            break;
        }
        incomplete(failure.description());
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
void checkPart(ZipArchive& archive, qint64 index) {
    const std::optional<QString> partName = archive.partName(index);
    if (!partName) {
        incomplete(QStringLiteral("its table of contents is damaged."));
    }
    const QString& name = *partName;
    UnpackBudget budget{kNoCap};
    std::unique_ptr<QIODevice> part;
    try {
        part = archive.openPartAt(index, budget, kNoCap);
    } catch (const ZipFailure& failure) {
        incomplete(QStringLiteral("%1 cannot be unpacked: %2").arg(name, failure.description()));
    }
    std::optional<XmlPart> xml;
    if (isXml(name)) {
        xml.emplace();
    }
    QByteArray chunk(kChunkSize, Qt::Uninitialized);
    for (;;) {
        const qint64 length = part->read(chunk.data(), kChunkSize);
        if (length < 0) {
            if (partChecksumFailed(*part)) {
                incomplete(QStringLiteral("%1 does not match its checksum.").arg(name));
            }
            incomplete(QStringLiteral("%1 is cut short (%2).").arg(name, part->errorString()));
        }
        if (length == 0) {
            break;
        }
        if (xml) {
            xml->take(chunk.constData(), length);
        }
    }
    if (xml) {
        xml->checkWhole(name);
    }
}

} // namespace

void checkXlsxComplete(const QString& path) {
    const std::unique_ptr<ZipArchive> archive = openArchive(path);
    const qint64 parts = archive->partCount();
    if (parts <= 0) {
        incomplete(QStringLiteral("it holds nothing."));
    }
    for (qint64 index = 0; index < parts; ++index) {
        checkPart(*archive, index);
    }
}
