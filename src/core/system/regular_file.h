#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

// Files a person names for the program to read (a movie list, a cover, a
// snapshot) are read only when they are regular files. A FIFO would block
// an ordinary open or read for ever, and a device such as /dev/zero never
// ends; each is refused with a Failure that says what the file is, without
// waiting and without reading from it. `shown` is how a message names the
// file.

// Fails when the path names something other than a regular file; a path
// that names nothing passes (whoever opens it reports that).
void requireRegularFile(const QString& path, const QString& shown);

// Opens a regular file for reading. An open that fails is reported with
// `cannotOpen` (%1 `shown`, %2 the system's reason).
std::unique_ptr<QFile> openRegularFile(const QString& path, const QString& shown,
                                       const QString& cannotOpen);

// The whole of a regular file, opened as above, reading at most maxBytes:
// a longer file fails with `tooLarge` (%1 `shown`).
QByteArray readRegularFile(const QString& path, const QString& shown, const QString& cannotOpen,
                           qint64 maxBytes, const QString& tooLarge);
