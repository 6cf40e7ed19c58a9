#pragma once

#include "core/formats/xlsx_limits.h"
#include "core/report/failure.h"
#include "core/spreadsheet/spreadsheet_program.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

class XlsxFile;

// The spreadsheet application as the exports drive it: an application with
// a list of workbooks, each with one active sheet of text cells. Each
// workbook is a fresh .xlsx file in the work folder, and its cells go
// straight into it as they come (rows from top to bottom), so that no sheet
// is held in memory; making the application visible finishes every workbook
// not yet shown and opens it in the spreadsheet program.

// The names the workbooks' files are given in the work folder.
inline constexpr char kWorkbookNamePattern[] = "Movies-*.xlsx";

// The size of a sheet.
struct SheetLimits {
    int rows = kSheetRows;
    int columns = kSheetColumns;
};

class Worksheet;

// One cell, as Cells(row, column) names it.
class CellRef {
public:
    // Fails when the text is longer than a cell holds, or when a later row
    // has been written already. An empty text writes nothing.
    void setValue(const QString& value);

private:
    friend class Worksheet;
    CellRef(Worksheet& sheet, int row, int column) : m_sheet(sheet), m_row(row), m_column(column) {}

    Worksheet& m_sheet;
    int m_row;
    int m_column;
};

// All columns of a sheet, as Columns() names them.
class ColumnSet {
public:
    // Fits each column's width to its longest text.
    void Autofit();

private:
    friend class Worksheet;
    explicit ColumnSet(Worksheet& sheet) : m_sheet(sheet) {}

    Worksheet& m_sheet;
};

class Worksheet {
public:
    explicit Worksheet(SheetLimits limits);
    ~Worksheet();
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;

    // The cell at a 1-based row and column; fails outside the sheet.
    CellRef Cells(int row, int column);
    ColumnSet Columns() { return ColumnSet(*this); }

private:
    friend class CellRef;
    friend class ColumnSet;
    friend class Workbook;
    friend class SpreadsheetApplication;
    void checkCell(int row, int column) const;
    void setText(int row, int column, const QString& value);
    void fitColumns();
    // Gives the fitted columns their widths and writes the file out; the
    // sheet writes nothing more after that.
    void finish();

    SheetLimits m_limits;
    std::unique_ptr<XlsxFile> m_out; // none when the file could not be started
    std::vector<int> m_longest;      // each column's longest text so far
    std::vector<int> m_fittedWidths; // each column's longest text when fitted
};

class Workbook {
public:
    // Starts the workbook's file in the folder; a failure to start it is
    // reported when the workbook is shown.
    Workbook(SheetLimits limits, const QString& folder);
    // A workbook never shown takes its file with it.
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    Worksheet& ActiveSheet() { return m_sheet; }

    // The file it was written to when shown; "" until then.
    const QString& fileName() const { return m_fileName; }

private:
    friend class SpreadsheetApplication;
    Worksheet m_sheet;
    QString m_path;
    std::optional<Failure> m_startFailure;
    bool m_handedOn = false; // shown, or given up when it could not be
    QString m_fileName;
};

class WorkbookList {
public:
    WorkbookList(SheetLimits limits, QString folder)
        : m_limits(limits), m_folder(std::move(folder)) {}

    // A new, empty workbook; it stays valid as long as the application.
    Workbook& Add();
    int Count() const { return int(m_books.size()); }
    Workbook& Item(int index); // 1-based

private:
    SheetLimits m_limits;
    QString m_folder;
    std::vector<std::unique_ptr<Workbook>> m_books;
};

class SpreadsheetApplication {
public:
    // workFolder: where shown workbooks are written ("" = the temp folder).
    SpreadsheetApplication(SpreadsheetProgram program, DocumentLauncher& launcher,
                           QString workFolder = {}, SheetLimits limits = {});

    WorkbookList& Workbooks() { return m_workbooks; }

    // Showing finishes each workbook not yet shown and opens it in the
    // spreadsheet program. Fails when a file cannot be written completely or
    // the program cannot start; that workbook is then given up and nothing
    // of its file is left behind.
    void setVisible(bool visible);

private:
    void show(Workbook& book);

    SpreadsheetProgram m_program;
    DocumentLauncher& m_launcher;
    WorkbookList m_workbooks;
};
