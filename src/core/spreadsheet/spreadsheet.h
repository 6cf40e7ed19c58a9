#pragma once

#include "core/spreadsheet/spreadsheet_program.h"

#include <QString>
#include <memory>
#include <vector>

// The spreadsheet application as the exports drive it: an application with
// a list of workbooks, each with one active sheet of text cells. The cells
// are kept in memory; making the application visible writes every workbook
// not yet shown to a fresh .xlsx file and opens it in the spreadsheet program.

// The most characters one cell holds.
inline constexpr int kCellTextLimit = 32767;

// The size of a sheet.
struct SheetLimits {
    int rows = 1048576;
    int columns = 16384;
};

class Worksheet;

// One cell, as Cells(row, column) names it.
class CellRef {
public:
    QString Value() const;
    // Fails when the text is longer than a cell holds.
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
    explicit Worksheet(SheetLimits limits = {}) : m_limits(limits) {}

    // The cell at a 1-based row and column; fails outside the sheet.
    CellRef Cells(int row, int column);
    ColumnSet Columns() { return ColumnSet(*this); }

    // Reading the sheet back (1-based): the last row and column holding a
    // text, a cell's text ("" when empty), and each column's fitted width in
    // characters (0 for a column not fitted or empty when fitted).
    int usedRows() const { return int(m_rows.size()); }
    int usedColumns() const;
    const QString& text(int row, int column) const;
    const std::vector<int>& fittedWidths() const { return m_fittedWidths; }

private:
    friend class CellRef;
    friend class ColumnSet;
    void checkCell(int row, int column) const;
    void setText(int row, int column, const QString& value);
    void fitColumns();

    SheetLimits m_limits;
    std::vector<std::vector<QString>> m_rows; // row-major, each row as long as it needs
    std::vector<int> m_fittedWidths;
};

class Workbook {
public:
    explicit Workbook(SheetLimits limits) : m_sheet(limits) {}

    Worksheet& ActiveSheet() { return m_sheet; }
    const Worksheet& ActiveSheet() const { return m_sheet; }

    // The file it was written to when shown; "" until then.
    const QString& fileName() const { return m_fileName; }

private:
    friend class SpreadsheetApplication;
    Worksheet m_sheet;
    QString m_fileName;
};

class WorkbookList {
public:
    explicit WorkbookList(SheetLimits limits) : m_limits(limits) {}

    // A new, empty workbook; it stays valid as long as the application.
    Workbook& Add();
    int Count() const { return int(m_books.size()); }
    Workbook& Item(int index); // 1-based

private:
    SheetLimits m_limits;
    std::vector<std::unique_ptr<Workbook>> m_books;
};

class SpreadsheetApplication {
public:
    // workFolder: where shown workbooks are written ("" = the temp folder).
    SpreadsheetApplication(SpreadsheetProgram program, DocumentLauncher& launcher,
                           QString workFolder = {}, SheetLimits limits = {});

    WorkbookList& Workbooks() { return m_workbooks; }

    bool Visible() const { return m_visible; }
    // Showing writes each workbook not yet shown to a fresh file and opens
    // it in the spreadsheet program. Fails when a file cannot be written
    // completely (nothing of it is left behind) or the program cannot start.
    void setVisible(bool visible);

    const SpreadsheetProgram& program() const { return m_program; }

private:
    void show(Workbook& book);

    SpreadsheetProgram m_program;
    DocumentLauncher& m_launcher;
    QString m_workFolder;
    WorkbookList m_workbooks;
    bool m_visible = false;
};
