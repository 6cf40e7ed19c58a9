#pragma once

#include "core/lookup/empty_field_fill.h"
#include "core/lookup/lookup_source.h"
#include "mainwindow/services.h"
#include "mainwindow/window_feature.h"

#include <QPointer>
#include <QProgressDialog>
#include <memory>

class QAction;

// "Fill empty fields…" in the list's context menu: the ticked movies' empty
// fields filled from the film database the settings choose, where the best
// match is clear, one movie at a time while the window stays in use. A
// progress dialog offers Cancel (what was filled stays); at the end the
// list is refreshed in place and a summary says how many were filled and
// offers to tick the movies left alone, to do them one by one.
class FillEmptyFields : public WindowFeature {
    Q_OBJECT
public:
    explicit FillEmptyFields(WindowContext& context);
    ~FillEmptyFields() override;

    // Fills the ticked movies; nothing when none is ticked or a fill runs.
    void fillTicked();
    QProgressDialog* progressDialog() const { return m_dialog; }
    bool isRunning() const { return m_batch != nullptr; }

protected:
    void updateEntries() override;

private:
    void finish();

    Services m_services;
    QAction* m_entry = nullptr;
    std::unique_ptr<LookupSource> m_source;
    QPointer<EmptyFieldFill> m_batch;
    QPointer<QProgressDialog> m_dialog;
};
