// Finding with any text over any rows: no text is an error, the rows scanned
// in place through the fold table match exactly as their fully folded text
// would, and a query that narrows another finds the same among the rows the
// other found as among all rows.
#include "core/find/fold.h"
#include "core/find/row_match.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Rows of eight fields, kept one text a row.
class Rows : public Find::RowSource {
public:
    void add(const QStringList& fields) {
        Row row;
        for (int f = 0; f < Find::kFieldCount; ++f) {
            row.bounds[std::size_t(f)] = quint32(row.text.size());
            row.text += fields.value(f);
        }
        row.bounds[Find::kFieldCount] = quint32(row.text.size());
        m_rows.push_back(std::move(row));
    }
    int rowCount() const override { return int(m_rows.size()); }
    Find::RowText row(int position) const override {
        const Row& r = m_rows[std::size_t(position)];
        return {QStringView(r.text).utf16(), r.bounds.data()};
    }

private:
    struct Row {
        QString text;
        std::array<quint32, Find::kFieldCount + 1> bounds{};
    };
    std::vector<Row> m_rows;
};

// The plain working-out: every field folded whole, then searched. A row
// matches every clause; a clause, when any of its terms holds; a term left
// out holds when the word is nowhere it looks.
bool plainlyHolds(const Find::Term& term, const Find::RowText& row) {
    bool found = false;
    for (int f = 0; f < Find::kFieldCount && !found; ++f) {
        const bool inField = term.field == Find::Field::Any || int(term.field) == f;
        found = inField && Find::fold(row.field(f)).contains(term.needle);
    }
    return found != term.excluded;
}

bool plainlyMatches(const Find::Query& query, const Find::RowText& row) {
    return std::all_of(query.clauses().begin(), query.clauses().end(), [&](const Find::Clause& c) {
        return std::any_of(c.anyOf.begin(), c.anyOf.end(),
                           [&](const Find::Term& term) { return plainlyHolds(term, row); });
    });
}

// Year ranges are read from the row's own text, which the plain working-out
// does not copy.
bool hasYearRange(const Find::Query& query) {
    return std::any_of(query.clauses().begin(), query.clauses().end(), [](const Find::Clause& c) {
        return std::any_of(c.anyOf.begin(), c.anyOf.end(), [](const Find::Term& t) {
            return t.kind == Find::Term::Kind::YearRange;
        });
    });
}

void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // UTF-16 units as they come (so lone surrogates too); records separated
    // by U+001E: a query, a second query, then rows of fields separated by U+001F.
    const QString input =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
    const QStringList records = input.split(QChar(0x1e));
    const Find::Query first = Find::Query::parse(records.value(0));
    const Find::Query second = Find::Query::parse(records.value(1));
    Rows rows;
    for (qsizetype r = 2; r < records.size(); ++r) {
        rows.add(records[r].split(QChar(0x1f)));
    }
    Find::FoldedRows folded;
    folded.build(rows);

    const bool hasRanges = hasYearRange(first);
    const std::vector<int> found = Find::matchingRows(first, rows, folded);
    for (int position = 0; position < rows.rowCount(); ++position) {
        const bool matched = std::binary_search(found.begin(), found.end(), position);
        if (!hasRanges && matched != plainlyMatches(first, rows.row(position))) {
            fail("a row matches otherwise than its folded text");
        }
    }
    if (second.narrows(first) && Find::matchingRows(second, rows, folded, &found) !=
                                     Find::matchingRows(second, rows, folded)) {
        fail("narrowing finds otherwise than a whole pass");
    }
    return 0;
}
