#include "core/import/streamed_part.h"

#include "core/import/xml_guard.h"

namespace {

// How much of the part is unpacked and parsed at a time.
constexpr qsizetype kChunkBytes = qsizetype(64) << 10;

ImportFailure unreadablePart(const QString& part, const QString& reason) {
    return {ImportProblem::DamagedWorkbook,
            QStringLiteral("The workbook's part %1 cannot be read: %2.").arg(part, reason)};
}

} // namespace

std::unique_ptr<QIODevice> openWorkbookPart(ZipArchive& archive, const QString& name,
                                            UnpackBudget& budget, qint64 partCap) {
    try {
        return archive.openPart(name, budget, partCap);
    } catch (const ZipFailure& failure) {
        throw unreadablePart(name, failure.description());
    }
}

ImportFailure xmlCapFailure(const QString& part, const QString& problem) {
    return {ImportProblem::XmlCap,
            QStringLiteral("The workbook's part %1 has %2, more than this program reads (a cap "
                           "against damaged or hostile files).")
                .arg(part, problem)};
}

ImportFailure partSizeFailure(const QString& part, qint64 cap) {
    return {ImportProblem::UnpackedSizeCap,
            QStringLiteral("The workbook's part %1 unpacks to more than %2, the most this program "
                           "reads (a cap against damaged or hostile files).")
                .arg(part, sizeText(cap))};
}

ImportFailure unpackedSizeFailure(const QString& what, qint64 size, qint64 cap) {
    return {ImportProblem::UnpackedSizeCap,
            QStringLiteral("%1 unpacks to %2, more than the %3 this program reads (a cap against "
                           "damaged or hostile files).")
                .arg(what, sizeText(size), sizeText(cap))};
}

ImportFailure damagedPartFailure(const QString& part, const QString& where, qint64 line,
                                 qint64 column, const QString& error) {
    const QString place = where.isEmpty() ? QString() : QLatin1Char(' ') + where;
    return {ImportProblem::DamagedWorkbook,
            QStringLiteral("The workbook's part %1 is damaged%2 (XML line %3, column %4): %5")
                .arg(part, place)
                .arg(line)
                .arg(column)
                .arg(error)};
}

StreamedPart::StreamedPart(ZipArchive& archive, const QString& name, UnpackBudget& budget,
                           qint64 partCap, const ImportLimits& limits, XmlHandler& reader)
    : m_name(name), m_partCap(partCap), m_limits(limits), m_reader(reader),
      m_device(openWorkbookPart(archive, name, budget, partCap)), m_parser(*this),
      m_chunk(kChunkBytes, Qt::Uninitialized) {}

StreamedPart::~StreamedPart() = default;

qint64 StreamedPart::bytesRead() const {
    return partBytesRead(*m_device);
}

bool StreamedPart::advance() {
    while (!m_ended) {
        ExpatParser::Progress progress = ExpatParser::Progress::Failed;
        if (m_parser.paused()) {
            progress = m_parser.resume();
        } else {
            const qint64 got = m_device->read(m_chunk.data(), m_chunk.size());
            if (got < 0) {
                m_readFailed = true; // or a cap was hit: check() tells which
                m_ended = true;
                break;
            }
            progress = m_parser.parse(QByteArrayView(m_chunk.constData(), got), got == 0);
        }
        switch (progress) {
        case ExpatParser::Progress::Paused:
            return true;
        case ExpatParser::Progress::NeedsInput:
            // The parser holds an unfinished token whole: a tag too long to
            // finish is stopped here, before it fills the memory.
            if (m_parser.unparsedBytes() > m_limits.valueBytes) {
                m_problem = markupProblem(m_limits.valueBytes);
                m_ended = true;
            }
            break;
        case ExpatParser::Progress::Finished:
            m_ended = true;
            break;
        case ExpatParser::Progress::Failed:
            m_parseFailed = m_problem.isEmpty();
            m_ended = true;
            break;
        }
    }
    return false;
}

void StreamedPart::check(const QString& where) const {
    if (!m_problem.isEmpty()) {
        throw xmlCapFailure(m_name, m_problem);
    }
    if (partCapHit(*m_device)) {
        const bool partCapFirst = partBytesRead(*m_device) > m_partCap;
        throw partSizeFailure(m_name, partCapFirst ? m_partCap : m_limits.unpackedBytes);
    }
    if (m_readFailed) {
        throw unreadablePart(m_name, m_device->errorString());
    }
    if (m_parseFailed) {
        throw damagedPartFailure(m_name, where, m_parser.errorLine(), m_parser.errorColumn(),
                                 m_parser.errorText());
    }
}

void StreamedPart::stopFor(const QString& problem) {
    m_problem = problem;
    m_parser.stop();
}

void StreamedPart::startElement(std::string_view name, const XmlAttributes& attributes) {
    if (++m_depth > m_limits.xmlDepth) {
        stopFor(nestingProblem(m_limits.xmlDepth));
    } else if (m_parser.eventBytes() > m_limits.valueBytes) {
        stopFor(markupProblem(m_limits.valueBytes));
    } else {
        m_textRun = 0;
        m_reader.startElement(name, attributes);
    }
}

void StreamedPart::endElement(std::string_view name) {
    --m_depth;
    if (m_parser.eventBytes() > m_limits.valueBytes) {
        stopFor(markupProblem(m_limits.valueBytes));
    } else {
        m_textRun = 0;
        m_reader.endElement(name);
    }
}

// Comments and processing instructions belong to the run of text around
// them, so that text split by them is bounded as a whole.
void StreamedPart::text(std::string_view text) {
    m_textRun += qint64(text.size());
    if (m_textRun > m_limits.valueBytes) {
        stopFor(textRunProblem(m_limits.valueBytes));
    } else {
        m_reader.text(text);
    }
}

void StreamedPart::otherMarkup(qint64 bytes) {
    m_textRun += bytes;
    if (m_textRun > m_limits.valueBytes) {
        stopFor(textRunProblem(m_limits.valueBytes));
    }
}
