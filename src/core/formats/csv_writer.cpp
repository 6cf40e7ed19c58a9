#include "core/formats/csv_writer.h"

#include "core/report/failure.h"
#include "core/system/write_failure.h"

#include <QFileDevice>
#include <QIODevice>
#include <algorithm>
#include <cerrno>

namespace {

// Gathered output is written once it passes this size.
constexpr qsizetype kFlushBytes = qsizetype{256} * 1024;

bool needsQuotes(QStringView text) {
    return std::ranges::any_of(text, [](QChar c) {
        const char16_t u = c.unicode();
        return u == u',' || u == u'"' || u == u'\r' || u == u'\n';
    });
}

} // namespace

CsvWriter::CsvWriter(QIODevice& out) : m_out(out) {
    m_buffer.reserve(kFlushBytes + 4096);
}

CsvWriter::~CsvWriter() {
    try {
        flush();
    } catch (const Failure&) {
        // A caller that cares about the last bytes flushes itself.
    }
}

void CsvWriter::append(QStringView text) {
    // UTF-8 never takes more than three bytes for one UTF-16 code unit.
    const qsizetype used = m_buffer.size();
    m_buffer.resize(used + 3 * text.size());
    char* end = m_toUtf8.appendToBuffer(m_buffer.data() + used, text);
    m_buffer.truncate(end - m_buffer.constData());
}

void CsvWriter::field(QStringView text) {
    if (!m_firstField) {
        m_buffer.append(',');
    }
    m_firstField = false;
    if (!needsQuotes(text)) {
        append(text);
        return;
    }
    m_buffer.append('"');
    qsizetype from = 0;
    for (qsizetype quote = text.indexOf(u'"'); quote >= 0; quote = text.indexOf(u'"', from)) {
        append(text.mid(from, quote + 1 - from));
        m_buffer.append('"');
        from = quote + 1;
    }
    append(text.mid(from));
    m_buffer.append('"');
}

void CsvWriter::endRecord() {
    m_buffer.append("\r\n", 2);
    m_firstField = true;
    if (m_buffer.size() >= kFlushBytes) {
        flush();
    }
}

void CsvWriter::flush() {
    if (m_buffer.isEmpty()) {
        return;
    }
    errno = 0;
    const qint64 written = m_out.write(m_buffer);
    const int systemError = errno;
    const bool whole = written == m_buffer.size();
    m_buffer.truncate(0); // keeps its room for the next records
    if (!whole) {
        const auto* file = qobject_cast<const QFileDevice*>(&m_out);
        throw Failure(QStringLiteral("The list could not be written: %1")
                          .arg(writeFailureReason(file ? file->fileName() : QString(),
                                                  m_out.errorString(), systemError)));
    }
}
