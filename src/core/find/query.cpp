#include "core/find/query.h"

#include "core/find/fold.h"
#include "core/find/named_fields.h"

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
template <typename Name> bool namesField(QStringView text, Name name) {
    return text.size() > name.size() && text.at(name.size()) == QLatin1Char(':') &&
           text.first(name.size()).compare(name, Qt::CaseInsensitive) == 0;
}

std::pair<Field, qsizetype> fieldPrefix(QStringView text, const QStringList& extraFields) {
    for (int f = 0; f < kFieldCount; ++f) {
        const QLatin1StringView name(kFieldNames[std::size_t(f)]);
        if (namesField(text, name)) {
            return {Field(f), name.size() + 1};
        }
    }
    for (qsizetype e = 0; e < extraFields.size(); ++e) {
        const QString& name = extraFields.at(e);
        if (!name.isEmpty() && namesField(text, QStringView(name))) {
            return {extraField(int(e)), name.size() + 1};
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

// "2", ">1", "<=3": a comparison with a number, as a numeric field's value.
// Empty when the text is no such thing; an operator without its number yet
// gives a comparison without a number.
struct Comparison {
    Term::Compare compare = Term::Compare::Equal;
    std::optional<double> number;
};
std::optional<Comparison> comparison(QStringView text) {
    static constexpr std::pair<QLatin1StringView, Term::Compare> kOperators[] = {
        {QLatin1StringView(">="), Term::Compare::GreaterOrEqual},
        {QLatin1StringView("<="), Term::Compare::LessOrEqual},
        {QLatin1StringView(">"), Term::Compare::Greater},
        {QLatin1StringView("<"), Term::Compare::Less},
        {QLatin1StringView("="), Term::Compare::Equal},
    };
    Comparison result;
    bool named = false;
    for (const auto& [op, compare] : kOperators) {
        if (text.startsWith(op)) {
            result.compare = compare;
            text = text.sliced(op.size());
            named = true;
            break;
        }
    }
    if (text.isEmpty()) {
        return named ? std::optional(result) : std::nullopt;
    }
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok) {
        return std::nullopt;
    }
    result.number = number;
    return result;
}

// The numbers a Number term is met by, as an interval.
struct Interval {
    double low = 0.0;
    double high = 0.0;
    bool lowOpen = false;
    bool highOpen = false;

    bool within(const Interval& other) const {
        const bool fromInside =
            low > other.low || (low == other.low && (lowOpen || !other.lowOpen));
        const bool toInside =
            high < other.high || (high == other.high && (highOpen || !other.highOpen));
        return fromInside && toInside;
    }
};
Interval interval(const Term& term) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const double n = term.number;
    switch (term.compare) {
    case Term::Compare::Less:
        return {-kInfinity, n, false, true};
    case Term::Compare::LessOrEqual:
        return {-kInfinity, n, false, false};
    case Term::Compare::Equal:
        return {n, n, false, false};
    case Term::Compare::GreaterOrEqual:
        return {n, kInfinity, false, false};
    case Term::Compare::Greater:
        return {n, kInfinity, true, false};
    }
    return {n, n, false, false};
}

// The reasons a text is no query, shown where the count of movies stands.
const QString kUnknownField = QStringLiteral("unknown field %1");
const QString kReversedRange = QStringLiteral("range %1 is reversed");

// The length of a field name written before a colon and something after it
// ("foo:bar"), the field not being one the query knows; 0 when there is none.
// A name followed by nothing ("Trek: Generations") is a plain word.
qsizetype unknownFieldName(QStringView text) {
    qsizetype end = 0;
    while (end < text.size() && text.at(end).isLetter()) {
        ++end;
    }
    const bool named = end > 0 && end + 1 < text.size() && text.at(end) == QLatin1Char(':') &&
                       !text.at(end + 1).isSpace();
    return named ? end : 0;
}

// A text beginning with "OR" standing on its own.
bool isOr(QStringView text) {
    return text.startsWith(QLatin1StringView("OR")) && (text.size() == 2 || text.at(2).isSpace());
}

// Cheap and telling clauses first, so that a row that fails is dropped
// early: a year range, then single words (the longest first), then
// alternatives, then exclusions, which most rows pass.
int rank(const Clause& clause) {
    if (std::any_of(clause.anyOf.begin(), clause.anyOf.end(),
                    [](const Term& t) { return t.excluded; })) {
        return 3;
    }
    if (clause.anyOf.size() > 1) {
        return 2;
    }
    return clause.anyOf.front().kind == Term::Kind::YearRange ? 0 : 1;
}

// Year ranges first, then numbers, then texts.
int kindOrder(Term::Kind kind) {
    switch (kind) {
    case Term::Kind::YearRange:
        return 0;
    case Term::Kind::Number:
    case Term::Kind::Word:
        return 1;
    case Term::Kind::Text:
        return 2;
    }
    return 2;
}

// A complete order, so that equal terms stand together.
bool termLess(const Term& a, const Term& b) {
    if (a.kind != b.kind) {
        return kindOrder(a.kind) < kindOrder(b.kind);
    }
    if (a.needle.size() != b.needle.size()) {
        return a.needle.size() > b.needle.size();
    }
    return std::tie(a.excluded, a.needle, a.field, a.low, a.high, a.compare, a.number) <
           std::tie(b.excluded, b.needle, b.field, b.low, b.high, b.compare, b.number);
}

bool clauseLess(const Clause& a, const Clause& b) {
    const int rankA = rank(a);
    const int rankB = rank(b);
    if (rankA != rankB) {
        return rankA < rankB;
    }
    return std::lexicographical_compare(a.anyOf.begin(), a.anyOf.end(), b.anyOf.begin(),
                                        b.anyOf.end(), termLess);
}

// Drops every item that another one implies (`dropImplying` false) or that
// implies another one (true); of equal items the first stays.
template <typename T> void prune(std::vector<T>& items, bool dropImplying) {
    if (items.size() > kMaxTermsToPrune) {
        return;
    }
    std::vector<T> kept;
    for (std::size_t t = 0; t < items.size(); ++t) {
        bool redundant = false;
        for (std::size_t u = 0; u < items.size() && !redundant; ++u) {
            const T& a = dropImplying ? items[t] : items[u];
            const T& b = dropImplying ? items[u] : items[t];
            redundant = u != t && a.implies(b) && !(b.implies(a) && t < u);
        }
        if (!redundant) {
            kept.push_back(items[t]);
        }
    }
    items = std::move(kept);
}

} // namespace

