#pragma once

#include <QString>
#include <QtGlobal>

#include <algorithm>

// The bounds every stored cover keeps.
namespace CoverLimits {

// A cover is at most this many pixels on its longer side; larger images are
// scaled down before they are stored.
inline constexpr int kLongerSide = 1200;
// An image file larger than this is not read at all.
inline constexpr qint64 kMaxFileBytes = qint64{64} * 1024 * 1024;
// The most memory an image may need once decoded (4 bytes a pixel); a
// larger one is refused before it is decoded.
inline constexpr qint64 kMaxDecodedBytes = 256LL * 1024 * 1024;
// A PNG larger than this is re-encoded even when its size in pixels fits: a
// photo kept as PNG takes several times the room of the same as JPEG.
inline constexpr qint64 kMaxKeptPngBytes = qint64{1024} * 1024;

// Whether an encoded JPEG or PNG image of that size in pixels and bytes is
// stored as it is; otherwise it is decoded, scaled and encoded again.
inline bool keptAsGiven(const QString& format, int width, int height, qint64 bytes) {
    return std::max(width, height) <= kLongerSide &&
           !(format == QStringLiteral("png") && bytes > kMaxKeptPngBytes);
}

} // namespace CoverLimits
