#pragma once

#include <QByteArray>
#include <QtEndian>
#include <algorithm>
#include <zlib.h>

// Encoded-image headers for tests that never decode: a PNG signature with
// its IHDR chunk, and a JPEG start with an APP0 segment before its frame;
// and whole images built without a decoder (PNGs, GIFs and BMPs of one
// colour in every depth, a JPEG with a scan).
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

// A whole PNG of one colour in any depth and colour type: `pixel` is one
// pixel's bytes (at depths of 8 and 16 bits) or its value (below 8 bits);
// `palette` goes into PLTE when given.
inline QByteArray png(quint32 width, quint32 height, int depth, int colourType,
                      const QByteArray& pixel, const QByteArray& palette = {}) {
    QByteArray row;
    if (depth < 8) {
        quint8 packed = 0;
        for (int at = 0; at < 8; at += depth) {
            packed = quint8((packed << depth) | quint8(pixel[0]));
        }
        row = QByteArray(qsizetype((width * depth + 7) / 8), char(packed));
    } else {
        row = pixel.repeated(width);
    }
    QByteArray rows;
    for (quint32 y = 0; y < height; ++y) {
        rows += '\0' + row;
    }
    QByteArray packed(qsizetype(compressBound(uLong(rows.size()))), '\0');
    uLongf size = uLongf(packed.size());
    compress(reinterpret_cast<Bytef*>(packed.data()), &size,
             reinterpret_cast<const Bytef*>(rows.constData()), uLong(rows.size()));
    packed.resize(qsizetype(size));
    const QByteArray header = bigEndian(width, 4) + bigEndian(height, 4) + char(depth) +
                              char(colourType) + QByteArray(3, '\0');
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
           (palette.isEmpty() ? QByteArray() : pngChunk("PLTE", palette)) +
           pngChunk("IDAT", packed) + pngChunk("IEND", {});
}

inline QByteArray littleEndian(quint32 value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) {
        out.append(char((value >> (8 * i)) & 0xff));
    }
    return out;
}

// A GIF of one colour, every pixel `index` into `palette` (2 to 256 colours,
// a power of two). Each pixel is one LZW code after a clear code, so the
// code width never grows.
inline QByteArray gif(quint16 width, quint16 height, const QByteArray& palette, int index) {
    int bits = 1;
    while ((3 << bits) < palette.size()) {
        ++bits;
    }
    const int minCode = std::max(2, bits);
    const quint32 clear = 1u << minCode;
    QByteArray data;
    quint32 buffer = 0;
    int held = 0;
    const auto put = [&](quint32 code) {
        buffer |= code << held;
        for (held += minCode + 1; held >= 8; held -= 8, buffer >>= 8) {
            data.append(char(buffer & 0xff));
        }
    };
    for (int pixel = 0; pixel < width * height; ++pixel) {
        put(clear);
        put(quint32(index));
    }
    put(clear + 1);
    if (held > 0) {
        data.append(char(buffer & 0xff));
    }
    QByteArray blocks;
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        blocks += char(block.size()) + block;
    }
    return "GIF89a" + littleEndian(width, 2) + littleEndian(height, 2) + char(0x80 | (bits - 1)) +
           QByteArray(2, '\0') + palette + ',' + QByteArray(4, '\0') + littleEndian(width, 2) +
           littleEndian(height, 2) + '\0' + char(minCode) + blocks + '\0' + ';';
}

// An uncompressed BMP of 1, 4 or 8 bits a pixel, every pixel `index` into
// `palette` (blue, green, red, 0 for each colour).
inline QByteArray bmp(quint32 width, quint32 height, int bits, const QByteArray& palette,
                      int index) {
    quint8 packed = 0;
    for (int at = 0; at < 8; at += bits) {
        packed = quint8((packed << bits) | index);
    }
    const quint32 rowBytes = (width * bits + 31) / 32 * 4;
    const QByteArray pixels(qsizetype(rowBytes * height), char(packed));
    const quint32 offset = 14 + 40 + quint32(palette.size());
    return "BM" + littleEndian(offset + quint32(pixels.size()), 4) + littleEndian(0, 4) +
           littleEndian(offset, 4) + littleEndian(40, 4) + littleEndian(width, 4) +
           littleEndian(height, 4) + littleEndian(1, 2) + littleEndian(bits, 2) +
           littleEndian(0, 4) + littleEndian(quint32(pixels.size()), 4) + littleEndian(2835, 4) +
           littleEndian(2835, 4) + littleEndian(quint32(palette.size() / 4), 4) +
           littleEndian(0, 4) + palette + pixels;
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
