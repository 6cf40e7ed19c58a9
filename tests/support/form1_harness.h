#pragma once

#include "core/catalogue/catalogue.h"
#include "core/spreadsheet/spreadsheet_automation.h"
#include "core/system/shell.h"
#include "mainwindow/form1.h"
#include "platform/clipboard.h"
#include "support/desktop_fakes.h"
#include "support/fakes.h"
#include "support/scripted_message_boxes.h"
#include "support/spreadsheet_fakes.h"
#include "support/temp_catalogue.h"

#include <memory>

// A main window over a scratch program folder and data folder, with
// scripted boxes, settings in memory and a recorded program end.
struct Form1Harness {
    TempCatalogue dirs;
    ScriptedMessageBoxes boxes;
    Catalogue movies; // the catalogue the window opens
    MemorySettings settings;
    RecordingProgramEnd programEnd;
    Shell shell{dirs.programFolder(), dirs.dataFolder()};
    SystemClipboard clipboard;
    FixedSpreadsheetFinder spreadsheetFinder;
    RecordingDocumentLauncher launcher;
    SpreadsheetAutomation spreadsheets{spreadsheetFinder, launcher, dirs.root()};
    SwitchableDataAccess dataAccess;
    RecordingProcessLauncher processes;
    FixedSystemInfo systemInfo;
    std::unique_ptr<Form1> form;

    Form1Harness() { form = std::make_unique<Form1>(services(shell)); }

    // This harness's services, over the given folders.
    Services services(Shell& folders) {
        return Services{boxes,     movies,       settings,   folders,   programEnd,
                        clipboard, spreadsheets, dataAccess, processes, systemInfo};
    }

    // Creates the installed catalogue and runs the start-up.
    Form1& loaded() {
        dirs.createInstalledCatalogue();
        form->Form_Load();
        return *form;
    }
    QString catalogue() const { return dirs.catalogueFile(); }
};
