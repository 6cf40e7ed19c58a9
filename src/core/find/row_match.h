#pragma once

#include "core/find/folded_rows.h"
#include "core/find/query.h"
#include "core/find/row_text.h"

#include <vector>

namespace Find {

// Whether the row at `position` of `rows` meets every clause of the query,
// its folded text and the units it holds read from `folded`; a row that
// `folded` does not hold yet is folded here.
bool rowMatches(const Query& query, const RowSource& rows, const FoldedRows& folded, int position);

// The positions of the rows that match, in ascending order: out of all the
// rows of the source, or only out of `candidates` (ascending positions, for
// instance the rows a wider query found). `folded` must be built over the
// same rows.
std::vector<int> matchingRows(const Query& query, const RowSource& rows, const FoldedRows& folded,
                              const std::vector<int>* candidates = nullptr);

} // namespace Find
