#pragma once

#include "core/catalogue/dvd_record.h"
#include "core/import/import_failure.h"

#include <QStringList>
#include <array>

// Which column of a file holds which of a movie's eight fields.
class ColumnMap {
public:
    // Columns named by a header row: title, year, genre, cast, director,
    // runtime, rating (or "MPAA Rating") and studio, case and surrounding
    // blanks ignored. An id column, a second column of the same name and
    // unknown columns are ignored and named. Fails when no column is named
    // title.
    static ColumnMap fromHeader(const QStringList& header, const RowPlace& place);
    // The program's own clipboard copy: the id, then the eight fields.
    static ColumnMap clipboardCopy();

    // A field's value in a row's cells; a missing cell gives an empty text.
    const QString& value(const QStringList& cells, int field) const;
    // The eight fields of the row, each followed by a NUL.
    QString packedFields(const QStringList& cells) const;

    // The ignored columns by their header text ("column 4" when it has none).
    const QStringList& ignoredColumns() const { return m_ignored; }

private:
    ColumnMap() { m_columnOf.fill(-1); }

    std::array<int, DvdRecord::kFieldCount> m_columnOf{}; // -1: no such column
    QStringList m_ignored;
};

// The fields of packedFields() as a movie.
DvdRecord unpackFields(QStringView packed);

// True when the text, without case and surrounding blanks, names a column
// the import knows (one of the fields, or the id).
bool isKnownColumnName(const QString& text);
