#pragma once

#include "core/snapshots/snapshot_store.h"

#include <QObject>

class QThread;

// What the start-up found out about the catalogue file.
struct StartupFindings {
    CheckResult health;    // the quick check
    QString dailySnapshot; // the day's snapshot, when one was due and made
};

// The quick health check of the catalogue file and, on a sound catalogue,
// the day's snapshot when it is due, run on a thread of their own so that
// the window is not held up. Both open the file on connections of their
// own and never change the catalogue.
class StartupCheck : public QObject {
    Q_OBJECT
public:
    // How long after the window is shown the program starts the check: the
    // window is painted and answering by then, so the check's reading of the
    // whole file does not compete with the start-up for the processor.
    static constexpr int kDelayAfterShownMs = 1000;

    StartupCheck(const QString& catalogueFile, QObject* parent = nullptr);
    // Waits for a check still running.
    ~StartupCheck() override;

    void start();
    bool isRunning() const;
    // Valid once finished() was emitted.
    const StartupFindings& findings() const { return m_findings; }

    // The checks themselves, on the calling thread.
    static StartupFindings run(const SnapshotStore& store);

signals:
    void finished();

private:
    SnapshotStore m_store;
    StartupFindings m_findings;
    QThread* m_thread = nullptr;
};
