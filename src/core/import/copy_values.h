#pragma once

#include "core/shelf/shelf_store.h"

#include <QByteArray>
#include <QLocale>
#include <QStringList>
#include <QStringView>
#include <optional>

// A copy as a row of an imported file gives it: the texts of its columns
// read by the shelf's own rules, and kept packed beside the planned movies
// until the import stores them.

// The copy that a row's copy values (ColumnMap::copyValues) describe, or
// none when they are all empty. A format name as the shelf writes it (any
// case; "other" when only other values are given), a barcode with its check
// digit kept exactly as given, a number of discs, a date written as
// 2024-03-14 or in the locale's short form, a price with either decimal
// separator and its currency before or after it ("12,50 EUR", when no
// currency column says otherwise) and a status owned, ordered or wished
// (owned when empty). Fails (Failure) with the reason for a value the shelf
// refuses.
std::optional<ShelfCopy> copyFromValues(const QStringList& values,
                                        const QLocale& locale = QLocale());

// The copy's values as UTF-8, each followed by a NUL, and back; the movie
// and the copy's id are not kept.
QByteArray packCopyUtf8(const ShelfCopy& copy);
ShelfCopy unpackCopy(QStringView packed);
