#pragma once

#include <QStringView>
#include <QtGlobal>

namespace Find {

// Which folded units a text holds, as 64 bits: one bit for each of `a` to
// `z` (bits 0 to 25) and `0` to `9` (26 to 35), and the remaining 28 bits
// shared by every other unit by its value. A text can only hold a needle
// whose bits its own bits contain, so a row can be passed over without
// scanning it.
using UnitMask = quint64;

inline constexpr int kLetterBits = 26;
inline constexpr int kExactBits = kLetterBits + 10;
inline constexpr int kSharedBits = 64 - kExactBits;

// Whether the unit has a bit to itself, so that the bit being set says the
// unit is there.
constexpr bool hasOwnBit(char16_t unit) {
    return (unit >= u'a' && unit <= u'z') || (unit >= u'0' && unit <= u'9');
}

// The number of the one bit a folded unit sets.
constexpr int bitNumber(char16_t unit) {
    if (unit >= u'a' && unit <= u'z') {
        return unit - u'a';
    }
    if (unit >= u'0' && unit <= u'9') {
        return kLetterBits + (unit - u'0');
    }
    return kExactBits + unit % kSharedBits;
}

constexpr UnitMask unitBit(char16_t unit) {
    return UnitMask(1) << bitNumber(unit);
}

// For every UTF-16 unit, the number of the bit of the unit it folds to
// through unitFoldTable() (fold.h), or kFoldsApart when it folds to no one
// unit of its own: a row read through it needs no branch a unit.
inline constexpr quint8 kFoldsApart = 0xff;
const quint8* foldedBitTable();

// The bits of every unit of a folded text.
inline UnitMask unitMask(QStringView folded) {
    UnitMask mask = 0;
    for (QChar c : folded) {
        mask |= unitBit(c.unicode());
    }
    return mask;
}

} // namespace Find
