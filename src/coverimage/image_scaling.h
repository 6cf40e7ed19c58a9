#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Scaling cover images without losing their colours. Qt scales an image in
// its own pixel format: a palette image keeps its palette and is scaled
// without smoothing, and a 1-bit image scaled down comes back black and
// white whatever its two colours were (also when the PNG reader is asked
// for a scaled size). So every image is made 32-bit colour before it is
// scaled.
namespace ImageScaling {

// The image as 32-bit colour (with alpha when it has transparency); an image
// already in such a format is returned as it is.
QImage inColour(const QImage& image);
// The image in colour, scaled smoothly to fit `box` with its proportions kept.
QImage scaledToFit(const QImage& image, QSize box);
// An encoded image decoded in colour to fit `box`; a null image when it
// cannot be read or would need more than CoverLimits::kMaxDecodedBytes.
QImage decodeToFit(const QByteArray& bytes, QSize box);

} // namespace ImageScaling
