#include "core/find/query.h"

#include "core/find/fold.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <tuple>

namespace Find {

namespace {

constexpr std::array<const char*, kFieldCount> kFieldNames = {
    "title", "year", "genre", "cast", "director", "runtime", "rating", "studio"};

// Pruning implied terms and checking that one query narrows another compare
// every term with every other; beyond these counts a long pasted text is
// simply taken as it stands.
constexpr std::size_t kMaxTermsToPrune = 64;
constexpr std::size_t kMaxTermPairs = 4096;
// Longer digit runs are no year.
constexpr qsizetype kMaxYearDigits = 9;

// The field named at the start of `text` ("title:" in any case) and the
// length of the name with its colon; {Any, 0} when no known field is named.
std::pair<Field, qsizetype> fieldPrefix(QStringView text) {
    for (int f = 0; f < kFieldCount; ++f) {
        const QLatin1StringView name(kFieldNames[std::size_t(f)]);
        if (text.size() > name.size() && text.at(name.size()) == QLatin1Char(':') &&
            text.first(name.size()).compare(name, Qt::CaseInsensitive) == 0) {
            return {Field(f), name.size() + 1};
        }
    }
    return {Field::Any, 0};
}

// A whole number written in digits only, or nothing.
std::optional<int> yearNumber(QStringView text) {
    if (text.isEmpty() || text.size() > kMaxYearDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (QChar c : text) {
        const int digit = c.digitValue();
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value;
}

// "1950..1959", "1950.." or "..1959" as inclusive bounds.
std::optional<std::pair<int, int>> yearRange(QStringView text) {
    const qsizetype dots = text.indexOf(QLatin1StringView(".."));
    if (dots < 0) {
        return std::nullopt;
    }
    const QStringView from = text.first(dots);
    const QStringView to = text.sliced(dots + 2);
    if (from.isEmpty() && to.isEmpty()) {
        return std::nullopt;
    }
    const std::optional<int> low = from.isEmpty() ? std::optional<int>(0) : yearNumber(from);
    const std::optional<int> high =
        to.isEmpty() ? std::optional<int>(std::numeric_limits<int>::max()) : yearNumber(to);
    if (!low || !high) {
        return std::nullopt;
    }
    return std::pair{*low, *high};
}

} // namespace

bool Term::implies(const Term& other) const {
    if (kind != other.kind) {
        return false;
    }
    if (kind == Kind::YearRange) {
        return low >= other.low && high <= other.high;
    }
    return (other.field == Field::Any || other.field == field) && needle.contains(other.needle);
}

Query Query::parse(QStringView text) {
    Query query;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (text.at(i).isSpace()) {
            ++i;
            continue;
        }
        const auto [field, nameLength] = fieldPrefix(text.sliced(i));
        i += nameLength;
        if (i < n && text.at(i) == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? n : close;
            query.add(field, text.sliced(i + 1, end - i - 1), true);
            i = close < 0 ? n : close + 1;
        } else {
            qsizetype end = i;
            while (end < n && !text.at(end).isSpace()) {
                ++end;
            }
            query.add(field, text.sliced(i, end - i), false);
            i = end;
        }
    }
    query.simplify();
    return query;
}

void Query::add(Field field, QStringView value, bool quoted) {
    Term term;
    term.field = field;
    if (field == Field::Year && !quoted) {
        if (const auto range = yearRange(value)) {
            term.kind = Term::Kind::YearRange;
            term.low = range->first;
            term.high = range->second;
            m_terms.push_back(std::move(term));
            return;
        }
    }
    term.needle = fold(value);
    if (!term.needle.isEmpty()) { // "title:" alone, or only marks: no condition yet
        m_terms.push_back(std::move(term));
    }
}

void Query::simplify() {
    // Year ranges first (cheapest), then the longest needles (most telling),
    // so that a row that fails is dropped early.
    // The order is complete, so equal terms stand together and go.
    std::sort(m_terms.begin(), m_terms.end(), [](const Term& a, const Term& b) {
        if (a.kind != b.kind) {
            return a.kind == Term::Kind::YearRange;
        }
        if (a.needle.size() != b.needle.size()) {
            return a.needle.size() > b.needle.size();
        }
        return std::tie(a.needle, a.field, a.low, a.high) <
               std::tie(b.needle, b.field, b.low, b.high);
    });
    m_terms.erase(std::unique(m_terms.begin(), m_terms.end()), m_terms.end());
    if (m_terms.size() > kMaxTermsToPrune) {
        return;
    }
    // A term that another one implies adds nothing ("ame" beside "amelie").
    std::vector<Term> kept;
    for (std::size_t t = 0; t < m_terms.size(); ++t) {
        bool implied = false;
        for (std::size_t u = 0; u < m_terms.size() && !implied; ++u) {
            implied = u != t && m_terms[u].implies(m_terms[t]) &&
                      !(m_terms[t].implies(m_terms[u]) && t < u);
        }
        if (!implied) {
            kept.push_back(m_terms[t]);
        }
    }
    m_terms = std::move(kept);
}

bool Query::narrows(const Query& wider) const {
    if (m_terms.size() * wider.m_terms.size() > kMaxTermPairs) {
        return false;
    }
    return std::all_of(wider.m_terms.begin(), wider.m_terms.end(), [this](const Term& w) {
        return std::any_of(m_terms.begin(), m_terms.end(),
                           [&w](const Term& t) { return t.implies(w); });
    });
}

} // namespace Find
