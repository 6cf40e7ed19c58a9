// Builds the platform services, brings the main window up and runs it.
#include "app/program_options.h"
#include "core/catalogue/catalogue.h"
#include "core/catalogue/data_access.h"
#include "core/settings/settings.h"
#include "core/spreadsheet/spreadsheet_automation.h"
#include "core/system/processes.h"
#include "core/system/program_end.h"
#include "core/system/shell.h"
#include "core/system/system_info.h"
#include "desktop/program_icon.h"
#include "desktop/qt_message_boxes.h"
#include "mainwindow/form1.h"
#include "platform/clipboard.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <csignal>

namespace {

// Where workbooks for the spreadsheet program are written: the user's cache
// folder, made when missing ("" when it cannot be, which writes them to the
// temp folder and keeps them there).
QString workbookFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                           QStringLiteral("/workbooks");
    return QDir().mkpath(folder) ? folder : QString();
}

} // namespace

int main(int argc, char* argv[]) {
    // A write past the file-size limit (ulimit -f) fails with an error that
    // is reported like a full disk, instead of ending the program silently.
    std::signal(SIGXFSZ, SIG_IGN);
    if (const auto answered = ProgramOptions::answerWithoutWindow(argc, argv)) {
        return *answered;
    }
    QApplication app(argc, argv);
    if (const auto refused = ProgramOptions::refuseUnknown(QApplication::arguments())) {
        return *refused;
    }
    QApplication::setApplicationName(QStringLiteral("Reelkeeper"));
    QApplication::setOrganizationName(QStringLiteral("Tarnwick"));
    QApplication::setDesktopFileName(QStringLiteral(REELKEEPER_APP_ID));
    QApplication::setWindowIcon(programIcon());

    QtMessageBoxes boxes;
    Catalogue catalogue;
    IniSettings settings;
    Shell shell;
    ExitProgram programEnd;
    SystemClipboard clipboard;
    DesktopSpreadsheetFinder spreadsheetFinder;
    DetachedLauncher launcher;
    // Workbooks handed to the spreadsheet program are kept a day, in a folder
    // of their own, and removed at a later start.
    const QString workbooks = workbookFolder();
    SpreadsheetAutomation spreadsheets(spreadsheetFinder, launcher, workbooks);
    spreadsheets.removeWorkbooksOlderThan(std::chrono::hours(24));
    SqliteDataAccess dataAccess;
    QtProcessLauncher processes;
    QtSystemInfo systemInfo;
    Form1 form(Services{boxes, catalogue, settings, shell, programEnd, clipboard, spreadsheets,
                        dataAccess, processes, systemInfo});
    form.Form_Load();
    form.show();
    return QApplication::exec();
}
