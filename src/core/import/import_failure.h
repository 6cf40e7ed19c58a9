#pragma once

#include <QString>
#include <stdexcept>

// What stopped an import or a file export.
enum class ImportProblem {
    CannotRead,
    CannotWrite,
    TooLarge,
    Empty,
    NotText,
    NoMovies,
    NoTitleColumn,
    TooManyColumns,
    UnterminatedQuote,
    ValueTooLong,
    NulInValue,
    NotAWorkbook,
    NoSheet,
    DamagedWorkbook,
    UnpackedSizeCap,
    CellCap,
    RowCap,
    XmlCap,
    Cancelled,
};

// A failure with the description a person is shown. `line` is the 1-based
// line of a text file or row of a sheet it concerns, 0 when none applies;
// the description already names it.
class ImportFailure : public std::runtime_error {
public:
    ImportFailure(ImportProblem problem, const QString& description, qint64 line = 0)
        : std::runtime_error(description.toStdString()), m_problem(problem),
          m_description(description), m_line(line) {}

    ImportProblem problem() const { return m_problem; }
    const QString& description() const { return m_description; }
    qint64 line() const { return m_line; }

private:
    ImportProblem m_problem;
    QString m_description;
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
