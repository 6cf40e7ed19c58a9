#pragma once

#include "core/report/failure.h"

#include <QByteArray>
#include <QString>

struct lxw_format;
struct lxw_workbook;
struct lxw_worksheet;

// A failed write of a workbook: the description names the file and the
// reason, and the reason stands alone for writers that word it their own way.
class XlsxWriteFailure : public Failure {
public:
    XlsxWriteFailure(const QString& path, const QString& reason);

    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};

// A one-sheet .xlsx workbook, written as its cells come: each row goes to a
// scratch file beside the workbook as soon as a later row is begun, so a
// large sheet never sits in memory. A value is a text cell unless written as
// a number, so nothing in it is ever taken for a formula. Fails
// (XlsxWriteFailure) when the file cannot be written completely. The only
// place libxlsxwriter is used.
class XlsxFile {
public:
    // Starts the workbook that finish() writes to path, its sheet named
    // sheetName ("" for the spreadsheet's usual "Sheet1").
    explicit XlsxFile(const QString& path, const QString& sheetName = {});
    // Gives up a workbook not finished; nothing is written then.
    ~XlsxFile();
    XlsxFile(const XlsxFile&) = delete;
    XlsxFile& operator=(const XlsxFile&) = delete;

    // The text of a cell (0-based). Rows come from top to bottom: once a
    // later row is begun, an earlier one takes no more cells.
    void writeText(int row, int column, const QString& text);
    // The same for text whose literal escape-like sequences ("_x0041_") the
    // caller has protected itself: it is written exactly as given.
    void writeProtectedText(int row, int column, const QString& text);
    // The same in bold, for a header row.
    void writeBoldText(int row, int column, const QString& text);
    // A number cell.
    void writeNumber(int row, int column, double value);
    // Keeps the sheet's first rows in view while the rest scrolls.
    void freezeRows(int rows);
    // Filter buttons on the first row of the range, over the rows below it.
    // Takes rows already written, so it may come last.
    void setAutofilter(int firstRow, int firstColumn, int lastRow, int lastColumn);
    // A column as wide as its longest text of that many characters.
    void fitColumn(int column, int longestText);
    // Writes the file and checks that all of it was written.
    void finish();
    // Only writes the file, for a caller that checks it itself; fails when
    // the library reports a failed write.
    void close();

private:
    void write(int row, int column, const QString& text, lxw_format* format = nullptr);
    void check(int row, int error);

    QString m_path;
    QByteArray m_scratchFolder;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_bold = nullptr; // owned by the workbook, made on first use
};
