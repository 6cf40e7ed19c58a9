#include "coverimage/image_scaling.h"

#include "core/covers/cover_limits.h"

#include <QBuffer>
#include <QImageReader>

namespace ImageScaling {

QImage inColour(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return image;
    default:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                             : QImage::Format_RGB32);
    }
}

QImage scaledToFit(const QImage& image, QSize box) {
    if (image.isNull()) {
        return {};
    }
    QImage colour = inColour(image);
    const QSize target = colour.size().scaled(box, Qt::KeepAspectRatio);
    if (target == colour.size()) {
        return colour;
    }
    return colour.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage decodeToFit(const QByteArray& bytes, QSize box) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(int(CoverLimits::kMaxDecodedBytes / (qint64{1024} * 1024)));
    const QSize full = reader.size();
    // The JPEG decoder scales while it decodes, which is much faster than
    // decoding the whole image; it always hands over colour or grey pixels.
    if (reader.format() == "jpeg" && full.isValid() && !full.isEmpty()) {
        reader.setScaledSize(full.scaled(box, Qt::KeepAspectRatio));
    }
    return scaledToFit(reader.read(), box);
}

} // namespace ImageScaling
