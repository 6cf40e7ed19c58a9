#pragma once

// What one sheet of an .xlsx workbook holds at most.

// Characters in one cell.
inline constexpr int kCellTextLimit = 32767;
// Rows and columns in one sheet.
inline constexpr int kSheetRows = 1048576;
inline constexpr int kSheetColumns = 16384;
