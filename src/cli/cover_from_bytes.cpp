#include "cli/cover_from_bytes.h"

#include "core/covers/cover_limits.h"
#include "core/covers/image_check.h"
#include "core/covers/image_header.h"
#include "core/report/failure.h"

#ifdef REELKEEPER_CLI_SCALES_COVERS
#include "coverimage/cover_image.h"
#endif

#include <algorithm>
#include <utility>

Cover coverFromBytes(QByteArray bytes, const QString& name) {
    Cover cover;
    cover.bytes = std::move(bytes);
    const std::optional<ImageHeader> header = readImageHeader(cover.bytes);
    if (!header) {
        throw Failure(QStringLiteral("%1 is not a JPEG or PNG image. The command line stores "
                                     "JPEG and PNG images as they are; the window converts "
                                     "other images.")
                          .arg(name));
    }
    if (!imageLooksComplete(cover.bytes, header->format)) {
        throw Failure(
            QStringLiteral("%1 is not a whole image: the image file is cut short.").arg(name));
    }
#ifndef REELKEEPER_CLI_SCALES_COVERS
    if (std::max(header->width, header->height) > CoverLimits::kLongerSide) {
        throw Failure(QStringLiteral("%1 is %2 x %3 pixels; a cover is at most %4 pixels on the "
                                     "longer side. The window scales larger images down.")
                          .arg(name)
                          .arg(header->width)
                          .arg(header->height)
                          .arg(CoverLimits::kLongerSide));
    }
#endif
    // The image is stored, or decoded, only once its data is seen to be whole.
    if (const QString problem = imageDataProblem(cover.bytes, header->format); !problem.isEmpty()) {
        throw Failure(QStringLiteral("%1 is not a whole image: %2.").arg(name, problem));
    }
#ifdef REELKEEPER_CLI_SCALES_COVERS
    if (!CoverLimits::keptAsGiven(header->format, header->width, header->height,
                                  cover.bytes.size())) {
        return CoverImage::fromBytes(cover.bytes, name); // scaled and encoded as the window does
    }
#endif
    cover.width = header->width;
    cover.height = header->height;
    cover.format = header->format;
    return cover;
}
