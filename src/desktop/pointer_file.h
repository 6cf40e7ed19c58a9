#pragma once

#include <QCursor>
#include <QString>

// Loads a pointer picture (a .cur file) as a cursor; fails with a
// description when the file cannot be read as a picture.
QCursor loadPointerFile(const QString& path);
