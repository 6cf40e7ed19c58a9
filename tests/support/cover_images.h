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

inline QByteArray pngHeader(quint32 width, quint32 height) {
    return QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) + bigEndian(width, 4) +
           bigEndian(height, 4) + QByteArray("\x08\x06\0\0\0", 5) + QByteArray(4, '\0') +
           QByteArray("\0\0\0\0IEND\xae\x42\x60\x82", 12);
}

inline QByteArray jpegHeader(quint32 width, quint32 height) {
    const QByteArray app0("\xff\xe0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 18);
    return QByteArray("\xff\xd8", 2) + app0 + QByteArray("\xff\xc0\0\x11\x08", 5) +
           bigEndian(height, 2) + bigEndian(width, 2) + QByteArray(12, '\x01') +
           QByteArray("\xff\xd9", 2);
}

} // namespace CoverImages
