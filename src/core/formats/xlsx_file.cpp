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

} // namespace

XlsxFile::XlsxFile(const QString& path)
    : m_path(path), m_scratchFolder(QFile::encodeName(QFileInfo(path).absolutePath())) {
    const QByteArray fileName = QFile::encodeName(path);
    // Rows go straight to a scratch file as they are written.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = m_scratchFolder.data();
    m_book = workbook_new_opt(fileName.constData(), &options);
    if (!m_book) {
        throw writeFailure(path, QStringLiteral("no workbook could be started."));
    }
    m_sheet = workbook_add_worksheet(m_book, nullptr);
    if (!m_sheet) {
        lxw_workbook_free(std::exchange(m_book, nullptr));
        throw writeFailure(path, QStringLiteral("no sheet could be added."));
    }
}

XlsxFile::~XlsxFile() {
    if (m_book) {
        lxw_workbook_free(m_book);
    }
}

void XlsxFile::writeText(int row, int column, const QString& text) {
    const lxw_error error =
        worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(column),
                               escapeLiteralEscapes(text).toUtf8().constData(), nullptr);
    if (error == LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE) {
        throw Failure(QStringLiteral("Row %1 has been written already: a sheet is written from "
                                     "top to bottom.")
                          .arg(row + 1));
    }
    if (error != LXW_NO_ERROR) {
        throw writeFailure(m_path, describe(error));
    }
}

void XlsxFile::fitColumn(int column, int longestText) {
    const double width = std::min(kMaxColumnWidth, longestText + kColumnPadding);
    const lxw_error error =
        worksheet_set_column(m_sheet, lxw_col_t(column), lxw_col_t(column), width, nullptr);
    if (error != LXW_NO_ERROR) {
        throw writeFailure(m_path, describe(error));
    }
}

void XlsxFile::finish() {
    const lxw_error closed = workbook_close(std::exchange(m_book, nullptr));
    if (closed != LXW_NO_ERROR) {
        throw writeFailure(m_path, describe(closed));
    }
    try {
        checkXlsxComplete(m_path);
    } catch (const Failure& failure) {
        throw writeFailure(m_path, failure.description());
    }
}
