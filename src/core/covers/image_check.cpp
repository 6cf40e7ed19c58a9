#include "core/covers/image_check.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>
// Lets zlib take the input it only reads as const.
#define ZLIB_CONST
#include <zlib.h>

namespace {

quint32 bigEndian32(const char* at) {
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | quint32(b[3]);
}

int bigEndian16(const QByteArray& bytes, qsizetype at) {
    return (quint8(bytes[at]) << 8) | quint8(bytes[at + 1]);
}

// The rows of one pass of the image: how many, and the bytes of each after
// its filter byte.
struct RowRun {
    quint64 rows;
    quint64 rowBytes;
};

// The passes an image of that size is stored in: one, or Adam7's seven.
std::vector<RowRun> rowRuns(quint64 width, quint64 height, quint64 bitsPerPixel, bool interlaced) {
    const auto rowBytes = [bitsPerPixel](quint64 pixels) {
        return (pixels * bitsPerPixel + 7) / 8;
    };
    if (!interlaced) {
        return {{height, rowBytes(width)}};
    }
    struct Pass {
        quint64 x0, y0, dx, dy;
    };
    static constexpr std::array<Pass, 7> kAdam7 = {{{0, 0, 8, 8},
                                                    {4, 0, 8, 8},
                                                    {0, 4, 4, 8},
                                                    {2, 0, 4, 4},
                                                    {0, 2, 2, 4},
                                                    {1, 0, 2, 2},
                                                    {0, 1, 1, 2}}};
    std::vector<RowRun> runs;
    for (const Pass& pass : kAdam7) {
        const quint64 columns = width > pass.x0 ? (width - pass.x0 + pass.dx - 1) / pass.dx : 0;
        const quint64 rows = height > pass.y0 ? (height - pass.y0 + pass.dy - 1) / pass.dy : 0;
        if (columns > 0 && rows > 0) {
            runs.push_back({rows, rowBytes(columns)});
        }
    }
    return runs;
}

// Bits a pixel takes, or 0 for a combination of colour type and depth that
// PNG does not have.
int bitsPerPixel(int colourType, int depth) {
    const auto allowed = [depth](std::initializer_list<int> depths) {
        return std::ranges::any_of(depths, [depth](int d) { return d == depth; });
    };
    switch (colourType) {
    case 0: // grey
        return allowed({1, 2, 4, 8, 16}) ? depth : 0;
    case 2: // RGB
        return allowed({8, 16}) ? 3 * depth : 0;
    case 3: // palette
        return allowed({1, 2, 4, 8}) ? depth : 0;
    case 4: // grey and alpha
        return allowed({8, 16}) ? 2 * depth : 0;
    case 6: // RGBA
        return allowed({8, 16}) ? 4 * depth : 0;
    default:
        return 0;
    }
}

// Inflates the image data as it comes, chunk by chunk, checking the filter
// byte that starts each row and that the rows end exactly where the data does.
class ImageDataCheck {
public:
    explicit ImageDataCheck(std::vector<RowRun> runs)
        : m_started(inflateInit(&m_stream) == Z_OK), m_ok(m_started), m_runs(std::move(runs)) {
        startRun();
    }
    ~ImageDataCheck() {
        if (m_started) {
            inflateEnd(&m_stream);
        }
    }
    ImageDataCheck(const ImageDataCheck&) = delete;
    ImageDataCheck& operator=(const ImageDataCheck&) = delete;

    void add(const char* data, quint32 size) {
        if (m_ended && size > 0) {
            m_ok = false; // data after the end of the stream
        }
        m_stream.next_in = reinterpret_cast<const Bytef*>(data);
        m_stream.avail_in = size;
        while (m_ok && !m_ended) {
            std::array<unsigned char, 16384> out{};
            m_stream.next_out = out.data();
            m_stream.avail_out = out.size();
            const int rc = inflate(&m_stream, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
                m_ok = false;
                return;
            }
            walkRows(out.data(), out.size() - m_stream.avail_out);
            m_ended = rc == Z_STREAM_END;
            if (m_stream.avail_out > 0) {
                break; // all of this chunk is taken in
            }
        }
        // Data after the end of the stream is as wrong as data missing.
        m_ok = m_ok && !(m_ended && m_stream.avail_in > 0);
    }
    bool whole() const { return m_ok && m_ended && m_run == m_runs.size(); }

private:
    void startRun() {
        while (m_run < m_runs.size() && m_runs[m_run].rows == 0) {
            ++m_run;
        }
        m_rowsLeft = m_run < m_runs.size() ? m_runs[m_run].rows : 0;
        m_bytesLeftInRow = 0;
    }
    void walkRows(const unsigned char* data, std::size_t size) {
        for (std::size_t at = 0; at < size && m_ok;) {
            if (m_run == m_runs.size()) {
                m_ok = false; // more data than the rows hold
                return;
            }
            if (m_bytesLeftInRow == 0) {
                if (data[at] > 4) {
                    m_ok = false; // PNG has filters 0 to 4
                    return;
                }
                ++at;
                m_bytesLeftInRow = m_runs[m_run].rowBytes;
            }
            const quint64 take = std::min<quint64>(m_bytesLeftInRow, size - at);
            at += take;
            m_bytesLeftInRow -= take;
            if (m_bytesLeftInRow == 0 && --m_rowsLeft == 0) {
                ++m_run;
                startRun();
            }
        }
    }

