#pragma once

#include <QString>
#include <QStringView>

namespace Find {

// Folds a text for finding: canonical decomposition, every combining mark
// dropped, case folded, a few letters written with a stroke or as a ligature
// spelled plainly (ø as o, ß as ss), Hangul composed again. "Amélie",
// "AMELIE" and "ame\u0301lie" all fold to "amelie".
QString fold(QStringView text);

// The fold of each single UTF-16 unit, for scanning a text without copying
// it: the one unit the unit folds to, or 0 when its fold is not exactly one
// unit of its own (combining marks, ligatures, surrogates, NUL). A text none
// of whose units maps to 0 folds unit by unit: fold(text)[i] == table[text[i]].
const char16_t* unitFoldTable();

// Whether every unit of the text folds to exactly one unit through the table.
bool foldsUnitByUnit(QStringView text);

} // namespace Find
