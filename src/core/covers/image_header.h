#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What the header of an encoded image says, read without decoding it.
struct ImageHeader {
    QString format; // "jpeg" or "png"
    int width = 0;
    int height = 0;
};

// The format and pixel size of a JPEG or PNG image, recognised by its
// signature; none for anything else or a header that is cut short.
std::optional<ImageHeader> readImageHeader(const QByteArray& bytes);

// Whether a JPEG or PNG image ends as a whole file does (its end marker or
// end chunk near the end), so one cut short in a copy or download is told
// apart before it is stored.
bool imageLooksComplete(const QByteArray& bytes, const QString& format);