    z_stream m_stream{};
    bool m_started = false;
    bool m_ok = false;
    bool m_ended = false;
    std::vector<RowRun> m_runs;
    std::size_t m_run = 0;
    quint64 m_rowsLeft = 0;
    quint64 m_bytesLeftInRow = 0;
};

QString pngProblem(const QByteArray& bytes) {
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (!bytes.startsWith(signature)) {
        return QStringLiteral("it is not a PNG image");
    }
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype at = signature.size();
    bool first = true;
    bool palette = false;
    bool needsPalette = false;
    int idats = 0;
    bool idatsEnded = false;
    std::unique_ptr<ImageDataCheck> image;
    for (;;) {
        if (size - at < 12) {
            return QStringLiteral("it is cut short before its end chunk");
        }
        const quint32 length = bigEndian32(data + at);
        const QByteArray type(data + at + 4, 4);
        if (length > 0x7fffffffu || quint64(size - at - 12) < length) {
            return QStringLiteral("it is cut short in its %1 chunk").arg(QString::fromLatin1(type));
        }
        const char* body = data + at + 8;
        const quint32 stored = bigEndian32(body + length);
        const uLong crc = crc32(crc32(0, reinterpret_cast<const Bytef*>(data + at + 4), 4),
                                reinterpret_cast<const Bytef*>(body), length);
        if (crc != stored) {
            return QStringLiteral("the checksum of its %1 chunk is wrong")
                .arg(QString::fromLatin1(type.toHex()));
        }
        at += 12 + length;
        if (first != (type == "IHDR")) {
            return QStringLiteral("its header chunk is not first or not alone");
        }
        if (first) {
            first = false;
            const int depth = length == 13 ? quint8(body[8]) : 0;
            const int colourType = length == 13 ? quint8(body[9]) : -1;
            const int bits = bitsPerPixel(colourType, depth);
            const quint32 width = length == 13 ? bigEndian32(body) : 0;
            const quint32 height = length == 13 ? bigEndian32(body + 4) : 0;
            if (bits == 0 || width == 0 || height == 0 || body[10] != 0 || body[11] != 0 ||
                quint8(body[12]) > 1) {
                return QStringLiteral("its header chunk is not valid");
            }
            needsPalette = colourType == 3;
            image = std::make_unique<ImageDataCheck>(rowRuns(width, height, bits, body[12] == 1));
        } else if (type == "PLTE") {
            palette = true;
        } else if (type == "IDAT") {
            if (idatsEnded) {
                return QStringLiteral("its image data is split by other chunks");
            }
            if (needsPalette && !palette) {
                return QStringLiteral("its palette is missing");
            }
            ++idats;
            image->add(body, length);
        } else if (type == "IEND") {
            break;
        }
        idatsEnded = idats > 0 && type != "IDAT";
    }
    if (idats == 0) {
        return QStringLiteral("it has no image data");
    }
    if (!image->whole()) {
        return QStringLiteral("its image data is damaged or does not fill the image");
    }
    return {};
}

QString jpegProblem(const QByteArray& bytes) {
    const qsizetype size = bytes.size();
    if (size < 4 || quint8(bytes[0]) != 0xff || quint8(bytes[1]) != 0xd8) {
        return QStringLiteral("it is not a JPEG image");
    }
    bool frame = false;
    bool scan = false;
    qsizetype at = 2;
    while (at + 2 <= size) {
        if (quint8(bytes[at]) != 0xff) {
            return QStringLiteral("its segments are damaged");
        }
        const int marker = quint8(bytes[at + 1]);
        if (marker == 0xff) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xd9) {
            return scan ? QString() : QStringLiteral("it ends before any image data");
        }
        if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8)) {
            at += 2; // markers without a length
            continue;
        }
        if (at + 4 > size) {
            break;
        }
        const int length = bigEndian16(bytes, at + 2);
        if (length < 2 || at + 2 + length > size) {
            break;
        }
        // SOF0..SOF15 but DHT (C4), JPG (C8) and DAC (CC).
        if (marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 &&
            marker != 0xcc) {
            frame = true;
        }
        at += 2 + length;
        if (marker == 0xda) {
            if (!frame) {
                return QStringLiteral("its image data comes before its frame header");
            }
            scan = true;
            // The entropy-coded data runs to the next marker that is not a
            // stuffed zero or a restart marker.
            while (at + 1 < size &&
                   !(quint8(bytes[at]) == 0xff && bytes[at + 1] != 0 &&
                     !(quint8(bytes[at + 1]) >= 0xd0 && quint8(bytes[at + 1]) <= 0xd7) &&
                     quint8(bytes[at + 1]) != 0xff)) {
                ++at;
            }
        }
    }
    return scan ? QStringLiteral("it is cut short before its end marker")
                : QStringLiteral("it is cut short before its image data");
}

} // namespace

QString imageDataProblem(const QByteArray& bytes, const QString& format) {
    if (format == QStringLiteral("png")) {
        return pngProblem(bytes);
    }
    if (format == QStringLiteral("jpeg")) {
        return jpegProblem(bytes);
    }
    return QStringLiteral("it is neither a JPEG nor a PNG image");
}
