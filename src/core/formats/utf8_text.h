#pragma once

#include <QByteArrayView>
#include <QString>

// UTF-8 bytes of one value as text. A U+FEFF at the start belongs to the
// value (only a file's own byte-order mark is not text), but Qt's plain
// decoding drops it; values that start with one take a decoder that keeps it.
QString fromUtf8KeepingMark(QByteArrayView bytes);
