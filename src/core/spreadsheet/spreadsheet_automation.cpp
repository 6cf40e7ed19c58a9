#include "core/spreadsheet/spreadsheet_automation.h"

#include "core/report/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

void SpreadsheetAutomation::removeWorkbooksOlderThan(std::chrono::seconds age,
                                                     const QDateTime& now) const {
    if (m_workFolder.isEmpty()) {
        return;
    }
    const QDateTime oldest = now.addSecs(-age.count());
    const QFileInfoList books = QDir(m_workFolder)
                                    .entryInfoList({QString::fromLatin1(kWorkbookNamePattern)},
                                                   QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& book : books) {
        if (book.lastModified() < oldest) {
            QFile::remove(book.filePath());
        }
    }
}
