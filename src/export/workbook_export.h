#pragma once

#include "core/formats/clipboard_text.h"

class ErrorTrap;
class ListSnapshot;
class SpreadsheetAutomation;

// How a workbook export ended.
struct WorkbookExportResult {
    // Values longer than a cell holds, cut to fit.
    int cutValues = 0;
    // A cell write failed a second time: the export stopped there and
    // nothing was shown.
    bool stoppedOnRepeatedFailure = false;
};

// Starts the spreadsheet application, adds a workbook and writes to its
// active sheet the captions in row 1 and each ticked row at its list position
// (sheet row = list row + 1; unticked rows stay empty), with every "=" taken
// out of all but the first column; then fits the columns and shows the
// application. Each step runs through the caller's trap with its report line
// (112 to 160). The first failing cell write is reported and the export goes
// on; a second one ends it, unreported, before anything is shown.
WorkbookExportResult copyListToWorkbook(ErrorTrap& trap, const ListSnapshot& list,
                                        SpreadsheetAutomation& automation,
                                        const ExportPump& pump = {});

// The text as a cell can hold it: at most the cell's limit of characters,
// never ending in half a character.
QString fitToCell(const QString& text, bool* cut = nullptr);
