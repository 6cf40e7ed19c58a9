#include "core/formats/xlsx_file.h"

#include "core/formats/xlsx_check.h"
#include "core/formats/xlsx_limits.h"
#include "core/report/failure.h"
#include "core/system/write_failure.h"
#include "core/system/write_guard.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
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

// libxlsxwriter ends its error lines with the system's reason.
const QByteArray kSystemError = QByteArrayLiteral("System error = ");

// The reason for a libxlsxwriter error code, taking the system's reason
// from what the library printed when it gave one, or from errno as the
// library left it.
QString xlsxFailureReason(const QString& path, int error, const QByteArray& printed,
                          int systemError = 0) {
    QString reason = describe(lxw_error(error));
    const qsizetype at = printed.indexOf(kSystemError);
    if (at >= 0) {
        const qsizetype from = at + kSystemError.size();
        const qsizetype end = printed.indexOf('\n', from);
        const QString system = QString::fromLocal8Bit(printed.mid(from, end < 0 ? -1 : end - from));
        reason = system.trimmed().isEmpty() ? reason : system.trimmed();
    }
    return writeFailureReason(path, reason, systemError);
}

// Starts a libxlsxwriter workbook for path with one sheet, named sheetName
// unless that is ""; "" when started, otherwise why not (book and sheet are
// then null), with what the library printed on standard error kept off the
// terminal.
QString startXlsxWorkbook(const QString& path, const QString& sheetName,
                          lxw_workbook_options& options, lxw_workbook*& book,
                          lxw_worksheet*& sheet) {
    const QByteArray fileName = QFile::encodeName(path);
    const QByteArray name = sheetName.toUtf8();
    StderrCapture capture;
    book = workbook_new_opt(fileName.constData(), &options);
    sheet =
        book ? workbook_add_worksheet(book, name.isEmpty() ? nullptr : name.constData()) : nullptr;
    const QByteArray printed = capture.end();
    if (sheet) {
        return {};
    }
    if (book) {
        lxw_workbook_free(std::exchange(book, nullptr));
    }
    return xlsxFailureReason(path, LXW_ERROR_CREATING_TMPFILE, printed);
}

// Writes and frees the workbook; "" when it was written, otherwise why not,
// in plain words (a full disk or the file-size limit said so), with what the
// library printed kept off the terminal.
QString closeXlsxWorkbook(lxw_workbook* book, const QString& path) {
    StderrCapture capture;
    errno = 0;
    const lxw_error error = workbook_close(book);
    const int systemError = errno;
    const QByteArray printed = capture.end();
    return error == LXW_NO_ERROR ? QString() : xlsxFailureReason(path, error, printed, systemError);
}

} // namespace

XlsxWriteFailure::XlsxWriteFailure(const QString& path, const QString& reason)
    : Failure(QStringLiteral("The workbook %1 could not be written: %2").arg(path, reason)),
      m_reason(reason) {}

XlsxFile::XlsxFile(const QString& path, const QString& sheetName)
    : m_path(path), m_scratchFolder(QFile::encodeName(QFileInfo(path).absolutePath())) {
    // Rows go straight to a scratch file as they are written.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = m_scratchFolder.data();
    const QString failed = startXlsxWorkbook(path, sheetName, options, m_book, m_sheet);
    if (!failed.isEmpty()) {
        throw XlsxWriteFailure(path, failed);
    }
}

XlsxFile::~XlsxFile() {
    if (m_book) {
        lxw_workbook_free(m_book);
    }
}

void XlsxFile::writeText(int row, int column, const QString& text) {
    write(row, column, escapeLiteralEscapes(text));
}

void XlsxFile::writeProtectedText(int row, int column, const QString& text) {
    write(row, column, text);
}

void XlsxFile::writeBoldText(int row, int column, const QString& text) {
    if (!m_bold) {
        m_bold = workbook_add_format(m_book);
        if (!m_bold) {
            throw XlsxWriteFailure(m_path, describe(LXW_ERROR_MEMORY_MALLOC_FAILED));
        }
        format_set_bold(m_bold);
    }
    write(row, column, escapeLiteralEscapes(text), m_bold);
}

void XlsxFile::writeNumber(int row, int column, double value) {
    check(row, worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(column), value, nullptr));
}

void XlsxFile::freezeRows(int rows) {
    worksheet_freeze_panes(m_sheet, lxw_row_t(rows), 0);
}

void XlsxFile::setAutofilter(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    const lxw_error error =
        worksheet_autofilter(m_sheet, lxw_row_t(firstRow), lxw_col_t(firstColumn),
                             lxw_row_t(lastRow), lxw_col_t(lastColumn));
    if (error != LXW_NO_ERROR) {
        throw XlsxWriteFailure(m_path, describe(error));
    }
}

void XlsxFile::write(int row, int column, const QString& text, lxw_format* format) {
    check(row, worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(column),
                                      text.toUtf8().constData(), format));
}

void XlsxFile::check(int row, int error) {
    if (error == LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE) {
        throw Failure(QStringLiteral("Row %1 has been written already: a sheet is written from "
                                     "top to bottom.")
                          .arg(row + 1));
    }
    if (error != LXW_NO_ERROR) {
        throw XlsxWriteFailure(m_path, describe(lxw_error(error)));
    }
}

void XlsxFile::fitColumn(int column, int longestText) {
    const double width = std::min(kMaxColumnWidth, longestText + kColumnPadding);
    const lxw_error error =
        worksheet_set_column(m_sheet, lxw_col_t(column), lxw_col_t(column), width, nullptr);
    if (error != LXW_NO_ERROR) {
        throw XlsxWriteFailure(m_path, describe(error));
    }
}

void XlsxFile::finish() {
    // The file is written by name: whatever now stands there must not be the catalogue.
    checkOutputFile(m_path);
    close();
    try {
        checkXlsxComplete(m_path);
    } catch (const Failure& failure) {
        throw XlsxWriteFailure(m_path, incompleteWriteReason(m_path, failure.description()));
    }
}

void XlsxFile::close() {
    const QString failed = closeXlsxWorkbook(std::exchange(m_book, nullptr), m_path);
    if (!failed.isEmpty()) {
        throw XlsxWriteFailure(m_path, failed);
    }
}
