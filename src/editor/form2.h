#pragma once

#include "core/catalogue/dvd_record.h"
#include "desktop/window_pointer.h"
#include "editor/editor_services.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <utility>

class ErrorTrap;
class QLabel;
class QLineEdit;
class QPushButton;

// The record editor "Add New Record": eight boxes for one movie's fields,
// "Save" and "Cancel". mDVDID decides what Save does: empty adds a new
// movie, otherwise it holds the id of the movie being changed.
//
// Like a designer form, the window object outlives its loads: it is loaded
// when first touched (a box is read or written, or it is shown), which runs
// Form_Load with empty boxes, and unloaded by Save, Cancel, Escape or the
// close box, which runs Form_QueryUnload and throws the boxes' contents away.
class Form2 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kBoxCount = DvdRecord::kFieldCount;

    explicit Form2(EditorServices services, QWidget* parent = nullptr);
    ~Form2() override;

    // Empty: add mode. Otherwise the id of the row being changed.
    QString mDVDID;

    // Text1 .. Text8 by their number; touching a box loads the window.
    QLineEdit& Text(int number);
    // The labels, Label1(0) "Title:" .. Label1(7) "Studio:".
    QLabel& Label1(int index);
    // PushButton1 "Save", PushButton2 "Cancel".
    QPushButton& PushButton(int number);
    WindowPointer& pointer() { return m_pointer; }

    bool isLoaded() const { return m_loaded; }
    // Loading starts a fresh opening: empty boxes without undo history, no
    // save or cancel begun, no year check pending.
    void Load();
    void Unload();
    // Loads the window and shows it modally, centred on the screen, with the
    // focus in Text1; returns once it has been unloaded.
    void showModal();

    // The movie as loadDVD read it for this opening, with the catalogue's
    // data version before the read. Save compares it with the movie as
    // stored then, to notice a change another program made meanwhile.
    void rememberStored(const DvdRecord& movie, std::optional<qint64> version);

    // Asked by Save before it adds a new movie, with the movie as typed:
    // false stores nothing and keeps the editor open with everything typed.
    // None by default; the window's features may set one.
    using AddCheck = std::function<bool(const DvdRecord&)>;
    void setAddCheck(AddCheck check) { m_addCheck = std::move(check); }

    void PushButton1_Click(); // Save
    void PushButton2_Click(); // Cancel
    void Text2_LostFocus();   // the year must be a number

Q_SIGNALS:
    // Save stored the boxes as the movie with this id (a new movie's id
    // just given), before the editor closes.
    void saved(qint64 id);

public Q_SLOTS:
    // Escape closes the editor like its close box: nothing is written.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void clearBoxes();
    void Form_Load();
    void Form_QueryUnload();
    // The year check queued when the focus left the year box, unless Save
    // has already run it.
    void runPendingYearCheck();
    // The year check itself; false when it refused the year and said so.
    bool checkYear();
    // The eight boxes as typed, with mDVDID as the id.
    DvdRecord typedRecord() const;
    enum class SaveOutcome { Stored, Failed, KeptOther, Dropped };
    SaveOutcome storeTyped(ErrorTrap& trap);
    SaveOutcome changeStored(const DvdRecord& movie);
    // The movie being changed is gone: asks whether to add the typing anew.
    SaveOutcome storeRemoved(DvdRecord movie);
    // Whether the catalogue may have changed since the movie was read.
    bool catalogueChangedSinceOpen();
    void centreOnScreen();

    EditorServices m_services;
    std::array<QLineEdit*, kBoxCount> m_boxes{};
    std::array<QLabel*, kBoxCount> m_labels{};
    std::array<QPushButton*, 2> m_buttons{};
    WindowPointer m_pointer;
    bool m_loaded = false;
    bool m_unloading = false;
    // A save or a cancel has begun for this opening: no other save may run,
    // however many Enter presses or clicks are still queued.
    bool m_finishing = false;
    bool m_yearCheckPending = false;
    // The id of the movie this Save stored.
    qint64 m_savedId = 0;
    struct StoredAtOpen {
        DvdRecord movie;
        std::optional<qint64> version;
    };
    std::optional<StoredAtOpen> m_storedAtOpen;
    AddCheck m_addCheck;
};
