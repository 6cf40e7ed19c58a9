#pragma once

#include "core/find/unit_mask.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace Find {

// The fields a query can name, in the list's column order after "ID".
enum class Field : int { Any = -1, Title, Year, Genre, Cast, Director, Runtime, Rating, Studio };
inline constexpr int kFieldCount = 8;
// Fields beyond the eight, named by the list's owner when it parses a query
// (the columns other features add): extra field k is Field(kFieldCount + k).
// Words without a field name are not looked for in them.
inline constexpr Field extraField(int extra) {
    return Field(kFieldCount + extra);
}
inline constexpr int extraIndex(Field field) {
    return int(field) - kFieldCount;
}
inline constexpr bool isExtra(Field field) {
    return int(field) >= kFieldCount;
}
// In an extra field's text, what follows this character is read by the find
// text only: words naming a state of the row (`loan:out`), never shown.
inline constexpr QChar kFindOnly{u'\x1f'};

// One condition on a row: a text found in a field, a year in a range, a
// number compared in a numeric extra field, or a state word among an extra
// field's find-only words; an excluded term holds for the rows that do not
// meet the condition.
struct Term {
    enum class Kind { Text, YearRange, Number, Word };
    // How a Number term compares the field's number with its own.
    enum class Compare { Less, LessOrEqual, Equal, GreaterOrEqual, Greater };

    Kind kind = Kind::Text;
    Field field = Field::Any;
    QString needle; // Text: folded, never empty; found anywhere in the field (any field for
                    // Any). Word: one of the field's state words, whole
    int low = 0;    // YearRange: the year is a number from low to high, both included
    int high = 0;
    Compare compare = Compare::Equal; // Number: field `compare` number; a field that
    double number = 0.0;              // is no number never meets it
    bool excluded = false;
    // Text: the needle's units (unit_mask.h), which follow from the needle.
    UnitMask units = 0;

    bool operator==(const Term&) const = default;
    // Whether every row that meets this term also meets `other`.
    bool implies(const Term& other) const;
};

// Terms joined by OR: a row meets the clause when it meets any of them.
struct Clause {
    std::vector<Term> anyOf; // never empty

    bool operator==(const Clause&) const = default;
    bool implies(const Clause& other) const;
};

// What the user typed, read as conditions: words and "quoted phrases" found
// anywhere in a row, `field:value` (or `field:"a phrase"`) in one field,
// `year:1950..1959` (either end may be left open) a range of years that are
// numbers. `-` before any of them leaves out the rows that meet it; `a OR b`
// (OR in capitals) takes the rows that meet either, binding tighter than the
// blank between conditions: `x a OR b` is x and (a or b). An OR with nothing
// on one side is left aside, as while it is being typed. A field name the
// query does not know (`foo:bar`) and a range whose ends are reversed are
// errors: the query then says why and has no conditions. `extraFields` are
// the names of the extra fields, in their order; matched in any case. An
// extra field marked in `numericExtras` (by the same order) holds a number:
// `copies:2`, `copies:>1`, `copies:<=3` (also `<`, `>=`, `=`) compare it.
// `extraWords` are, by the same order, the state words an extra field
// carries after kFindOnly: such a word typed whole (`loan:out`) is met only
// by the rows carrying it, not by a shown text that happens to hold it
// ("Stout").
class Query {
public:
    static Query parse(QStringView text, const QStringList& extraFields = {},
                       const QList<bool>& numericExtras = {},
                       const QList<QStringList>& extraWords = {});

    // Every clause must hold.
    const std::vector<Clause>& clauses() const { return m_clauses; }
    // A query without clauses finds every row.
    bool isEmpty() const { return m_clauses.empty(); }
    // Why the text is no query ("unknown field foo"); empty when it is one.
    const QString& error() const { return m_error; }
    // Whether every row this query finds is also found by `wider`, so that
    // only the rows `wider` found need looking at.
    bool narrows(const Query& wider) const;

    bool operator==(const Query&) const = default;

private:
    void add(Term term, bool joined);
    void simplify();

    std::vector<Clause> m_clauses;
    QString m_error;
};

} // namespace Find
