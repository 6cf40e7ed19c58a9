#pragma once

#include <QByteArray>
#include <QString>

// Checks, without an image decoder, that a JPEG or PNG file holds a whole
// image a decoder can read, not just a valid header and end marker.
//
// A PNG: every chunk whole with its checksum right, IHDR first, at least one
// IDAT, IEND last (bytes after it are ignored, as decoders do), a palette
// before the data of a palette image, and the image data inflating to
// exactly the rows IHDR announces, each with a known filter.
// A JPEG: the start of image, a frame header, at least one scan after it,
// and the end of image after the scan data, every segment whole.
//
// Returns "" for a sound image, otherwise what is wrong in a few words
// ("the image data is damaged", ...). `format` is "png" or "jpeg".
QString imageDataProblem(const QByteArray& bytes, const QString& format);
