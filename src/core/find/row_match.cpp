#include "core/find/row_match.h"

#include "core/find/fold.h"

#include <algorithm>
#include <future>
#include <optional>
#include <system_error>
#include <thread>

namespace Find {

namespace {

// A find shares its rows among at most this many threads, each with at
// least kRowsPerThread rows (fewer are scanned faster than a thread starts).
constexpr std::size_t kMostThreads = 4;
constexpr std::size_t kRowsPerThread = 20000;

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
                 const char16_t* table) {
    if (term.kind == Term::Kind::YearRange) {
        const std::optional<int> year = yearOf(own.field(int(Field::Year)));
        return year && *year >= term.low && *year <= term.high;
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

} // namespace

bool rowMatches(const Query& query, const RowText& own, const RowText* folded) {
    const char16_t* table = unitFoldTable();
    const RowText& text = folded ? *folded : own;
    return std::all_of(query.clauses().begin(), query.clauses().end(), [&](const Clause& clause) {
        return std::any_of(clause.anyOf.begin(), clause.anyOf.end(), [&](const Term& term) {
            return termMatches(term, own, text, folded == nullptr, table) != term.excluded;
        });
    });
}

std::vector<int> matchingRows(const Query& query, const RowSource& rows, const FoldedRows& folded,
                              const std::vector<int>* candidates) {
    const auto consider = [&](int position) {
        const RowText own = rows.row(position);
        if (folded.hasCopy(position)) {
            const RowText copy = folded.copy(position);
            return rowMatches(query, own, &copy);
        }
        return rowMatches(query, own, nullptr);
    };
    // The positions to look at are the candidates, or every row; `at(i)` is the i-th of them.
    const std::size_t count = candidates ? candidates->size() : std::size_t(rows.rowCount());
    const auto at = [&](std::size_t i) { return candidates ? (*candidates)[i] : int(i); };
    const auto scan = [&](std::size_t from, std::size_t to) {
        std::vector<int> found;
        for (std::size_t i = from; i < to; ++i) {
            if (consider(at(i))) {
                found.push_back(at(i));
            }
        }
        return found;
    };

    // A large list is shared out among the processors, in ranges kept in
    // order: a key that matches most of 100 000 movies then answers within
    // a frame. Reading rows and the query from several threads is safe, as
    // neither changes while a find runs.
    const std::size_t parts = std::min<std::size_t>(
        {std::max(1U, std::thread::hardware_concurrency()), kMostThreads, count / kRowsPerThread});
    if (parts < 2) {
        return scan(0, count);
    }
    std::vector<std::future<std::vector<int>>> others;
    const auto bound = [&](std::size_t part) { return count * part / parts; };
    try {
        for (std::size_t part = 1; part < parts; ++part) {
            others.push_back(std::async(std::launch::async, scan, bound(part), bound(part + 1)));
        }
    } catch (const std::system_error&) {
        // No more threads to be had: the parts none took are scanned here.
    }
    std::vector<int> found = scan(0, bound(1));
    for (std::future<std::vector<int>>& other : others) {
        const std::vector<int> more = other.get();
        found.insert(found.end(), more.begin(), more.end());
    }
    const std::vector<int> rest = scan(bound(others.size() + 1), count);
    found.insert(found.end(), rest.begin(), rest.end());
    return found;
}

} // namespace Find
