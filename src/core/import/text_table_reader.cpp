#include "core/import/text_table_reader.h"

#include "core/import/column_map.h"

#include <algorithm>

namespace {

constexpr qsizetype kChunkBytes = qsizetype(1) << 20;
// How much of the file's start is looked at to tell text from binary data.
constexpr qsizetype kSniffBytes = 8192;
const QString kClipboardCopyName = QStringLiteral("the program's clipboard copy");
// A clipboard copy has the id and the eight fields.
constexpr qsizetype kClipboardColumns = 9;

bool isControlByte(unsigned char byte) {
    // Tab, LF, VT, FF, CR and ESC turn up in text files; the others do not.
    return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\v' && byte != '\f' &&
           byte != '\r' && byte != 0x1B;
}

bool startsWith(QByteArrayView bytes, QByteArrayView start) {
    return bytes.size() >= start.size() && bytes.first(start.size()) == start;
}

// The first line with anything but blanks in it.
QByteArrayView firstNonBlankLine(QByteArrayView text) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) {
            end = text.size();
        }
        QByteArrayView line = text.sliced(start, end - start);
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (!line.trimmed().isEmpty()) {
            return line;
        }
        start = end + 1;
    }
    return {};
}

// The separator used most often outside quotes in a header line; comma when
// there is none.
char separatorOf(QByteArrayView line) {
    qsizetype commas = 0;
    qsizetype semicolons = 0;
    qsizetype tabs = 0;
    bool quoted = false;
    for (const char byte : line) {
        if (byte == '"') {
            quoted = !quoted;
        } else if (!quoted) {
            commas += byte == ',';
            semicolons += byte == ';';
            tabs += byte == '\t';
        }
    }
    if (tabs > commas && tabs >= semicolons) {
        return '\t';
    }
    return semicolons > commas ? ';' : ',';
}

// A line of the clipboard copy: nine tab-separated cells, the first the
// digits of an id, none naming a column as a header would.
bool looksLikeClipboardCopy(QByteArrayView line, TextEncoding encoding) {
    const QStringList cells = decodeText(line, encoding).split(QLatin1Char('\t'));
    if (cells.size() != kClipboardColumns) {
        return false;
    }
    const QString id = cells.front().trimmed();
    if (id.isEmpty() || !std::all_of(id.begin(), id.end(), [](QChar c) { return c.isDigit(); })) {
        return false;
    }
    return std::none_of(cells.begin(), cells.end(), isKnownColumnName);
}

} // namespace

TextTableReader::TextTableReader(std::unique_ptr<QIODevice> device, const ImportLimits& limits)
    : m_device(std::move(device)), m_limits(limits), m_size(m_device->size()) {
    if (m_size > m_limits.fileBytes) {
        throw ImportFailure(ImportProblem::TooLarge,
                            QStringLiteral("The file is %1; files larger than %2 are not "
                                           "imported.")
                                .arg(sizeText(m_size), sizeText(m_limits.fileBytes)));
    }
    checkWholeFile();
    chooseLayout();
    m_stopsUnquoted[static_cast<unsigned char>(m_separator)] = true;
    for (const unsigned char stop : {'\r', '\n', '\0'}) {
        m_stopsUnquoted[stop] = true;
        m_stopsQuoted[stop] = true;
    }
    m_stopsQuoted['"'] = true;
    if (!m_device->seek(m_textStart)) {
        throw ImportFailure(
            ImportProblem::CannotRead,
            QStringLiteral("The file cannot be read: %1").arg(m_device->errorString()));
    }
    m_bufferStart = m_textStart;
}

