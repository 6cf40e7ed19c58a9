#pragma once

#include <QByteArray>
#include <QtEndian>

// Encoded-image headers for tests that never decode: a PNG signature with
// its IHDR chunk, and a JPEG start with an APP0 segment before its frame.
namespace CoverImages {

inline QByteArray bigEndian(quint32 value, int bytes) {
    QByteArray out;
    for (int i = bytes - 1; i >= 0; --i) {
        out.append(char((value >> (8 * i)) & 0xff));
    }
    return out;
}

// The CRC-32 a PNG chunk ends with, over its type and data.
inline quint32 pngCrc(const QByteArray& bytes) {
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

inline QByteArray pngHeader(quint32 width, quint32 height) {
    const QByteArray chunk = QByteArray("IHDR") + bigEndian(width, 4) + bigEndian(height, 4) +
                             QByteArray("\x08\x06\0\0\0", 5);
    return QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0d", 12) + chunk + bigEndian(pngCrc(chunk), 4) +
           QByteArray("\0\0\0\0IDAT", 8) + bigEndian(pngCrc("IDAT"), 4) +
           QByteArray("\0\0\0\0IEND\xae\x42\x60\x82", 12);
}

inline QByteArray jpegHeader(quint32 width, quint32 height) {
    const QByteArray app0("\xff\xe0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 18);
    return QByteArray("\xff\xd8", 2) + app0 + QByteArray("\xff\xc0\0\x11\x08", 5) +
           bigEndian(height, 2) + bigEndian(width, 2) + QByteArray(12, '\x01') +
           QByteArray("\xff\xd9", 2);
}

} // namespace CoverImages
