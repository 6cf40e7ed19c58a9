#include "core/spreadsheet/spreadsheet_automation.h"

#include "core/report/failure.h"

SpreadsheetAutomation::SpreadsheetAutomation(SpreadsheetFinder& finder, DocumentLauncher& launcher,
                                             QString workFolder, SheetLimits limits)
    : m_finder(finder), m_launcher(launcher), m_workFolder(std::move(workFolder)),
      m_limits(limits) {}

std::unique_ptr<SpreadsheetApplication> SpreadsheetAutomation::createApplication() {
    std::optional<SpreadsheetProgram> program = m_finder.find();
    if (!program) {
        throw Failure(QStringLiteral(
            "No spreadsheet program was found: neither LibreOffice Calc nor a program that "
            "opens .xlsx files is installed."));
    }
    return std::make_unique<SpreadsheetApplication>(std::move(*program), m_launcher, m_workFolder,
                                                    m_limits);
}
