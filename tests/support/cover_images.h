#pragma once

#include <QByteArray>
#include <QtEndian>
#include <zlib.h>

// Encoded-image headers for tests that never decode: a PNG signature with
// its IHDR chunk, and a JPEG start with an APP0 segment before its frame;
// and whole images built without a decoder (a PNG of black pixels, a JPEG
// with a scan).
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

// A PNG chunk: its length, type, data and CRC.
inline QByteArray pngChunk(const QByteArray& type, const QByteArray& data) {
    return bigEndian(quint32(data.size()), 4) + type + data + bigEndian(pngCrc(type + data), 4);
}

// A whole PNG, 8-bit RGBA, every row unfiltered and black; `rows` replaces
// the image data before it is compressed when given.
inline QByteArray png(quint32 width, quint32 height, QByteArray rows = {}) {
    if (rows.isNull()) {
        rows = QByteArray(qsizetype(height) * (1 + 4 * width), '\0');
    }
    QByteArray packed(qsizetype(compressBound(uLong(rows.size()))), '\0');
    uLongf size = uLongf(packed.size());
    compress(reinterpret_cast<Bytef*>(packed.data()), &size,
             reinterpret_cast<const Bytef*>(rows.constData()), uLong(rows.size()));
    packed.resize(qsizetype(size));
    return QByteArray("\x89PNG\r\n\x1a\n", 8) +
           pngChunk("IHDR",
                    bigEndian(width, 4) + bigEndian(height, 4) + QByteArray("\x08\x06\0\0\0", 5)) +
           pngChunk("IDAT", packed) + pngChunk("IEND", {});
}

inline QByteArray jpegHeader(quint32 width, quint32 height) {
    const QByteArray app0("\xff\xe0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 18);
    return QByteArray("\xff\xd8", 2) + app0 + QByteArray("\xff\xc0\0\x11\x08", 5) +
           bigEndian(height, 2) + bigEndian(width, 2) +
           QByteArray("\x03\x01\x11\0\x02\x11\x01\x03\x11\x01", 10) + QByteArray("\xff\xd9", 2);
}

// A JPEG with its frame, one scan and the end marker.
inline QByteArray jpeg(quint32 width, quint32 height) {
    const QByteArray header = jpegHeader(width, height).chopped(2);
    return header + QByteArray("\xff\xda\0\x08\x01\x01\0\0\x3f\0", 10) +
           QByteArray("\x12\xff\0\x34\xff\xd0\x56", 7) + QByteArray("\xff\xd9", 2);
}

} // namespace CoverImages
