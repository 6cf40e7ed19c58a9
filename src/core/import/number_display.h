#pragma once

#include <QString>

// How a cell's number format shows a number.
struct NumberStyle {
    enum class Kind { General, Fixed, Percent, Scientific, Date, DateTime, Time };
    Kind kind = Kind::General;
    int decimals = 0;
    bool grouping = false;     // thousands separated by commas
    bool elapsedHours = false; // "[h]": hours past a day are not wrapped
};

// The style of a number format: one of the built-in formats by its number,
// or a workbook's own format code.
NumberStyle builtInNumberStyle(int formatId);
NumberStyle numberStyleOfCode(const QString& formatCode);

// The text a spreadsheet shows for a number in the style: dates as ISO dates
// (2001-05-04), times as 13:30:00, both as 2001-05-04 13:30:00; numbers in
// General with up to 15 significant digits. `date1904` is the workbook's date
// system.
QString displayNumber(double value, const NumberStyle& style, bool date1904);
