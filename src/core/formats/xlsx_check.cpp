#include "core/formats/xlsx_check.h"

#include "core/report/failure.h"

#include <QFile>
#include <cstring>
#include <zlib.h>

namespace {

constexpr quint32 kEndOfDirectorySignature = 0x06054b50;
constexpr quint32 kDirectoryEntrySignature = 0x02014b50;
constexpr quint32 kLocalHeaderSignature = 0x04034b50;
constexpr qsizetype kEndOfDirectorySize = 22;
constexpr qsizetype kDirectoryEntrySize = 46;
constexpr qsizetype kLocalHeaderSize = 30;
constexpr qsizetype kMaxCommentSize = 0xffff;
constexpr int kStored = 0;
constexpr int kDeflated = 8;
// How much of each part's start and end is kept to find its root element.
constexpr qsizetype kEdgeSize = 512;

[[noreturn]] void incomplete(const QString& reason) {
    throw Failure(QStringLiteral("The workbook file is incomplete: %1").arg(reason));
}

// Little-endian reads that stay inside the file.
class Bytes {
public:
    Bytes(const uchar* data, qint64 size) : m_data(data), m_size(size) {}

    quint32 u16(qint64 at) const { return quint32(byte(at)) | quint32(byte(at + 1)) << 8; }
    quint32 u32(qint64 at) const { return u16(at) | u16(at + 2) << 16; }
    const uchar* span(qint64 at, qint64 length) const {
        if (at < 0 || length < 0 || at + length > m_size) {
            incomplete(QStringLiteral("it ends too early."));
        }
        return m_data + at;
    }
    qint64 size() const { return m_size; }

private:
    uchar byte(qint64 at) const { return *span(at, 1); }

    const uchar* m_data;
    qint64 m_size;
};

// One part's contents as they unpack: size, checksum, and its first and last bytes.
struct Unpacked {
    quint64 size = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    QByteArray head;
    QByteArray tail;

    void take(const char* data, qsizetype length) {
        size += quint64(length);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data), uInt(length));
        if (head.size() < kEdgeSize) {
            head.append(data, std::min(length, kEdgeSize - head.size()));
        }
        tail.append(data, length);
        if (tail.size() > kEdgeSize) {
            tail.remove(0, tail.size() - kEdgeSize);
        }
    }
};

Unpacked unpack(const uchar* data, qint64 packedSize, int method, const QString& name) {
    Unpacked out;
    if (method == kStored) {
        out.take(reinterpret_cast<const char*>(data), qsizetype(packedSize));
        return out;
    }
    if (method != kDeflated) {
        incomplete(QStringLiteral("%1 is packed in an unknown way.").arg(name));
    }
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        incomplete(QStringLiteral("%1 cannot be unpacked.").arg(name));
    }
    // zlib's input pointer is not const, but inflate never writes through it.
    stream.next_in = const_cast<Bytef*>(data); // NOLINT(cppcoreguidelines-pro-type-const-cast)
    stream.avail_in = uInt(packedSize);
    char buffer[64 * 1024];
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        out.take(buffer, qsizetype(sizeof buffer - stream.avail_out));
        if (status == Z_BUF_ERROR && stream.avail_in == 0) {
            break; // the packed data stops before its end
        }
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END) {
        incomplete(QStringLiteral("%1 is cut short.").arg(name));
    }
    return out;
}

// An XML part is whole when it ends by closing the element it starts with.
void checkXmlEnds(const Unpacked& part, const QString& name) {
    const QByteArray& head = part.head;
    qsizetype at = 0;
    while ((at = head.indexOf('<', at)) >= 0 && at + 1 < head.size() &&
           (head.at(at + 1) == '?' || head.at(at + 1) == '!')) {
        ++at;
    }
    if (at < 0) {
        incomplete(QStringLiteral("%1 holds no XML.").arg(name));
    }
    qsizetype end = at + 1;
    while (end < head.size() && !std::strchr(" \t\r\n/>", head.at(end))) {
        ++end;
    }
    const QByteArray root = head.mid(at + 1, end - at - 1);
    if (root.isEmpty() || !part.tail.trimmed().endsWith("</" + root + ">")) {
        incomplete(QStringLiteral("%1 is cut short.").arg(name));
    }
}

} // namespace

void checkXlsxComplete(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Failure(
            QStringLiteral("The workbook file cannot be read: %1").arg(file.errorString()));
    }
    const qint64 fileSize = file.size();
    const uchar* mapped = fileSize > 0 ? file.map(0, fileSize) : nullptr;
    if (!mapped) {
        incomplete(QStringLiteral("it is empty or cannot be read."));
    }
    const Bytes bytes(mapped, fileSize);

    qint64 directoryEnd = -1;
    for (qint64 at = fileSize - kEndOfDirectorySize;
         at >= 0 && at >= fileSize - kEndOfDirectorySize - kMaxCommentSize; --at) {
        if (bytes.u32(at) == kEndOfDirectorySignature) {
            directoryEnd = at;
            break;
        }
    }
    if (directoryEnd < 0) {
        incomplete(QStringLiteral("it has no table of contents."));
    }
    const quint32 entries = bytes.u16(directoryEnd + 10);
    qint64 entry = bytes.u32(directoryEnd + 16);
    if (entries == 0) {
        incomplete(QStringLiteral("it holds nothing."));
    }
    for (quint32 n = 0; n < entries; ++n) {
        if (bytes.u32(entry) != kDirectoryEntrySignature) {
            incomplete(QStringLiteral("its table of contents is damaged."));
        }
        const int method = int(bytes.u16(entry + 10));
        const quint32 crc = bytes.u32(entry + 16);
        const quint32 packedSize = bytes.u32(entry + 20);
        const quint32 size = bytes.u32(entry + 24);
        const quint32 nameLength = bytes.u16(entry + 28);
        const qint64 local = bytes.u32(entry + 42);
        const QString name = QString::fromUtf8(
            reinterpret_cast<const char*>(bytes.span(entry + kDirectoryEntrySize, nameLength)),
            nameLength);
        entry += kDirectoryEntrySize + nameLength + bytes.u16(entry + 30) + bytes.u16(entry + 32);

        if (bytes.u32(local) != kLocalHeaderSignature) {
            incomplete(QStringLiteral("%1 is missing.").arg(name));
        }
        const qint64 data =
            local + kLocalHeaderSize + bytes.u16(local + 26) + bytes.u16(local + 28);
        const Unpacked part = unpack(bytes.span(data, packedSize), packedSize, method, name);
        if (part.size != size || part.crc != crc) {
            incomplete(QStringLiteral("%1 does not match its checksum.").arg(name));
        }
        if (name.endsWith(QStringLiteral(".xml")) || name.endsWith(QStringLiteral(".rels"))) {
            checkXmlEnds(part, name);
        }
    }
}
