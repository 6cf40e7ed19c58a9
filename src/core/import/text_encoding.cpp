#include "core/import/text_encoding.h"

#include "core/formats/utf8_text.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace {

// Bytes 0x80 to 0x9F of Windows-1252; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = (code >= 0x80 && code < 0xA0) ? QChar(kWindows1252High[code - 0x80]) : QChar(code);
    }
    return text;
}

// How many bytes at the end of `bytes` start a character that may go on in
// the next piece: a lead byte and the continuation bytes after it, when fewer
// than the lead byte announces.
qsizetype unfinishedTail(QByteArrayView bytes) {
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) == 0x80) {
            continue; // a continuation byte: look further back for its lead
        }
        const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

} // namespace

QString decodeText(QByteArrayView bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252) {
        return decodeWindows1252(bytes);
    }
    return fromUtf8KeepingMark(bytes);
}

void decodeTextInto(QByteArrayView bytes, TextEncoding encoding, QString& out) {
    // Plain ASCII, the bulk of a movie list, reads the same in both encodings
    // and is widened without the general decoder.
    const qsizetype size = bytes.size();
    out.resize(size);
    QChar* text = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80) {
            out = decodeText(bytes, encoding);
            return;
        }
        text[i] = QChar(byte);
    }
}

void Utf8Check::add(QByteArrayView piece) {
    if (!m_valid) {
        return;
    }
    if (!m_carry.isEmpty()) {
        // Complete the character cut off at the end of the last piece.
        const auto lead = static_cast<unsigned char>(m_carry.front());
        const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const qsizetype wanted = std::min(length - m_carry.size(), piece.size());
        m_carry.append(piece.first(wanted));
        piece = piece.sliced(wanted);
        if (m_carry.size() < length) {
            return;
        }
        if (!QByteArrayView(m_carry).isValidUtf8()) {
            m_valid = false;
            return;
        }
        m_carry.clear();
    }
    const qsizetype open = unfinishedTail(piece);
    if (!piece.first(piece.size() - open).isValidUtf8()) {
        m_valid = false;
        return;
    }
    m_carry = piece.last(open).toByteArray();
}

bool Utf8Check::finish() const {
    return m_valid && m_carry.isEmpty();
}
