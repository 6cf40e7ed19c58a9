#pragma once

#include "core/catalogue/connection.h"
#include "core/catalogue/data_access.h"
#include "core/system/processes.h"
#include "core/system/system_info.h"

#include <QList>
#include <functional>
#include <optional>
#include <vector>

// The real SQLite objects, or a failure for either class when told to.
class SwitchableDataAccess : public DataAccessFactory {
public:
    std::unique_ptr<Connection> createConnection() override {
        return connectionFails ? throw Failure(QStringLiteral("Class not registered"))
                               : m_real.createConnection();
    }
    std::unique_ptr<Recordset> createRecordset() override {
        return recordsetFails ? throw Failure(QStringLiteral("Class not registered"))
                              : m_real.createRecordset();
    }
    bool connectionFails = false;
    bool recordsetFails = false;

private:
    SqliteDataAccess m_real;
};

// Records every launch and every pause, and never starts anything: a launch
// fails to start with `startError`, or "runs" for `runningPolls` looks and
// ends with `exitCode`. `onLaunch` runs as a launch starts.
class RecordingProcessLauncher : public ProcessLauncher {
public:
    struct Launch {
        QString commandLine;
        int windowStyle;
    };

    std::unique_ptr<StartedProcess> start(const QString& commandLine, int windowStyle) override {
        launches.push_back({commandLine, windowStyle});
        if (onLaunch) {
            onLaunch();
        }
        if (startError) {
            throw StartFailure(*startError, QStringLiteral("cannot start"));
        }
        return std::make_unique<Fake>(runningPolls, exitCode);
    }
    void pause(int milliseconds) override { sleeps.push_back(milliseconds); }

    std::optional<int> startError;
    int runningPolls = 0;
    int exitCode = 0;
    std::function<void()> onLaunch;
    QList<Launch> launches;
    std::vector<int> sleeps;

private:
    struct Fake : StartedProcess {
        Fake(int polls, int code) : polls(polls), code(code) {}
        bool queryExit(int& exitCode) override {
            exitCode = polls-- > 0 ? kStillActive : code;
            return polls < 0;
        }
        int polls, code;
    };
};

// Processor widths as told, or a failure.
class FixedSystemInfo : public SystemInfo {
public:
    std::vector<int> processorAddressWidths() override {
        return fails ? throw Failure(QStringLiteral("No management service.")) : widths;
    }
    std::vector<int> widths{64};
    bool fails = false;
};
