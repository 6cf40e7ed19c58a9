#pragma once

#include <QtGlobal>

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

} // namespace CoverLimits
