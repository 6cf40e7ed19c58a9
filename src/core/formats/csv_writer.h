#pragma once

#include <QByteArray>
#include <QStringConverter>
#include <QStringView>

class QIODevice;

// Writes comma-separated values as RFC 4180 has them, in UTF-8: fields joined
// by commas, every record ended by CR LF, and a field that holds a comma, a
// double quote, CR or LF put between double quotes with each double quote
// doubled. Nothing else is changed: blanks, tabs and leading '=' stay as
// they are. Output is gathered and written in large pieces; fails (throws
// Failure) when the device refuses a write.
class CsvWriter {
public:
    explicit CsvWriter(QIODevice& out);
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    // Adds a field to the current record.
    void field(QStringView text);
    // Ends the current record.
    void endRecord();
    // Writes out what is gathered; the destructor does too, without failing.
    void flush();

private:
    void append(QStringView text);

    QIODevice& m_out;
    QByteArray m_buffer;
    QStringEncoder m_toUtf8{QStringEncoder::Utf8};
    bool m_firstField = true;
};
