#include "core/covers/image_header.h"

namespace {

int bigEndian16(const QByteArray& bytes, qsizetype at) {
    return (quint8(bytes[at]) << 8) | quint8(bytes[at + 1]);
}

quint32 bigEndian32(const QByteArray& bytes, qsizetype at) {
    return (quint32(bigEndian16(bytes, at)) << 16) | quint32(bigEndian16(bytes, at + 2));
}

std::optional<ImageHeader> pngHeader(const QByteArray& bytes) {
    // The signature, then the IHDR chunk: length, type, width, height.
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (bytes.size() < 24 || !bytes.startsWith(signature) || bytes.mid(12, 4) != "IHDR") {
        return std::nullopt;
    }
    const quint32 width = bigEndian32(bytes, 16);
    const quint32 height = bigEndian32(bytes, 20);
    if (width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff) {
        return std::nullopt;
    }
    return ImageHeader{QStringLiteral("png"), int(width), int(height)};
}

bool isStartOfFrame(int marker) {
    // SOF0..SOF15 without DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

std::optional<ImageHeader> jpegHeader(const QByteArray& bytes) {
    if (bytes.size() < 4 || quint8(bytes[0]) != 0xff || quint8(bytes[1]) != 0xd8) {
        return std::nullopt;
    }
    // Walk the segments up to the frame header, which holds the size.
    qsizetype at = 2;
    while (at + 4 <= bytes.size()) {
        if (quint8(bytes[at]) != 0xff) {
            return std::nullopt;
        }
        const int marker = quint8(bytes[at + 1]);
        if (marker == 0xff) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xd8 || (marker >= 0xd0 && marker <= 0xd7) || marker == 0x01) {
            at += 2; // markers without a length
            continue;
        }
        if (marker == 0xd9 || marker == 0xda) {
            return std::nullopt; // end of image or scan data before any frame
        }
        const int length = bigEndian16(bytes, at + 2);
        if (length < 2) {
            return std::nullopt;
        }
        if (isStartOfFrame(marker)) {
            if (at + 9 > bytes.size()) {
                return std::nullopt;
            }
            const int height = bigEndian16(bytes, at + 5);
            const int width = bigEndian16(bytes, at + 7);
            if (width == 0 || height == 0) {
                return std::nullopt;
            }
            return ImageHeader{QStringLiteral("jpeg"), width, height};
        }
        at += 2 + length;
    }
    return std::nullopt;
}

} // namespace

std::optional<ImageHeader> readImageHeader(const QByteArray& bytes) {
    if (auto png = pngHeader(bytes)) {
        return png;
    }
    return jpegHeader(bytes);
}

bool imageLooksComplete(const QByteArray& bytes, const QString& format) {
    // Some writers pad the end; a few dozen bytes after the marker are fine.
    constexpr qsizetype kTail = 64;
    const qsizetype from = std::max<qsizetype>(0, bytes.size() - kTail);
    if (format == QStringLiteral("png")) {
        return bytes.indexOf("IEND", from) >= 0;
    }
    if (format == QStringLiteral("jpeg")) {
        return bytes.indexOf(QByteArray("\xff\xd9", 2), from) >= 0;
    }
    return false;
}
