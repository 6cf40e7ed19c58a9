#pragma once

class Clipboard;
class MessageBoxes;
class ProgramEnd;
class Settings;
class Shell;
class SpreadsheetAutomation;

// The platform services the main window works with, built by main() and
// handed in; tests hand in scripted fakes.
struct Services {
    MessageBoxes& boxes;
    Settings& settings;
    Shell& shell;
    ProgramEnd& programEnd;
    Clipboard& clipboard;
    SpreadsheetAutomation& spreadsheets;
};
