#pragma once

// The program's services as main() builds them, over a scratch data folder
// holding a generated catalogue: for the benchmarks that run the real window.
#include "core/catalogue/catalogue.h"
#include "core/catalogue/data_access.h"
#include "core/settings/settings.h"
#include "core/spreadsheet/spreadsheet_automation.h"
#include "core/spreadsheet/spreadsheet_program.h"
#include "core/system/processes.h"
#include "core/system/program_end.h"
#include "core/system/shell.h"
#include "core/system/system_info.h"
#include "generated_catalogue.h"
#include "mainwindow/services.h"
#include "platform/clipboard.h"
#include "silent_boxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QTemporaryDir>

// Settings kept in memory for one run.
class MemorySettings : public SettingsStore {
public:
    QString value(const QString& key, const QString& fallback) override {
        return m_values.value(key, fallback);
    }
    void setValue(const QString& key, const QString& value) override { m_values[key] = value; }

private:
    QMap<QString, QString> m_values;
};

// A scratch data folder whose catalogue holds `movies` generated movies,
// and the copies and loans of `shelf`.
struct GeneratedFolders {
    explicit GeneratedFolders(int movies, GeneratedShelf shelf = {}) {
        QDir().mkpath(data + QStringLiteral("/Tarnwick/Reelkeeper"));
        writeGeneratedCatalogue(catalogue, movies, shelf);
    }
    QTemporaryDir dir;
    QString data = dir.path() + QStringLiteral("/data");
    QString catalogue = data + QStringLiteral("/Tarnwick/Reelkeeper/dbDVD.mdb");
};

// The services main() builds, over a data folder.
struct GeneratedProgram {
    explicit GeneratedProgram(const QString& dataFolder)
        : shell(QCoreApplication::applicationDirPath(), dataFolder) {}
    SilentBoxes boxes;
    Catalogue catalogue;
    MemorySettings settings;
    Shell shell;
    ExitProgram programEnd;
    SystemClipboard clipboard;
    DesktopSpreadsheetFinder spreadsheetFinder;
    DetachedLauncher launcher;
    SpreadsheetAutomation spreadsheets{spreadsheetFinder, launcher};
    SqliteDataAccess dataAccess;
    QtProcessLauncher processes;
    QtSystemInfo systemInfo;
    Services services() {
        return Services{boxes,     catalogue,    settings,   shell,     programEnd,
                        clipboard, spreadsheets, dataAccess, processes, systemInfo};
    }
};
