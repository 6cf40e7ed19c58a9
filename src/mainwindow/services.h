#pragma once

class Catalogue;
class Clipboard;
class MessageBoxes;
class ProgramEnd;
class SettingsStore;
class Shell;
class SpreadsheetAutomation;
class DataAccessFactory;
class ProcessLauncher;
class SystemInfo;

// The platform services the main window works with, built by main() and
// handed in; tests hand in scripted fakes.
struct Services {
    MessageBoxes& boxes;
    Catalogue& catalogue;
    SettingsStore& settings;
    Shell& shell;
    ProgramEnd& programEnd;
    Clipboard& clipboard;
    SpreadsheetAutomation& spreadsheets;
    DataAccessFactory& dataAccess;
    ProcessLauncher& processes;
    SystemInfo& systemInfo;
};
