// Builds the platform services, brings the main window up and runs it.
#include "desktop/program_icon.h"
#include "mainwindow/form1.h"
#include "platform/message_boxes.h"
#include "platform/program_end.h"
#include "platform/settings.h"
#include "platform/shell.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Reelkeeper"));
    QApplication::setOrganizationName(QStringLiteral("Tarnwick"));
    QApplication::setDesktopFileName(QStringLiteral("reelkeeper"));
    QApplication::setWindowIcon(programIcon());

    QtMessageBoxes boxes;
    IniSettings settings;
    Shell shell;
    ExitProgram programEnd;
    Form1 form(Services{boxes, settings, shell, programEnd});
    form.Form_Load();
    form.show();
    return QApplication::exec();
}