bool Term::implies(const Term& other) const {
    if (kind == Kind::Word && other.kind == Kind::Text && !excluded && !other.excluded) {
        // The state word is in the field's text, and so is every part of it.
        return field == other.field && needle.contains(other.needle);
    }
    if (kind != other.kind || excluded != other.excluded) {
        return false;
    }
    if (kind == Kind::Word) {
        return field == other.field && needle == other.needle;
    }
    if (kind == Kind::YearRange) {
        return excluded ? other.low >= low && other.high <= high
                        : low >= other.low && high <= other.high;
    }
    if (kind == Kind::Number) {
        return field == other.field && (excluded ? interval(other).within(interval(*this))
                                                 : interval(*this).within(interval(other)));
    }
    // Words without a field are looked for in the eight fields, not in the extra ones.
    if (excluded) { // no `needle` in the field: then nothing longer that holds it either
        return ((field == Field::Any && !isExtra(other.field)) || field == other.field) &&
               other.needle.contains(needle);
    }
    return ((other.field == Field::Any && !isExtra(field)) || other.field == field) &&
           needle.contains(other.needle);
}

bool Clause::implies(const Clause& other) const {
    if (anyOf.size() * other.anyOf.size() > kMaxTermPairs) {
        return false;
    }
    return std::all_of(anyOf.begin(), anyOf.end(), [&other](const Term& t) {
        return std::any_of(other.anyOf.begin(), other.anyOf.end(),
                           [&t](const Term& o) { return t.implies(o); });
    });
}