void TextTableReader::checkWholeFile() {
    if (!m_device->seek(0)) {
        throw ImportFailure(
            ImportProblem::CannotRead,
            QStringLiteral("The file cannot be read: %1").arg(m_device->errorString()));
    }
    const QByteArray head = m_device->peek(kSniffBytes);
    if (startsWith(head, "\xFF\xFE") || startsWith(head, "\xFE\xFF")) {
        throw ImportFailure(ImportProblem::NotText,
                            QStringLiteral("The file is UTF-16 text, which is not read; save it as "
                                           "UTF-8 text (\"CSV UTF-8\") and import that."));
    }
    if (startsWith(head, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        throw ImportFailure(
            ImportProblem::NotText,
            QStringLiteral("The file is an old-style Excel workbook (.xls), which "
                           "is not read; save it as .xlsx or CSV and import that."));
    }
    m_textStart = startsWith(head, kUtf8Bom) ? 3 : 0;
    const QByteArrayView sniffed = QByteArrayView(head).sliced(m_textStart);
    const auto controls = std::count_if(sniffed.begin(), sniffed.end(), [](char byte) {
        return isControlByte(static_cast<unsigned char>(byte));
    });
    // A stray control character or two may sit in a value; binary data is
    // full of them.
    if (controls > 2 && controls * 32 > sniffed.size()) {
        throw ImportFailure(ImportProblem::NotText,
                            QStringLiteral("The file holds binary data, not text: it is neither "
                                           "CSV, tab-separated text nor an .xlsx workbook."));
    }

    Utf8Check utf8;
    bool anyText = false;
    m_device->seek(m_textStart);
    for (;;) {
        const QByteArray piece = m_device->read(kChunkBytes);
        if (piece.isEmpty()) {
            break;
        }
        utf8.add(piece);
        anyText = anyText || std::any_of(piece.begin(), piece.end(), [](char byte) {
                      return byte != ' ' && byte != '\t' && byte != '\r' && byte != '\n';
                  });
    }
    if (!anyText) {
        throw ImportFailure(ImportProblem::Empty, QStringLiteral("The file is empty."));
    }
    m_encoding = utf8.finish() ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

void TextTableReader::chooseLayout() {
    m_device->seek(m_textStart);
    const QByteArray start = m_device->peek(kChunkBytes);
    const QByteArrayView header = firstNonBlankLine(start);
    m_separator = separatorOf(header);
    m_clipboardCopy = m_separator == '\t' && looksLikeClipboardCopy(header, m_encoding);
}

bool TextTableReader::fill() {
    if (m_atEnd) {
        return false;
    }
    m_bufferStart += m_buffer.size();
    m_buffer.resize(kChunkBytes);
    const qint64 got = m_device->read(m_buffer.data(), kChunkBytes);
    if (got < 0) {
        throw ImportFailure(
            ImportProblem::CannotRead,
            QStringLiteral("The file cannot be read: %1").arg(m_device->errorString()));
    }
    m_buffer.resize(got);
    m_pos = 0;
    return got > 0;
}

void TextTableReader::appendToField(const char* from, qsizetype count, const SourceRow& row,
                                    bool quoted) {
    m_field.append(from, count);
    if (m_field.size() > m_limits.valueBytes) {
        const RowPlace place{placeWord(), row.number};
        QString text = QStringLiteral("a value is longer than %1, more than any movie needs")
                           .arg(sizeText(m_limits.valueBytes));
        if (quoted) {
            text += QStringLiteral("; perhaps the quote that opens it on line %1 is never closed")
                        .arg(m_quoteLine);
        }
        throw failureAt(ImportProblem::ValueTooLong, place, text + QLatin1Char('.'));
    }
}

void TextTableReader::nulFailure() const {
    throw failureAt(ImportProblem::NulInValue, RowPlace{placeWord(), m_line},
                    QStringLiteral("a value holds a NUL character, which a movie's fields "
                                   "cannot store."));
}

void TextTableReader::endField(SourceRow& row) {
    if (m_cells >= m_limits.columns) {
        throw failureAt(ImportProblem::TooManyColumns, RowPlace{placeWord(), row.number},
                        QStringLiteral("the row has more than %1 columns; a movie list needs "
                                       "nine.")
                            .arg(m_limits.columns));
    }
    // The row's cells are written over the last row's, so that their room
    // is reused; readRow drops the ones this row does not have.
    if (m_cells == row.cells.size()) {
        row.cells.emplace_back();
    }
    QString& value = row.cells[m_cells++];
    decodeTextInto(m_field, m_encoding, value);
    if (m_clipboardCopy) {
        qsizetype end = value.size();
        while (end > 0 && value.at(end - 1) == QLatin1Char(' ')) {
            --end;
        }
        value.truncate(end);
    }
    m_field.resize(0); // keeps its room
}

bool TextTableReader::readRow(SourceRow& row) {
    enum class State { FieldStart, Unquoted, Quoted, QuoteSeen };
    m_cells = 0;
    m_field.resize(0);
    State state = State::FieldStart;
    bool started = false;
    for (;;) {
        if (m_pos == m_buffer.size() && !fill()) {
            m_atEnd = true;
            if (state == State::Quoted) {
                throw failureAt(ImportProblem::UnterminatedQuote,
                                RowPlace{placeWord(), m_quoteLine},
                                QStringLiteral("a quoted value starts here and is never closed."));
            }
            if (!started) {
                row.cells.clear();
                return false; // nothing after the last line break
            }
            endField(row);
            row.cells.resize(m_cells);
            return true;
        }
        const char* data = m_buffer.constData();
        const qsizetype size = m_buffer.size();
        if (m_skipLineFeed) {
            m_skipLineFeed = false;
            if (data[m_pos] == '\n') {
                ++m_pos;
                continue;
            }
        }
        if (!started) {
            started = true;
            row.number = m_line;
        }
        switch (state) {
        case State::FieldStart:
            if (data[m_pos] == '"' && !m_clipboardCopy) {
                state = State::Quoted;
                m_quoteLine = m_line;
                ++m_pos;
            } else {
                state = State::Unquoted;
            }
            break;
        case State::Unquoted: {
            qsizetype end = m_pos;
            while (end < size && !m_stopsUnquoted[static_cast<unsigned char>(data[end])]) {
                ++end;
            }
            appendToField(data + m_pos, end - m_pos, row, false);
            m_pos = end;
            if (m_pos == size) {
                break;
            }
            const char stop = data[m_pos++];
            if (stop == '\0') {
                nulFailure();
            }
            endField(row);
            if (stop == m_separator) {
                state = State::FieldStart;
                break;
            }
            ++m_line;
            m_skipLineFeed = stop == '\r';
            row.cells.resize(m_cells);
            return true;
        }
        case State::Quoted: {
            qsizetype end = m_pos;
            while (end < size && !m_stopsQuoted[static_cast<unsigned char>(data[end])]) {
                ++end;
            }
            appendToField(data + m_pos, end - m_pos, row, true);
            m_pos = end;
            if (m_pos == size) {
                break;
            }
            const char stop = data[m_pos++];
            if (stop == '"') {
                state = State::QuoteSeen;
            } else if (stop == '\0') {
                nulFailure();
            } else {
                // A line break inside the value stays in it as it is.
                appendToField(&stop, 1, row, true);
                const bool lineFeedAfterReturn =
                    stop == '\n' && m_field.size() >= 2 && m_field.at(m_field.size() - 2) == '\r';
                m_line += lineFeedAfterReturn ? 0 : 1;
            }
            break;
        }
        case State::QuoteSeen:
            if (data[m_pos] == '"') {
                appendToField(data + m_pos, 1, row, true); // a doubled quote
                ++m_pos;
                state = State::Quoted;
            } else {
                state = State::Unquoted; // the value's end, or text after it
            }
            break;
        }
    }
}

QString TextTableReader::formatName() const {
    if (m_clipboardCopy) {
        return kClipboardCopyName;
    }
    switch (m_separator) {
    case '\t':
        return QStringLiteral("tab-separated text");
    case ';':
        return QStringLiteral("CSV (semicolon-separated)");
    default:
        return QStringLiteral("CSV");
    }
}

ColumnNaming TextTableReader::columnNaming() const {
    return m_clipboardCopy ? ColumnNaming::ClipboardCopy : ColumnNaming::HeaderRow;
}

QString TextTableReader::encodingNote() const {
    return m_encoding == TextEncoding::Windows1252
               ? QStringLiteral("The file is not valid UTF-8 text; it was read as Windows-1252 "
                                "(Western European).")
               : QString();
}
