// The main window and other programs: a change committed to the catalogue
// file by another program (reelkeeper-cli import or restore, a second
// window) is shown without losing the person's place in the list, and no
// command acts on a row the list shows but the catalogue no longer holds.
#include "core/catalogue/catalogue.h"
#include "core/report/message_boxes.h"
#include "mainwindow/catalogue_watch.h"
#include "mainwindow/form1.h"
#include "mainwindow/list_view.h"
#include "mainwindow/list_view_state.h"

#include <QApplication>

namespace {
const QString kMovieGone =
    QStringLiteral("This movie is no longer in the list: another program has changed the "
                   "catalogue. The list has been refreshed.");
} // namespace

bool Form1::refreshList() {
    const ListViewState state(*m_list);
    // The refill shows the busy pointer and then the arrow; a refresh the
    // person did not ask for leaves the pointer as it was.
    const Pointer shape = m_pointer.shape();
    refillList();
    m_pointer.setShape(shape);
    return state.restore(*m_list);
}

bool Form1::catchUpWithCatalogue() {
    if (!m_watch->changedSinceFill() || refreshList()) {
        return true;
    }
    tellMovieGone();
    return false;
}

void Form1::tellMovieGone() {
    m_services.boxes.tell(kMovieGone);
}

void Form1::catalogueChangedOutside() {
    // Not while the person answers a question or edits a movie, nor while an
    // export or a fill is under way (they show the busy pointer): the
    // commands catch up themselves, and so does the next look.
    if (!m_loaded || m_closed || !isVisible() || QApplication::activeModalWidget() ||
        m_pointer.shape() == Pointer::Busy) {
        return;
    }
    refreshList();
}
