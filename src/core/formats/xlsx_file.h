#pragma once

#include <QByteArray>
#include <QString>

struct lxw_workbook;
struct lxw_workbook_options;
struct lxw_worksheet;

// A one-sheet .xlsx workbook, written as its cells come: each row goes to a
// scratch file beside the workbook as soon as a later row is begun, so a
// large sheet never sits in memory. Every value is a text cell, so nothing in
// it is ever taken for a number or a formula. Fails with a description when
// the file cannot be written completely.
class XlsxFile {
public:
    // Starts the workbook that finish() writes to path.
    explicit XlsxFile(const QString& path);
    // Gives up a workbook not finished; nothing is written then.
    ~XlsxFile();
    XlsxFile(const XlsxFile&) = delete;
    XlsxFile& operator=(const XlsxFile&) = delete;

    // The text of a cell (0-based). Rows come from top to bottom: once a
    // later row is begun, an earlier one takes no more cells.
    void writeText(int row, int column, const QString& text);
    // A column as wide as its longest text of that many characters.
    void fitColumn(int column, int longestText);
    // Writes the file and checks that all of it was written.
    void finish();

private:
    QString m_path;
    QByteArray m_scratchFolder;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
};

// Starts a libxlsxwriter workbook for path with one sheet; "" when
// started, otherwise why not (book and sheet are then null), with what the
// library printed on standard error kept off the terminal.
QString startXlsxWorkbook(const QString& path, lxw_workbook_options& options, lxw_workbook*& book,
                          lxw_worksheet*& sheet);
// Writes and frees the workbook; "" when it was written, otherwise why not,
// in plain words (a full disk or the file-size limit said so), with what the
// library printed kept off the terminal.
QString closeXlsxWorkbook(lxw_workbook* book, const QString& path);
// The reason for a libxlsxwriter error code, taking the system's reason
// from what the library printed when it gave one, or from errno as the
// library left it.
QString xlsxFailureReason(const QString& path, int error, const QByteArray& printed,
                          int systemError = 0);
