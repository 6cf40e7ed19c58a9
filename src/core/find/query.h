#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace Find {

// The fields a query can name, in the list's column order after "ID".
enum class Field : int { Any = -1, Title, Year, Genre, Cast, Director, Runtime, Rating, Studio };
inline constexpr int kFieldCount = 8;

// One condition of a query; a row must meet every condition.
struct Term {
    enum class Kind { Text, YearRange };

    Kind kind = Kind::Text;
    Field field = Field::Any;
    QString needle; // Text: folded, never empty; found anywhere in the field (any field for Any)
    int low = 0;    // YearRange: the year is a number from low to high, both included
    int high = 0;

    bool operator==(const Term&) const = default;
    // Whether every row that meets this term also meets `other`.
    bool implies(const Term& other) const;
};

// What the user typed, read as conditions: words and "quoted phrases" found
// anywhere in a row, `field:value` (or `field:"a phrase"`) in one field,
// `year:1950..1959` (either end may be left open) a range of years that are
// numbers. A `field:` the query does not know is a plain word; an open quote
// runs to the end; nothing is ever an error.
class Query {
public:
    static Query parse(QStringView text);

    const std::vector<Term>& terms() const { return m_terms; }
    // A query without terms finds every row.
    bool isEmpty() const { return m_terms.empty(); }
    // Whether every row this query finds is also found by `wider`, so that
    // only the rows `wider` found need looking at.
    bool narrows(const Query& wider) const;

    bool operator==(const Query&) const = default;

private:
    void add(Field field, QStringView value, bool quoted);
    void simplify();

    std::vector<Term> m_terms;
};

} // namespace Find
