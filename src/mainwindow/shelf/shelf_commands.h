#pragma once

#include "mainwindow/shelf/copies_dialog.h"
#include "mainwindow/shelf/sets_dialog.h"
#include "mainwindow/window_feature.h"

#include <QPointer>

class QAction;
class ScanMode;

// The collector's shelf on the window: "Copies…" of the highlighted movie
// (Ctrl+K), "Scan mode" (Ctrl+B) and "Sets…" of the ticked movies, each
// in the list's context menu and the Edit menu of the bar.
class ShelfCommands : public WindowFeature {
    Q_OBJECT
public:
    explicit ShelfCommands(WindowContext& context);
    ~ShelfCommands() override;

    // Opens the copies of the highlighted movie; nothing when none is.
    void openCopies();
    void openScanMode();
    void openSets();

    CopiesDialog* copiesDialog() const { return m_copies; }
    SetsDialog* setsDialog() const { return m_sets; }
    ScanMode& scanMode() const { return *m_scanMode; }

protected:
    void updateEntries() override;

private:
    QAction* m_copiesEntry = nullptr;
    QAction* m_scanEntry = nullptr;
    QAction* m_setsEntry = nullptr;
    ScanMode* m_scanMode = nullptr;
    QPointer<CopiesDialog> m_copies;
    QPointer<SetsDialog> m_sets;
};
