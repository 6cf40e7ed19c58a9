#include "core/spreadsheet/spreadsheet.h"

#include "core/formats/xlsx_file.h"
#include "core/report/counts.h"
#include "core/report/failure.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <algorithm>

namespace {

// Reserves a new file name in the folder for one workbook.
QString freshWorkbookFile(const QString& folder) {
    // A name that kWorkbookNamePattern matches.
    QTemporaryFile file(folder + QStringLiteral("/Movies-XXXXXX.xlsx"));
    file.setAutoRemove(false);
    if (!file.open()) {
        throw Failure(QStringLiteral("No new workbook file can be made in %1: %2")
                          .arg(QDir::toNativeSeparators(folder), file.errorString()));
    }
    return file.fileName();
}

} // namespace

void CellRef::setValue(const QString& value) {
    m_sheet.setText(m_row, m_column, value);
}

void ColumnSet::Autofit() {
    m_sheet.fitColumns();
}

Worksheet::Worksheet(SheetLimits limits) : m_limits(limits) {}

Worksheet::~Worksheet() = default;

void Worksheet::checkCell(int row, int column) const {
    if (row < 1 || row > m_limits.rows) {
        throw Failure(QStringLiteral("Row %1 is outside the sheet, which has rows 1 to %2.")
                          .arg(row)
                          .arg(groupedNumber(m_limits.rows)));
    }
    if (column < 1 || column > m_limits.columns) {
        throw Failure(QStringLiteral("Column %1 is outside the sheet, which has columns 1 to %2.")
                          .arg(column)
                          .arg(m_limits.columns));
    }
}

CellRef Worksheet::Cells(int row, int column) {
    checkCell(row, column);
    return {*this, row, column};
}

void Worksheet::setText(int row, int column, const QString& value) {
    checkCell(row, column);
    if (value.size() > kCellTextLimit) {
        throw Failure(QStringLiteral("A cell holds at most %1 characters; this text has %2.")
                          .arg(kCellTextLimit)
                          .arg(value.size()));
    }
    if (value.isEmpty()) {
        return;
    }
    if (m_out) {
        m_out->writeText(row - 1, column - 1, value);
    }
    if (std::size_t(column) > m_longest.size()) {
        m_longest.resize(std::size_t(column), 0);
    }
    int& longest = m_longest[std::size_t(column - 1)];
    longest = std::max(longest, int(value.size()));
}

void Worksheet::fitColumns() {
    m_fittedWidths = m_longest;
}

void Worksheet::finish() {
    const std::unique_ptr<XlsxFile> out = std::move(m_out);
    if (!out) {
        throw Failure(QStringLiteral("The workbook has been written already."));
    }
    for (std::size_t column = 0; column < m_fittedWidths.size(); ++column) {
        if (m_fittedWidths[column] > 0) {
            out->fitColumn(int(column), m_fittedWidths[column]);
        }
    }
    out->finish();
}

Workbook::Workbook(SheetLimits limits, const QString& folder) : m_sheet(limits) {
    try {
        m_path = freshWorkbookFile(folder);
        m_sheet.m_out = std::make_unique<XlsxFile>(m_path);
    } catch (const Failure& failure) {
        m_startFailure = failure;
    }
}

Workbook::~Workbook() {
    if (!m_handedOn && !m_path.isEmpty()) {
        m_sheet.m_out.reset();
        QFile::remove(m_path);
    }
}

Workbook& WorkbookList::Add() {
    m_books.push_back(std::make_unique<Workbook>(m_limits, m_folder));
    return *m_books.back();
}

Workbook& WorkbookList::Item(int index) {
    if (index < 1 || index > Count()) {
        throw Failure(QStringLiteral("There is no workbook %1.").arg(index));
    }
    return *m_books[std::size_t(index - 1)];
}

SpreadsheetApplication::SpreadsheetApplication(SpreadsheetProgram program,
                                               DocumentLauncher& launcher, QString workFolder,
                                               SheetLimits limits)
    : m_program(std::move(program)), m_launcher(launcher),
      m_workbooks(limits, workFolder.isEmpty() ? QDir::tempPath() : std::move(workFolder)) {}

void SpreadsheetApplication::setVisible(bool visible) {
    if (!visible) {
        return;
    }
    for (int i = 1; i <= m_workbooks.Count(); ++i) {
        Workbook& book = m_workbooks.Item(i);
        if (!book.m_handedOn) {
            show(book);
        }
    }
}

void SpreadsheetApplication::show(Workbook& book) {
    book.m_handedOn = true;
    try {
        if (book.m_startFailure) {
            throw *book.m_startFailure;
        }
        book.m_sheet.finish();
        m_launcher.start(m_program.executable, m_program.arguments + QStringList{book.m_path});
    } catch (...) {
        // A file that was not written completely, or that nobody will open,
        // is not left behind.
        QFile::remove(book.m_path);
        throw;
    }
    book.m_fileName = book.m_path;
}
