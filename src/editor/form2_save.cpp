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
const QString kMovieGone =
    QStringLiteral("This movie is no longer in the catalogue; another program may have deleted it. "
                   "Press Save again to store it as a new movie.");
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
    // A write that failed has been reported: it is no success, so the editor
    // stays open with everything typed, to try again or to cancel.
    if (!storeTyped(trap)) {
        m_finishing = false;
        return;
    }
    trap.step(108, [&] { m_services.boxes.tell(kDone); });
    trap.step(110, [&] { Unload(); });
    trap.step(112, [&] {
        if (m_services.listDVD) {
            m_services.listDVD();
        }
    });
}

bool Form2::storeTyped(ErrorTrap& trap) {
    // Every field goes in exactly as typed, the title untrimmed too.
    const DvdRecord movie = typedRecord();
    bool stored = false;
    if (trap.test(102, [&] { return mDVDID.isEmpty(); })) {
        trap.step(104, [&] {
            m_services.catalogue.add(movie);
            stored = true;
        });
    } else {
        trap.step(106, [&] {
            // A change that found no row stored nothing: say so, and let the
            // next Save add the typing as a new movie rather than lose it.
            if (!m_services.catalogue.change(movie)) {
                mDVDID.clear();
                throw Failure(kMovieGone);
            }
            stored = true;
        });
    }
    return stored;
}

void Form2::PushButton2_Click() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form2.PushButton2_Click"));
    trap.step(100, [&] { Unload(); });
}
