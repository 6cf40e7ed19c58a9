#pragma once

#include "core/import/import_limits.h"
#include "core/import/row_reader.h"
#include "core/import/text_encoding.h"

#include <QByteArray>
#include <QIODevice>
#include <array>
#include <memory>

// Reads a text table: CSV as RFC 4180 describes it (values in double quotes
// may hold separators, doubled quotes and line breaks) with the separator
// (comma, semicolon or tab) taken from the first line, tab-separated text, and
// the program's own clipboard copy (tab-separated, no header, no quoting, each
// value padded with blanks). UTF-8 with or without a byte-order mark; text
// that is not UTF-8 is read as Windows-1252.
//
// Lenient where spreadsheet programs are: a quote inside an unquoted value
// is part of it, and text after a closing quote is added to the value. Line
// breaks end a row as LF, CR LF or CR.
class TextTableReader : public RowReader {
public:
    // Reads the device (open for reading, able to seek) from its start. Checks
    // the whole file once for its encoding before the first row is read.
    explicit TextTableReader(std::unique_ptr<QIODevice> device, const ImportLimits& limits = {});

    bool readRow(SourceRow& row) override;

    QString formatName() const override;
    ColumnNaming columnNaming() const override;
    QString encodingNote() const override;
    QString placeWord() const override { return QStringLiteral("Line"); }
    qint64 progressDone() const override { return m_bufferStart + m_pos; }
    qint64 progressTotal() const override { return m_size; }

    char separator() const { return m_separator; }
    TextEncoding encoding() const { return m_encoding; }

private:
    void checkWholeFile();
    void chooseLayout();
    bool fill();
    void endField(SourceRow& row);
    void appendToField(const char* from, qsizetype count, const SourceRow& row, bool quoted);
    [[noreturn]] void nulFailure() const;

    std::unique_ptr<QIODevice> m_device;
    ImportLimits m_limits;
    qint64 m_size = 0;
    qint64 m_textStart = 0; // after a byte-order mark
    TextEncoding m_encoding = TextEncoding::Utf8;
    char m_separator = ',';
    bool m_clipboardCopy = false;

    QByteArray m_buffer;
    qint64 m_bufferStart = 0; // the file position of m_buffer's first byte
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    bool m_skipLineFeed = false; // a CR ended the last row; an LF right after it belongs to it
    qint64 m_line = 1;
    qint64 m_quoteLine = 0;
    QByteArray m_field;
    qsizetype m_cells = 0; // the cells of the row being read so far
    std::array<bool, 256> m_stopsUnquoted{};
    std::array<bool, 256> m_stopsQuoted{};
};
