#pragma once

#include "platform/connection.h"
#include "platform/data_access.h"
#include "platform/failure.h"
#include "platform/processes.h"
#include "platform/system_info.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The real SQLite objects, or a failure for either class when told to.
class SwitchableDataAccess : public DataAccessFactory {
public:
    std::unique_ptr<Connection> createConnection() override {
        ++connectionsCreated;
        if (connectionFails) {
            throw Failure(QStringLiteral("Class not registered"));
        }
        return m_real.createConnection();
    }
    std::unique_ptr<Recordset> createRecordset() override {
        ++recordsetsCreated;
        if (recordsetFails) {
            throw Failure(QStringLiteral("Class not registered"));
        }
        return m_real.createRecordset();
    }

    bool connectionFails = false;
    bool recordsetFails = false;
    int connectionsCreated = 0;
    int recordsetsCreated = 0;

private:
    SqliteDataAccess m_real;
};

// Records every launch and never starts anything: each launch either fails
// to start with `startError`, or "runs" for `runningPolls` looks and ends
// with `exitCode`. `onLaunch` runs at the start, for tests that look at the
// program's state then.
class RecordingLauncher : public ProcessLauncher {
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
    void Sleep(int milliseconds) override { sleeps.push_back(milliseconds); }

    std::optional<int> startError;
    int runningPolls = 0;
    int exitCode = 0;
    std::function<void()> onLaunch;
    QList<Launch> launches;
    std::vector<int> sleeps;

private:
    class Fake : public StartedProcess {
    public:
        Fake(int polls, int code) : m_polls(polls), m_code(code) {}
        bool queryExit(int& exitCode) override {
            if (m_polls-- > 0) {
                exitCode = kStillActive;
                return false;
            }
            exitCode = m_code;
            return true;
        }

    private:
        int m_polls;
        int m_code;
    };
};

// Processor widths as told; fails when `fails` is set.
class FixedSystemInfo : public SystemInfo {
public:
    std::vector<int> processorAddressWidths() override {
        if (fails) {
            throw Failure(QStringLiteral("The management service is not available."));
        }
        return widths;
    }

    std::vector<int> widths{64};
    bool fails = false;
};
