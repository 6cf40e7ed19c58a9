#pragma once

#include <QString>

class Worksheet;

// Writes the sheet to path as a one-sheet .xlsx workbook. Every value is a
// text cell, so nothing in it is ever taken for a number or a formula;
// fitted columns get the width of their longest text. Fails with a
// description when the file cannot be written completely.
void writeXlsxFile(const Worksheet& sheet, const QString& path);
