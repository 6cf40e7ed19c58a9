#pragma once

#include "core/report/failure.h"

#include <QString>

// What stopped an import or a file export.
enum class ImportProblem {
    CannotRead,
    CannotWrite,
    TooLarge,
    Empty,
    NotText,
    NoMovies,
    NoTitleColumn,
    NoSuchColumn, // a column chosen by the person is not in the file
    TooManyColumns,
    UnterminatedQuote,
    ValueTooLong,
    NulInValue,
    NotAWorkbook,
    NoSheet,
    NoSuchSheet, // the sheet asked for by name is not there
    DamagedWorkbook,
    UnpackedSizeCap,
    CellCap,
    RowCap,
    XmlCap,
    Cancelled,
};

// A failure with the description a person is shown, and what kind it is:
// a Failure, so that code which only shows it catches Failure alone. `line`
// is the 1-based line of a text file or row of a sheet it concerns, 0 when
// none applies; the description already names it.
class ImportFailure : public Failure {
public:
    ImportFailure(ImportProblem problem, const QString& description, qint64 line = 0)
        : Failure(description), m_problem(problem), m_line(line) {}

    ImportProblem problem() const { return m_problem; }
    qint64 line() const { return m_line; }

private:
    ImportProblem m_problem;
    qint64 m_line;
};

// Where in a file a row starts: "line" in text files, "row" in sheets.
struct RowPlace {
    QString word; // "Line" or "Row", as it starts a sentence
    qint64 number = 0;

    // "Line 12: " + text
    QString describe(const QString& text) const {
        return QStringLiteral("%1 %2: %3").arg(word).arg(number).arg(text);
    }
};

inline ImportFailure failureAt(ImportProblem problem, const RowPlace& place, const QString& text) {
    return {problem, place.describe(text), place.number};
}
