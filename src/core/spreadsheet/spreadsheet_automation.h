#pragma once

#include "core/spreadsheet/spreadsheet.h"

#include <QString>
#include <memory>

// Creates spreadsheet application objects. Each creation looks for the
// desktop's spreadsheet program once and fails, with a description, when
// there is none.
class SpreadsheetAutomation {
public:
    // workFolder: where shown workbooks are written ("" = the temp folder).
    SpreadsheetAutomation(SpreadsheetFinder& finder, DocumentLauncher& launcher,
                          QString workFolder = {}, SheetLimits limits = {});

    std::unique_ptr<SpreadsheetApplication> createApplication();

private:
    SpreadsheetFinder& m_finder;
    DocumentLauncher& m_launcher;
    QString m_workFolder;
    SheetLimits m_limits;
};
