#include "core/spreadsheet/spreadsheet.h"

#include "core/formats/xlsx_file.h"
#include "core/report/failure.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <algorithm>

namespace {

const QString kEmptyText;

// Reserves a new file name in the folder for one workbook.
QString freshWorkbookFile(const QString& folder) {
    QTemporaryFile file(folder + QStringLiteral("/Movies-XXXXXX.xlsx"));
    file.setAutoRemove(false);
    if (!file.open()) {
        throw Failure(QStringLiteral("No new workbook file can be made in %1: %2")
                          .arg(QDir::toNativeSeparators(folder), file.errorString()));
    }
    return file.fileName();
}

} // namespace

QString CellRef::Value() const {
    return m_sheet.text(m_row, m_column);
}

void CellRef::setValue(const QString& value) {
    m_sheet.setText(m_row, m_column, value);
}

void ColumnSet::Autofit() {
    m_sheet.fitColumns();
}

void Worksheet::checkCell(int row, int column) const {
    if (row < 1 || row > m_limits.rows) {
        throw Failure(QStringLiteral("Row %1 is outside the sheet, which has rows 1 to %2.")
                          .arg(row)
                          .arg(m_limits.rows));
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

int Worksheet::usedColumns() const {
    std::size_t widest = 0;
    for (const std::vector<QString>& cells : m_rows) {
        widest = std::max(widest, cells.size());
    }
    return int(widest);
}

const QString& Worksheet::text(int row, int column) const {
    checkCell(row, column);
    if (std::size_t(row) > m_rows.size()) {
        return kEmptyText;
    }
    const std::vector<QString>& cells = m_rows[std::size_t(row - 1)];
    return std::size_t(column) > cells.size() ? kEmptyText : cells[std::size_t(column - 1)];
}

void Worksheet::setText(int row, int column, const QString& value) {
    checkCell(row, column);
    if (value.size() > kCellTextLimit) {
        throw Failure(QStringLiteral("A cell holds at most %1 characters; this text has %2.")
                          .arg(kCellTextLimit)
                          .arg(value.size()));
    }
    if (value.isEmpty() && std::size_t(row) > m_rows.size()) {
        return; // an empty text in an empty row changes nothing
    }
    if (std::size_t(row) > m_rows.size()) {
        m_rows.resize(std::size_t(row));
    }
    std::vector<QString>& cells = m_rows[std::size_t(row - 1)];
    if (std::size_t(column) > cells.size()) {
        if (value.isEmpty()) {
            return;
        }
        cells.resize(std::size_t(column));
    }
    cells[std::size_t(column - 1)] = value;
}

void Worksheet::fitColumns() {
    m_fittedWidths.assign(std::size_t(usedColumns()), 0);
    for (const std::vector<QString>& cells : m_rows) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            m_fittedWidths[c] = std::max(m_fittedWidths[c], int(cells[c].size()));
        }
    }
}

Workbook& WorkbookList::Add() {
    m_books.push_back(std::make_unique<Workbook>(m_limits));
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
      m_workFolder(workFolder.isEmpty() ? QDir::tempPath() : std::move(workFolder)),
      m_workbooks(limits) {}

void SpreadsheetApplication::setVisible(bool visible) {
    m_visible = visible;
    if (!visible) {
        return;
    }
    for (int i = 1; i <= m_workbooks.Count(); ++i) {
        Workbook& book = m_workbooks.Item(i);
        if (book.fileName().isEmpty()) {
            show(book);
        }
    }
}

void SpreadsheetApplication::show(Workbook& book) {
    const QString path = freshWorkbookFile(m_workFolder);
    try {
        writeXlsxFile(book.ActiveSheet(), path);
        m_launcher.start(m_program.executable, m_program.arguments + QStringList{path});
    } catch (...) {
        // A file that was not written completely, or that nobody will open,
        // is not left behind.
        QFile::remove(path);
        throw;
    }
    book.m_fileName = path;
}
