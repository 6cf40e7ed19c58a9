// Builds the platform services, brings the main window up and runs it.
#include "app/program_options.h"
#include "desktop/program_icon.h"
#include "mainwindow/form1.h"
#include "platform/clipboard.h"
#include "platform/data_access.h"
#include "platform/message_boxes.h"
#include "platform/processes.h"
#include "platform/program_end.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/spreadsheet_automation.h"
#include "platform/system_info.h"

#include <QApplication>

int main(int argc, char* argv[]) {
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
    IniSettings settings;
    Shell shell;
    ExitProgram programEnd;
    SystemClipboard clipboard;
    DesktopSpreadsheetFinder spreadsheetFinder;
    DetachedLauncher launcher;
    SpreadsheetAutomation spreadsheets(spreadsheetFinder, launcher);
    SqliteDataAccess dataAccess;
    QtProcessLauncher processes;
    QtSystemInfo systemInfo;
    Form1 form(Services{boxes, settings, shell, programEnd, clipboard, spreadsheets, dataAccess,
                        processes, systemInfo});
    form.Form_Load();
    form.show();
    return QApplication::exec();
}
