#include "core/find/row_match.h"

#include "core/find/fold.h"

#include <algorithm>
#include <optional>

namespace Find {

namespace {

// Whether the folded needle occurs in the text, each unit of the text folded
// through the table on the way.
bool containsFolding(QStringView text, QStringView needle, const char16_t* table) {
    const qsizetype length = needle.size();
    const qsizetype last = text.size() - length;
    if (last < 0) {
        return false;
    }
    const char16_t* units = text.utf16();
    const char16_t* wanted = needle.utf16();
    const char16_t first = wanted[0];
    for (qsizetype i = 0; i <= last; ++i) {
        if (table[units[i]] != first) {
            continue;
        }
        qsizetype j = 1;
        while (j < length && table[units[i + j]] == wanted[j]) {
            ++j;
        }
        if (j == length) {
            return true;
        }
    }
    return false;
}

bool fieldContains(QStringView field, const QString& needle, bool inPlace, const char16_t* table) {
    return inPlace ? containsFolding(field, needle, table) : field.contains(needle);
}

// The year as a whole number, when the field holds nothing else (blanks aside).
std::optional<int> yearOf(QStringView field) {
    field = field.trimmed();
    if (field.isEmpty() || field.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (QChar c : field) {
        const int digit = c.digitValue();
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value;
}

bool termMatches(const Term& term, const RowText& own, const RowText& text, bool inPlace,
                 UnitMask units, const char16_t* table) {
    if (term.kind == Term::Kind::YearRange) {
        const std::optional<int> year = yearOf(own.field(int(Field::Year)));
        return year && *year >= term.low && *year <= term.high;
    }
    if (term.kind == Term::Kind::Text) {
        // The row's units rule out a needle it cannot hold, and answer for a
        // lone letter or digit looked for anywhere, without a scan.
        if ((term.units & ~units) != 0) {
            return false;
        }
        const char16_t only = term.needle.front().unicode();
        if (term.field == Field::Any && term.needle.size() == 1 && hasOwnBit(only)) {
            return (units & unitBit(only)) != 0;
        }
    }
    if (term.field != Field::Any) {
        return fieldContains(text.field(int(term.field)), term.needle, inPlace, table);
    }
    for (int f = 0; f < kFieldCount; ++f) {
        if (fieldContains(text.field(f), term.needle, inPlace, table)) {
            return true;
        }
    }
    return false;
}

// Whether a numeric field's text, read as a number, meets a Number term.
bool numberMatches(const Term& term, QStringView field) {
    bool ok = false;
    const double value = field.trimmed().toDouble(&ok);
    if (!ok) {
        return false;
    }
    switch (term.compare) {
    case Term::Compare::Less:
        return value < term.number;
    case Term::Compare::LessOrEqual:
        return value <= term.number;
    case Term::Compare::Equal:
        return value == term.number;
    case Term::Compare::GreaterOrEqual:
        return value >= term.number;
    case Term::Compare::Greater:
        return value > term.number;
    }
    return false;
}

// Whether the word stands whole among the words after kFindOnly.
bool hasStateWord(QStringView field, QStringView word) {
    const qsizetype mark = field.indexOf(kFindOnly);
    if (mark < 0) {
        return false;
    }
    const QStringView words = field.sliced(mark + 1);
    for (qsizetype at = words.indexOf(word); at >= 0; at = words.indexOf(word, at + 1)) {
        const qsizetype end = at + word.size();
        if ((at == 0 || words.at(at - 1).isSpace()) &&
            (end == words.size() || words.at(end).isSpace())) {
            return true;
        }
    }
    return false;
}

// A term on an extra field, whose text its source has folded already. Kept
// out of termMatches, so that the scan of the eight fields stays as lean.
Q_NEVER_INLINE bool extraMatches(const Term& term, const RowSource* source, int position) {
    if (source == nullptr) {
        return false;
    }
    const QStringView field = source->extraField(position, extraIndex(term.field));
    switch (term.kind) {
    case Term::Kind::Number:
        return numberMatches(term, field);
    case Term::Kind::Word:
        return hasStateWord(field, term.needle);
    default:
        return field.contains(term.needle);
    }
}

// Whether the row meets every clause; `folded` is its folded copy, or null
// when it folds unit by unit and is folded while it is scanned.
bool meetsQuery(const Query& query, const RowText& own, const RowText* folded, UnitMask units,
                const RowSource& source, int position) {
    const char16_t* table = unitFoldTable();
    const RowText& text = folded ? *folded : own;
    return std::all_of(query.clauses().begin(), query.clauses().end(), [&](const Clause& clause) {
        return std::any_of(clause.anyOf.begin(), clause.anyOf.end(), [&](const Term& term) {
            const bool meets = isExtra(term.field)
                                   ? extraMatches(term, &source, position)
                                   : termMatches(term, own, text, folded == nullptr, units, table);
            return meets != term.excluded;
        });
    });
}

// The same for the row as `folded` holds it at `at`.
bool meetsQuery(const Query& query, const RowText& own, const FoldedRows& folded, int at,
                const RowSource& source, int position) {
    if (folded.hasCopy(at)) {
        const RowText copy = folded.copy(at);
        return meetsQuery(query, own, &copy, folded.units(at), source, position);
    }
    return meetsQuery(query, own, nullptr, folded.units(at), source, position);
}

} // namespace

bool rowMatches(const Query& query, const RowSource& rows, const FoldedRows& folded, int position) {
    const RowText own = rows.row(position);
    if (position >= folded.rowCount()) { // not folded yet: folded here on its own
        FoldedRows alone;
        alone.append(own);
        return meetsQuery(query, own, alone, 0, rows, position);
    }
    return meetsQuery(query, own, folded, position, rows, position);
}

std::vector<int> matchingRows(const Query& query, const RowSource& rows, const FoldedRows& folded,
                              const std::vector<int>* candidates) {
    std::vector<int> found;
    auto consider = [&](int position) {
        if (rowMatches(query, rows, folded, position)) {
            found.push_back(position);
        }
    };
    if (candidates) {
        for (int position : *candidates) {
            consider(position);
        }
    } else {
        const int count = rows.rowCount();
        for (int position = 0; position < count; ++position) {
            consider(position);
        }
    }
    return found;
}

} // namespace Find
