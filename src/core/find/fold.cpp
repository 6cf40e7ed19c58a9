#include "core/find/fold.h"

#include <algorithm>
#include <array>
#include <memory>

namespace Find {

namespace {

// Letters without a canonical decomposition that readers still take for a
// plain letter with a mark, as they are spelled without it (after case folding).
struct Spelling {
    char16_t letter;
    const char16_t* plain;
};
constexpr Spelling kSpellings[] = {
    {u'\u00df', u"ss"}, // ß
    {u'\u00e6', u"ae"}, // æ
    {u'\u0153', u"oe"}, // œ
    {u'\u00f8', u"o"},  // ø
    {u'\u0142', u"l"},  // ł
    {u'\u0111', u"d"},  // đ
    {u'\u00f0', u"d"},  // ð
    {u'\u0127', u"h"},  // ħ
    {u'\u0131', u"i"},  // dotless i
    {u'\u0167', u"t"},  // ŧ
};

const Spelling* spellingOf(char16_t unit) {
    for (const Spelling& s : kSpellings) {
        if (s.letter == unit) {
            return &s;
        }
    }
    return nullptr;
}

bool isAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// Conjoining Hangul letters: the fold composes them into syllables, which
// joins units, so a text holding them does not fold unit by unit.
bool isConjoiningJamo(char16_t unit) {
    return (unit >= 0x1100 && unit <= 0x11ff) || (unit >= 0xa960 && unit <= 0xa97f) ||
           (unit >= 0xd7b0 && unit <= 0xd7ff);
}

bool isHangulSyllable(char16_t unit) {
    return unit >= 0xac00 && unit <= 0xd7a3;
}

bool hasCanonicalDecomposition(char32_t code) {
    return QChar::decompositionTag(code) == QChar::Canonical;
}

std::unique_ptr<std::array<char16_t, 0x10000>> buildTable() {
    auto table = std::make_unique<std::array<char16_t, 0x10000>>();
    for (char32_t code = 0; code < 0x10000; ++code) {
        const auto unit = char16_t(code);
        char16_t folded = 0;
        if (code < 0x80) {
            folded = code >= 'A' && code <= 'Z' ? char16_t(code + 0x20) : unit;
        } else if (QChar::isSurrogate(code) || isConjoiningJamo(unit) || QChar::isMark(code)) {
            folded = 0;
        } else if (isHangulSyllable(unit)) {
            folded = unit;
        } else if (const char32_t lower = QChar::toCaseFolded(code);
                   lower < 0x10000 && !hasCanonicalDecomposition(code) &&
                   !hasCanonicalDecomposition(lower) && !spellingOf(char16_t(lower))) {
            folded = char16_t(lower); // most letters: their case fold is all there is
        } else {
            const QString text = fold(QStringView(&unit, 1));
            folded = text.size() == 1 ? text.at(0).unicode() : 0;
        }
        (*table)[code] = folded; // NUL maps to 0 as well: it is never folded in place
    }
    return table;
}

} // namespace

QString fold(QStringView text) {
    if (isAscii(text)) {
        return text.toString().toLower();
    }
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_D);
    QString kept;
    kept.reserve(decomposed.size());
    for (qsizetype i = 0; i < decomposed.size();) {
        const QChar c = decomposed.at(i);
        qsizetype length = 1;
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < decomposed.size() &&
            decomposed.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, decomposed.at(i + 1));
            length = 2;
        }
        if (!QChar::isMark(code)) {
            kept.append(decomposed.constData() + i, length);
        }
        i += length;
    }
    kept = std::move(kept).toCaseFolded();
    QString spelled;
    spelled.reserve(kept.size());
    for (QChar c : std::as_const(kept)) {
        if (const Spelling* s = spellingOf(c.unicode())) {
            spelled.append(QStringView(s->plain));
        } else {
            spelled.append(c);
        }
    }
    return spelled.normalized(QString::NormalizationForm_C);
}

const char16_t* unitFoldTable() {
    static const std::unique_ptr<std::array<char16_t, 0x10000>> table = buildTable();
    return table->data();
}

bool foldsUnitByUnit(QStringView text) {
    const char16_t* table = unitFoldTable();
    return std::all_of(text.begin(), text.end(),
                       [table](QChar c) { return table[c.unicode()] != 0; });
}

} // namespace Find
