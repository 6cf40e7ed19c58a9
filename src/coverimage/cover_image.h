#pragma once

#include "core/covers/cover_store.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Turns what a person offers as a cover into what is stored: a JPEG or PNG
// at most CoverLimits::kLongerSide pixels on its longer side (and a PNG of
// at most CoverLimits::kMaxKeptPngBytes) is kept as given; anything larger
// or in another format is decoded, scaled down smoothly and stored as JPEG
// (PNG when it has transparency). A file that is no image, an image cut short, or one that would
// need more than CoverLimits::kMaxDecodedBytes once decoded is refused with a Failure whose
// description says why; it is never decoded.
namespace CoverImage {

Cover fromBytes(const QByteArray& bytes, const QString& name);
Cover fromFile(const QString& path);
// An image already decoded (a pasted one).
Cover fromImage(const QImage& image);

// The name filter of a file dialog: every format the installed image
// plugins read.
QString fileDialogFilter();

} // namespace CoverImage
