#pragma once

#include "mainwindow/services.h"
#include "mainwindow/window_feature.h"

class RestoreDialog;
class StartupCheck;

// The main window's safety net: "&Restore a snapshot…" in the list's context
// menu and the File menu, "Back up now" and "Check the catalogue" in the
// File menu, and once the window is shown the quick health check (a damaged
// catalogue is reported once, with the offer to restore the newest sound
// snapshot) and the day's snapshot, on a thread of their own.
class SnapshotRestore : public WindowFeature {
    Q_OBJECT
public:
    explicit SnapshotRestore(WindowContext& context);

    // Starts the check a while after the window is shown.
    void start() override;

    // The dialog listing the snapshots, then the restore of the one chosen.
    void chooseSnapshotToRestore();
    RestoreDialog& restoreDialog();
    // Puts the snapshot's contents into the catalogue after snapshotting the
    // current ones, then refills the list; says what went wrong when it could
    // not. `damaged`: the current contents are damaged, so a failed safety
    // snapshot does not stop the restore.
    bool restoreSnapshot(const QString& file, bool damaged = false);
    // The health check and the day's snapshot, now.
    void checkAfterShown();
    StartupCheck* startupCheck() const { return m_startupCheck; }
    // "Back up now": a snapshot of the catalogue now; says where it is.
    void backUpNow();
    // "Check the catalogue": the full health check, its result in one message.
    void checkNow();

protected:
    void updateEntries() override;

private:
    void reportStartupCheck();
    void refillList();

    Services m_services;
    RestoreDialog* m_restoreDialog = nullptr;
    StartupCheck* m_startupCheck = nullptr;
    QList<QAction*> m_entries; // greyed without an open catalogue
};
