#pragma once

#include "core/formats/clipboard_text.h"

class ErrorTrap;
class ListSnapshot;
class SpreadsheetAutomation;

// How a workbook export ended.
struct WorkbookExportResult {
    // Values longer than a cell holds, cut to fit.
    int cutValues = 0;
    // Cell writes kept failing: the export stopped there and nothing was
    // shown; stopReason holds the last failure's description.
    bool stoppedEarly = false;
    QString stopReason;
    // stop said so (the main window has closed): the export ended at that
    // point, showed nothing and reported nothing more.
    bool stoppedByCaller = false;

    bool ended() const { return stoppedEarly || stoppedByCaller; }
};

// How many cell writes may fail before the export stops.
inline constexpr int kMostFailedCells = 3;

// Starts the spreadsheet application, adds a workbook and writes to its
// active sheet the captions in row 1 and each ticked row at its list position
// (sheet row = list row + 1; unticked rows stay empty), with every "=" taken
// out of all but the first column; then fits the columns and shows the
// application. Each step runs through the caller's trap with its report line
// (112 to 160). A failing cell write is reported once per distinct failure
// (line and description) and the export goes on; it stops, before anything
// is shown, when a failure comes back or kMostFailedCells writes have failed.
// After every pump it asks stop, and ends at once when told to.
WorkbookExportResult copyListToWorkbook(ErrorTrap& trap, const ListSnapshot& list,
                                        SpreadsheetAutomation& automation,
                                        const ExportPump& pump = {}, const ExportStop& stop = {});

// The text as a cell can hold it: at most the cell's limit of characters,
// never ending in half a character.
QString fitToCell(const QString& text, bool* cut = nullptr);
