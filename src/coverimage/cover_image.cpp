#include "coverimage/cover_image.h"

#include "core/covers/cover_limits.h"
#include "core/covers/image_header.h"
#include "core/report/failure.h"
#include "core/system/regular_file.h"
#include "coverimage/image_scaling.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

namespace {

constexpr int kJpegQuality = 90;

Cover encode(const QImage& decoded) {
    const QSize box(CoverLimits::kLongerSide, CoverLimits::kLongerSide);
    const QSize size = decoded.size();
    QImage image = size.width() > box.width() || size.height() > box.height()
                       ? ImageScaling::scaledToFit(decoded, box)
                       : ImageScaling::inColour(decoded);
    const bool transparent = image.hasAlphaChannel();
    Cover cover;
    cover.format = transparent ? QStringLiteral("png") : QStringLiteral("jpeg");
    QBuffer buffer(&cover.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, cover.format.toLatin1());
    if (!transparent) {
        writer.setQuality(kJpegQuality);
    }
    if (!writer.write(image)) {
        throw Failure(
            QStringLiteral("The cover could not be converted: %1").arg(writer.errorString()));
    }
    cover.width = image.width();
    cover.height = image.height();
    return cover;
}

} // namespace

namespace CoverImage {

Cover fromBytes(const QByteArray& bytes, const QString& name) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid() || size.isEmpty()) {
        throw Failure(QStringLiteral("%1 is not an image that can be read.").arg(name));
    }
    // Refuse a decompression bomb from its header, before any pixel is decoded.
    const qint64 decodedBytes = qint64(size.width()) * size.height() * 4;
    if (decodedBytes > CoverLimits::kMaxDecodedBytes) {
        constexpr qint64 kMegabyte = qint64{1024} * 1024;
        throw Failure(QStringLiteral("%1 is %2 x %3 pixels, too large to be read as a cover. An "
                                     "image may need at most %4 MB once decoded (about %5 "
                                     "million pixels).")
                          .arg(name)
                          .arg(size.width())
                          .arg(size.height())
                          .arg(CoverLimits::kMaxDecodedBytes / kMegabyte)
                          .arg(CoverLimits::kMaxDecodedBytes / 4 / 1000000));
    }
    const std::optional<ImageHeader> header = readImageHeader(bytes);
    if (header && !imageLooksComplete(bytes, header->format)) {
        throw Failure(
            QStringLiteral("%1 is not a whole image: the image file is cut short.").arg(name));
    }
    reader.setAllocationLimit(int(CoverLimits::kMaxDecodedBytes / (qint64{1024} * 1024)));
    const QImage image = reader.read();
    if (image.isNull()) {
        throw Failure(QStringLiteral("%1 could not be read: %2").arg(name, reader.errorString()));
    }
    // A JPEG or PNG small enough is kept as it came, unless it needs turning.
    const bool turned = reader.transformation() != QImageIOHandler::TransformationNone;
    if (header && !turned && image.size() == QSize(header->width, header->height) &&
        CoverLimits::keptAsGiven(header->format, header->width, header->height, bytes.size())) {
        return Cover{bytes, header->width, header->height, header->format};
    }
    return encode(image);
}

Cover fromFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return fromBytes(readRegularFile(path, name, QStringLiteral("%1 could not be opened: %2"),
                                     CoverLimits::kMaxFileBytes,
                                     QStringLiteral("%1 is too large for a cover.")),
                     name);
}

Cover fromImage(const QImage& image) {
    if (image.isNull()) {
        throw Failure(QStringLiteral("The clipboard holds no image."));
    }
    return encode(image);
}

QString fileDialogFilter() {
    QStringList patterns;
    for (const QByteArray& suffix : QImageReader::supportedImageFormats()) {
        patterns << QStringLiteral("*.") + QString::fromLatin1(suffix);
    }
    return QStringLiteral("Images (%1)").arg(patterns.join(QLatin1Char(' ')));
}

} // namespace CoverImage
