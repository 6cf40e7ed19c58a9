#pragma once

#include "core/find/folded_rows.h"
#include "core/find/query.h"
#include "core/find/row_text.h"

#include <vector>

namespace Find {

// Whether a row meets every clause of the query. `own` is the row as its
// owner holds it; `folded` its folded copy, or null when the row folds unit
// by unit and is folded while it is scanned. The row's extra fields are read
// from `source` at `position`; without a source they are empty.
bool rowMatches(const Query& query, const RowText& own, const RowText* folded,
                const RowSource* source = nullptr, int position = 0);

// The positions of the rows that match, in ascending order: out of all the
// rows of the source, or only out of `candidates` (ascending positions, for
// instance the rows a wider query found). `folded` must be built over the
// same rows.
std::vector<int> matchingRows(const Query& query, const RowSource& rows, const FoldedRows& folded,
                              const std::vector<int>* candidates = nullptr);

} // namespace Find
