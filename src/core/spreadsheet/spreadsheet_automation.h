#pragma once

#include "core/spreadsheet/spreadsheet.h"

#include <QDateTime>
#include <QString>
#include <chrono>
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

    // Workbooks handed to the spreadsheet program stay in the work folder
    // while the program may still have them open; a later start removes the
    // ones last changed more than `age` before `now`. Nothing is removed
    // from the temp folder, which other programs share.
    void removeWorkbooksOlderThan(std::chrono::seconds age,
                                  const QDateTime& now = QDateTime::currentDateTimeUtc()) const;

private:
    SpreadsheetFinder& m_finder;
    DocumentLauncher& m_launcher;
    QString m_workFolder;
    SheetLimits m_limits;
};
