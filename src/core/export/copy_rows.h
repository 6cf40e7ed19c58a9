#pragma once

#include "core/loans/loan_store.h"
#include "core/shelf/shelf_store.h"

#include <QHash>
#include <QStringList>
#include <vector>

class Catalogue;

// The columns an export with one row per copy writes after the movie's:
// first those `list --copies` writes, then the rest of the copy, each named
// as the import reads it back, and last who has the copy out on an open
// loan and when it is due (for reading only: an import ignores those two).
namespace CopyRows {

// The columns' names in a CSV header, and their captions on a workbook's.
const QStringList& csvHeader();
const QStringList& captions();
// A copy's cells in the columns' order, with its open loan when it has one;
// empty cells for a movie without a copy (a copy with no id).
QStringList cells(const ShelfCopy& copy, const Loan* openLoan = nullptr);

// Every copy of the catalogue by its movie's id, in the order added.
QHash<qint64, std::vector<ShelfCopy>> byMovie(Catalogue& catalogue);
// Every open loan by its copy's id.
QHash<qint64, Loan> openLoans(Catalogue& catalogue);

} // namespace CopyRows
