#pragma once

#include "core/report/failure.h"

#include <QByteArray>
#include <QString>

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
// large sheet never sits in memory. Every value is a text cell, so nothing in
// it is ever taken for a number or a formula. Fails (XlsxWriteFailure) when
// the file cannot be written completely. The only place libxlsxwriter is used.
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
    // The same for text whose literal escape-like sequences ("_x0041_") the
    // caller has protected itself: it is written exactly as given.
    void writeProtectedText(int row, int column, const QString& text);
    // A column as wide as its longest text of that many characters.
    void fitColumn(int column, int longestText);
    // Writes the file and checks that all of it was written.
    void finish();
    // Only writes the file, for a caller that checks it itself; fails when
    // the library reports a failed write.
    void close();

private:
    void write(int row, int column, const QString& text);

    QString m_path;
    QByteArray m_scratchFolder;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
};
