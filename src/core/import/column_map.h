#pragma once

#include "core/catalogue/dvd_record.h"
#include "core/import/column_names.h"
#include "core/import/import_failure.h"

#include <QStringList>
#include <array>
#include <vector>

// A person's choice of field for one column: by its header text (case
// ignored, blanks collapsed) or by its 1-based position.
struct ColumnChoice {
    QString header;                 // empty when chosen by position
    int position = 0;               // 1-based; 0 when chosen by header text
    int field = HeaderMatch::kNone; // 0 title ... 7 studio, a CopyField, or kNone to ignore it

    // "Running Time=runtime", "2=year", "Notes=ignore"; fails (Failure) on
    // another shape or an unknown field.
    static ColumnChoice parse(const QString& text);
};

// How the columns of a file are to be read, beside what its header says.
struct ColumnOptions {
    std::vector<ColumnChoice> choices; // they win over any guess
    bool noHeader = false;             // the first row is a movie, not a header
    bool runtimeInMinutes = false;     // "142" or "142 min" becomes "2:22"
    // No column holding the title is no failure: the map then has none, so
    // that a person can be offered the choice.
    bool titleMayBeMissing = false;
};

// Which column of a file holds which of a movie's eight fields, and which
// hold the fields of a copy of it (only a header row names those).
class ColumnMap {
public:
    // Columns named by a header row: each cell matched against the recognised
    // names (column_names.h), then the person's choices applied. An id column,
    // a second column for the same field (the better name wins, then the
    // first) and unknown columns are ignored and named. Fails when no column
    // holds the title, or when a choice names a column the file does not have
    // (ImportProblem::NoSuchColumn).
    static ColumnMap fromHeader(const QStringList& header, const RowPlace& place,
                                const ColumnOptions& options = {});
    // A file without a header whose first row has `columns` cells: the fields
    // in their fixed order, then the person's choices by position. Fails on a
    // choice by header text or past the last column.
    static ColumnMap byPosition(qsizetype columns, const RowPlace& place,
                                const ColumnOptions& options = {});
    // The program's own clipboard copy: the id, then the eight fields.
    static ColumnMap clipboardCopy(const ColumnOptions& options = {});

    // The column holding a field (a movie's or a copy's), or -1.
    int columnOf(int field) const { return m_columnOf[std::size_t(field)]; }
    // The row's text in the file's id column, empty when it has none.
    QString idValue(const QStringList& cells) const {
        return m_idColumn >= 0 ? cells.value(m_idColumn).trimmed() : QString();
    }
    // True when a column holds one of a copy's fields.
    bool hasCopyColumns() const;
    // The copy's fields of a row, in the order of CopyField; empty texts for
    // the fields no column holds.
    QStringList copyValues(const QStringList& cells) const;
    // A field's value in a row's cells as it will be stored; a missing cell
    // gives an empty text.
    QString value(const QStringList& cells, int field) const;
    // The UTF-8 of the eight fields of the row, each followed by a NUL,
    // written over `out` so that its room is reused from row to row.
    void packFieldsUtf8(const QStringList& cells, QByteArray& out) const;

    // The ignored columns by their header text ("column 4" when it has none).
    const QStringList& ignoredColumns() const { return m_ignored; }
    // The columns' header texts; empty texts when the file has no header.
    const QStringList& names() const { return m_names; }
    bool hasHeader() const { return m_hasHeader; }
    bool hasTitle() const { return m_columnOf[0] >= 0; }

private:
    ColumnMap() { m_columnOf.fill(-1); }
    // Applies the choices to columns named `names` (empty texts when the file
    // has no header), then lists the columns no field took.
    void choose(const QStringList& names, const ColumnOptions& options);

    std::array<int, kColumnFieldCount> m_columnOf{}; // -1: no such column
    int m_idColumn = -1;                             // the first column a header names "id"
    QStringList m_ignored;
    QStringList m_names;
    bool m_hasHeader = true;
    bool m_runtimeInMinutes = false;
};

// The fields of packFieldsUtf8(), decoded, as a movie.
DvdRecord unpackFields(QStringView packed);

// A runtime in minutes ("142", "142 min", "142 mins", "142 minutes") written
// as the catalogue writes runtimes, hours and minutes ("2:22"); any other
// text as it is.
QString runtimeFromMinutes(const QString& text);

// True when a header row of these cells names at least one column: a
// recognised name or a column the person chose by its header text.
bool namesAColumn(const QStringList& cells, const ColumnOptions& options);
// True when the first row of a file is a movie rather than a header that
// names nothing known: one of its cells is a plain year, or the next row
// (`next`, empty when there is none) has the same cells of the same kinds.
bool looksLikeData(const QStringList& first, const QStringList& next);
