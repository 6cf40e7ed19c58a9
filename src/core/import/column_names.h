#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The header texts an import recognises, in one table: for each of a movie's
// eight fields the catalogue's own name, the list's caption and the names
// other programs and other languages give it; then the fields of a copy on
// the shelf, by the names the copy lists write.

// A copy's fields follow the movie's eight, numbered on from them, in the
// order the copy lists write them.
enum CopyField : int {
    kCopyFormat = 8,
    kCopyEdition,
    kCopyBarcode,
    kCopyDiscs,
    kCopyLocation,
    kCopyAcquired,
    kCopyPrice,
    kCopyCurrency,
    kCopyCondition,
    kCopyStatus,
    kCopyNote,
};
inline constexpr int kFirstCopyField = kCopyFormat;
inline constexpr int kCopyFieldCount = kCopyNote - kCopyFormat + 1;
// Every field a column can go into: the movie's, then the copy's.
inline constexpr int kColumnFieldCount = kFirstCopyField + kCopyFieldCount;

// A header cell as it is compared: case folded, blanks around it dropped and
// each run of blanks between words made one space.
QString normalisedColumnName(const QString& text);

// What a header cell names.
struct HeaderMatch {
    static constexpr int kNone = -1; // an unknown column
    static constexpr int kId = -2;   // the catalogue's id column

    int field = kNone; // 0 title ... 7 studio, a CopyField, or kNone or kId
    int rank = 0;      // 0 for the field's own name; higher for a looser synonym
};

// What the header cell names, from the table.
HeaderMatch matchHeader(const QString& text);

// True when the text names a column the import knows (a field or the id).
bool isKnownColumnName(const QString& text);

// The field a person names by its English name ("title" ... "studio",
// "format" ... "note", case ignored), HeaderMatch::kNone for "ignore",
// nothing for anything else.
std::optional<int> fieldByName(const QString& name);
// The English name of a field ("title", "barcode"), "ignore" for any other number.
QString fieldName(int field);
// Every field's name, the movie's first.
QStringList fieldNames();

// One line per field: its name, then the header texts recognised for it.
QStringList recognisedHeaderLines();
