#pragma once

#include "core/covers/cover_store.h"

#include <QByteArray>
#include <QString>

// A JPEG or PNG image as the command line stores it as a cover: as it is
// when it fits a cover, else scaled down as the window does (refused in the
// build without images). Fails for anything that is not a whole image,
// naming it by `name` (its file, or "TMDb's poster").
Cover coverFromBytes(QByteArray bytes, const QString& name);
