#include "core/formats/xlsx_file.h"

#include "core/formats/xlsx_check.h"
#include "core/report/failure.h"
#include "core/spreadsheet/spreadsheet.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <utility>
#include <xlsxwriter.h>

namespace {

// Column widths are counted in characters; a spreadsheet allows at most 255.
constexpr double kMaxColumnWidth = 255.0;
// Room beside the longest text so that it does not touch the cell's edge.
constexpr double kColumnPadding = 1.0;

// The file format reads "_x" + four hex digits + "_" as an escaped
// character; such a sequence that is really part of the text gets its
// underscore escaped, so that it reads back as written (unless that would
// make it longer than a cell holds).
QString escapeLiteralEscapes(const QString& text) {
    if (!text.contains(QLatin1String("_x"))) {
        return text;
    }
    static const QRegularExpression kEscapeLike(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    QString escaped = QString(text).replace(kEscapeLike, QStringLiteral("_x005F_"));
    return escaped.size() <= kCellTextLimit ? escaped : text;
}

QString describe(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

Failure writeFailure(const QString& path, const QString& reason) {
    return Failure(QStringLiteral("The workbook %1 could not be written: %2").arg(path, reason));
}

// Owns the workbook until it is closed; a workbook given up on the way is
// freed without writing anything.
class OpenWorkbook {
public:
    explicit OpenWorkbook(lxw_workbook* book) : m_book(book) {}
    ~OpenWorkbook() {
        if (m_book) {
            lxw_workbook_free(m_book);
        }
    }
    OpenWorkbook(const OpenWorkbook&) = delete;
    OpenWorkbook& operator=(const OpenWorkbook&) = delete;

    lxw_workbook* get() const { return m_book; }
    lxw_error close() { return workbook_close(std::exchange(m_book, nullptr)); }

private:
    lxw_workbook* m_book;
};

} // namespace

void writeXlsxFile(const Worksheet& sheet, const QString& path) {
    const QByteArray fileName = QFile::encodeName(path);
    QByteArray scratchFolder = QFile::encodeName(QFileInfo(path).absolutePath());
    // Rows go straight to a scratch file as they are written, so a large
    // sheet never sits in memory a second time.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = scratchFolder.data();
    OpenWorkbook book(workbook_new_opt(fileName.constData(), &options));
    if (!book.get()) {
        throw writeFailure(path, QStringLiteral("no workbook could be started."));
    }
    lxw_worksheet* out = workbook_add_worksheet(book.get(), nullptr);
    if (!out) {
        throw writeFailure(path, QStringLiteral("no sheet could be added."));
    }

    const std::vector<int>& widths = sheet.fittedWidths();
    for (std::size_t c = 0; c < widths.size(); ++c) {
        if (widths[c] > 0) {
            const double width = std::min(kMaxColumnWidth, widths[c] + kColumnPadding);
            const lxw_error error =
                worksheet_set_column(out, lxw_col_t(c), lxw_col_t(c), width, nullptr);
            if (error != LXW_NO_ERROR) {
                throw writeFailure(path, describe(error));
            }
        }
    }

    const int columns = sheet.usedColumns();
    for (int row = 1; row <= sheet.usedRows(); ++row) {
        for (int column = 1; column <= columns; ++column) {
            const QString& text = sheet.text(row, column);
            if (text.isEmpty()) {
                continue;
            }
            const lxw_error error =
                worksheet_write_string(out, lxw_row_t(row - 1), lxw_col_t(column - 1),
                                       escapeLiteralEscapes(text).toUtf8().constData(), nullptr);
            if (error != LXW_NO_ERROR) {
                throw writeFailure(path, describe(error));
            }
        }
    }

    const lxw_error closed = book.close();
    if (closed != LXW_NO_ERROR) {
        throw writeFailure(path, describe(closed));
    }
    try {
        checkXlsxComplete(path);
    } catch (const Failure& failure) {
        throw writeFailure(path, failure.description());
    }
}
