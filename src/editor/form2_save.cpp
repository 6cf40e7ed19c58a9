// Save and Cancel of the record editor.
#include "editor/form2.h"

#include "core/catalogue/catalogue.h"
#include "core/report/error_trap.h"
#include "core/report/message_boxes.h"

#include <QLineEdit>
#include <utility>

namespace {
const QString kTitleMissing = QStringLiteral("You forgot to input Title.");
const QString kDone = QStringLiteral("Done.");
const QString kChangedMeanwhile =
    QStringLiteral("Another program has changed this movie since you opened it.\r\n\r\n"
                   "Yes stores what you typed over that change; No keeps the other program's "
                   "change and drops what you typed.");
const QString kRemovedMeanwhile =
    QStringLiteral("Another program has removed this movie from the catalogue since you opened "
                   "it.\r\n\r\nYes stores what you typed as a new movie; No drops it.");
} // namespace

DvdRecord Form2::typedRecord() const {
    DvdRecord movie;
    movie.id = mDVDID;
    for (int i = 0; i < kBoxCount; ++i) {
        movie.field(i) = m_boxes[std::size_t(i)]->text();
    }
    return movie;
}

void Form2::PushButton1_Click() {
    // Once this opening is being saved or cancelled, a second Enter or click
    // still queued (the closing lets pending events run while the typing is
    // still in the boxes) must not store anything again.
    if (m_finishing) {
        return;
    }
    // Enter in the year box, or a click that has just taken the focus from
    // it, checks the year first, exactly as leaving the box does.
    if (std::exchange(m_yearCheckPending, false) || focusWidget() == m_boxes[1]) {
        if (!checkYear()) {
            return;
        }
    }
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form2.PushButton1_Click"));
    // A title of nothing but blanks counts as missing; the window stays as it is.
    if (trap.test(100, [&] { return Text(1).text().trimmed().isEmpty(); })) {
        trap.step(114, [&] { m_services.boxes.tell(kTitleMissing); });
        return;
    }
    m_finishing = true;
    // The check may ask a question; Enter presses queued meanwhile find the
    // save begun. Declined, the editor stays as it is for another try.
    if (mDVDID.isEmpty() && m_addCheck && !m_addCheck(typedRecord())) {
        m_finishing = false;
        return;
    }
    const SaveOutcome outcome = storeTyped(trap);
    // A write that failed has been reported: it is no success, so the editor
    // stays open with everything typed, to try again or to cancel.
    if (outcome == SaveOutcome::Failed) {
        m_finishing = false;
        return;
    }
    // Only what was stored is confirmed; the list shows the catalogue as it
    // now is in every case.
    if (outcome == SaveOutcome::Stored) {
        emit saved(m_savedId);
        trap.step(108, [&] { m_services.boxes.tell(kDone); });
    }
    trap.step(110, [&] { Unload(); });
    trap.step(112, [&] {
        if (m_services.listDVD) {
            m_services.listDVD();
        }
    });
}

Form2::SaveOutcome Form2::storeTyped(ErrorTrap& trap) {
    // Every field goes in exactly as typed, the title untrimmed too.
    const DvdRecord movie = typedRecord();
    SaveOutcome outcome = SaveOutcome::Failed;
    if (trap.test(102, [&] { return mDVDID.isEmpty(); })) {
        trap.step(104, [&] {
            m_savedId = m_services.catalogue.add(movie);
            outcome = SaveOutcome::Stored;
        });
    } else {
        trap.step(106, [&] { outcome = changeStored(movie); });
    }
    return outcome;
}

Form2::SaveOutcome Form2::changeStored(const DvdRecord& movie) {
    // Nothing is stored over a change this editor has not shown: the movie
    // as stored now is compared with the movie as it was read, field by
    // field, whenever the catalogue may have changed since.
    if (catalogueChangedSinceOpen()) {
        const std::optional<DvdRecord> now = m_services.catalogue.movie(mDVDID);
        if (!now) {
            return storeRemoved(movie);
        }
        const bool changed =
            m_storedAtOpen && !sameFields(*now, m_storedAtOpen->movie) && !sameFields(*now, movie);
        if (changed && m_services.boxes.askDefaultNo(kChangedMeanwhile) != Answer::Yes) {
            return SaveOutcome::KeptOther;
        }
    }
    if (!m_services.catalogue.change(movie)) {
        return storeRemoved(movie);
    }
    m_savedId = movie.id.toLongLong();
    return SaveOutcome::Stored;
}

Form2::SaveOutcome Form2::storeRemoved(DvdRecord movie) {
    if (m_services.boxes.ask(kRemovedMeanwhile) != Answer::Yes) {
        return SaveOutcome::Dropped;
    }
    // This opening adds from now on: should the add fail, the next Save
    // tries the add again rather than the change.
    mDVDID.clear();
    m_storedAtOpen.reset();
    movie.id.clear();
    m_savedId = m_services.catalogue.add(movie);
    return SaveOutcome::Stored;
}

bool Form2::catalogueChangedSinceOpen() {
    if (!m_storedAtOpen) {
        return true;
    }
    const std::optional<qint64> now = m_services.catalogue.dataVersion();
    return !now || !m_storedAtOpen->version || *now != *m_storedAtOpen->version;
}

void Form2::PushButton2_Click() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form2.PushButton2_Click"));
    trap.step(100, [&] { Unload(); });
}