Query Query::parse(QStringView text, const QStringList& extraFields,
                   const QList<bool>& numericExtras, const QList<QStringList>& extraWords) {
    Query query;
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool joinNext = false; // an OR came after the last clause
    while (i < n) {
        if (text.at(i).isSpace()) {
            ++i;
            continue;
        }
        if (isOr(text.sliced(i))) {
            joinNext = !query.m_clauses.empty();
            i += 2;
            continue;
        }
        Term term;
        if (text.at(i) == QLatin1Char('-')) {
            term.excluded = true;
            ++i;
            if (i == n || text.at(i).isSpace()) {
                continue; // a dash alone: no condition yet
            }
        }
        const auto [field, nameLength] = fieldPrefix(text.sliced(i), extraFields);
        if (nameLength == 0) {
            if (const qsizetype unknown = unknownFieldName(text.sliced(i))) {
                query = Query();
                query.m_error = kUnknownField.arg(text.sliced(i, unknown));
                return query;
            }
        }
        term.field = field;
        i += nameLength;
        QStringView value;
        bool quoted = false;
        if (i < n && text.at(i) == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? n : close;
            value = text.sliced(i + 1, end - i - 1);
            quoted = true;
            i = close < 0 ? n : close + 1;
        } else {
            qsizetype end = i;
            while (end < n && !text.at(end).isSpace()) {
                ++end;
            }
            value = text.sliced(i, end - i);
            i = end;
        }
        const bool numeric =
            isExtra(field) && !quoted && numericExtras.value(extraIndex(field), false);
        const auto compared = numeric ? comparison(value) : std::nullopt;
        const auto range = field == Field::Year && !quoted ? yearRange(value) : std::nullopt;
        if (compared) {
            if (!compared->number) { // "copies:>" alone: no condition yet
                continue;
            }
            term.kind = Term::Kind::Number;
            term.compare = compared->compare;
            term.number = *compared->number;
        } else if (range) {
            if (range->first > range->second) {
                query = Query();
                query.m_error = kReversedRange.arg(value);
                return query;
            }
            term.kind = Term::Kind::YearRange;
            term.low = range->first;
            term.high = range->second;
        } else {
            term.needle = fold(value);
            if (term.needle.isEmpty()) { // "title:" alone, or only marks: no condition yet
                continue;
            }
            if (isExtra(field) && !quoted &&
                extraWords.value(extraIndex(field)).contains(term.needle)) {
                term.kind = Term::Kind::Word;
            }
            term.units = unitMask(term.needle);
        }
        query.add(std::move(term), joinNext);
        joinNext = false;
    }
    query.simplify();
    return query;
}

std::vector<int> extraFieldsNamed(QStringView text, const QStringList& extraFields) {
    std::vector<int> named;
    for (QStringView word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word.startsWith(QLatin1Char('-'))) {
            word = word.sliced(1);
        }
        const Field field = fieldPrefix(word, extraFields).first;
        if (isExtra(field) &&
            std::find(named.begin(), named.end(), extraIndex(field)) == named.end()) {
            named.push_back(extraIndex(field));
        }
    }
    return named;
}

void Query::add(Term term, bool joined) {
    if (joined) {
        m_clauses.back().anyOf.push_back(std::move(term));
    } else {
        m_clauses.push_back(Clause{{std::move(term)}});
    }
}

void Query::simplify() {
    for (Clause& clause : m_clauses) {
        // Of "a OR ab" the narrower adds nothing.
        std::sort(clause.anyOf.begin(), clause.anyOf.end(), termLess);
        clause.anyOf.erase(std::unique(clause.anyOf.begin(), clause.anyOf.end()),
                           clause.anyOf.end());
        prune(clause.anyOf, true);
    }
    std::sort(m_clauses.begin(), m_clauses.end(), clauseLess);
    m_clauses.erase(std::unique(m_clauses.begin(), m_clauses.end()), m_clauses.end());
    // A clause that another one implies adds nothing ("ame" beside "amelie").
    prune(m_clauses, false);
}

bool Query::narrows(const Query& wider) const {
    if (m_clauses.size() * wider.m_clauses.size() > kMaxTermPairs) {
        return false;
    }
    return std::all_of(wider.m_clauses.begin(), wider.m_clauses.end(), [this](const Clause& w) {
        return std::any_of(m_clauses.begin(), m_clauses.end(),
                           [&w](const Clause& t) { return t.implies(w); });
    });
}

} // namespace Find
