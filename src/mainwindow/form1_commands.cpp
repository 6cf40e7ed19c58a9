// The catalogue commands behind the main window's buttons: add, delete,
// edit, clear, load the example movies, help.
#include "core/catalogue/catalogue.h"
#include "core/catalogue/movie_column.h"
#include "core/report/contact.h"
#include "core/report/error_trap.h"
#include "core/report/message_boxes.h"
#include "editor/form2.h"
#include "editor/load_dvd.h"
#include "mainwindow/catalogue_watch.h"
#include "mainwindow/form1.h"
#include "mainwindow/list_view.h"
#include "mainwindow/snapshots/safety_snapshot.h"

#include <algorithm>

namespace {

const QString kDeleteQuestion = QStringLiteral("Are you sure you want to delete ");
const QString kDeleteTitle = QStringLiteral("Delete Selected");
const QString kClearQuestion = QStringLiteral("Are you sure you want to clear the database?\r\n"
                                              "Note: You cannot undo this function.");
const QString kClearTitle = QStringLiteral("Clear Database");
const QString kHelpText = QStringLiteral("Questions? Please contact Team Tarnwick at ");
const QString kNoSelection = QStringLiteral("No movie is selected.");

// The example movies, each with the report line that adds it. The catalogue
// builds each insert as it adds the movie, so the lines of creating a
// record-set and building the statements (100, 102, 106, 110) have nothing
// that could fail.
struct ExampleMovie {
    DvdRecord movie;
    int line = 0;
};
const ExampleMovie kExampleMovies[] = {
    {{{},
      QStringLiteral("Titanic"),
      QStringLiteral("1995"),
      QStringLiteral("Drama"),
      QStringLiteral("L. DiCaprio, K. Winslett"),
      QStringLiteral("J. Cameron"),
      QStringLiteral("3:14"),
      QStringLiteral("R"),
      QStringLiteral("20CF")},
     104},
    {{{},
      QStringLiteral("Casablanca"),
      QStringLiteral("1942"),
      QStringLiteral("Drama"),
      QStringLiteral("Humphrey Bogart, Ingrid Bergman"),
      QStringLiteral("Michael Curtiz"),
      QStringLiteral("1:43"),
      QStringLiteral("R"),
      QStringLiteral("Warner")},
     108},
    {{{},
      QStringLiteral("The Seven Year Itch"),
      QStringLiteral("1955"),
      QStringLiteral("Comedy"),
      QStringLiteral("Marilyn Monroe, Tom Ewell"),
      QStringLiteral("Billy Wilder"),
      QStringLiteral("1:45"),
      QStringLiteral("R"),
      QStringLiteral("20CF")},
     112},
};

// A cell of the list's selected row; fails plainly when no row is selected
// (the commands tell the person before they get here).
QString selectedCell(ListView& list, int column) {
    const int row = list.selectedRow();
    if (row < 0) {
        throw Failure(kNoSelection);
    }
    return list.items().cell(row, column);
}

// Asks a Yes/No question as one numbered step. Only an answer of Yes goes
// on: when the question itself fails (no movie selected) the failure is
// reported and counts as No, so nothing is changed without the user's Yes.
template <class Text>
bool confirmed(ErrorTrap& trap, int step, MessageBoxes& boxes, Text&& text, const QString& title) {
    bool yes = false;
    trap.step(step, [&] { yes = boxes.ask(text(), title) == Answer::Yes; });
    return yes;
}

} // namespace

Form2& Form1::form2() {
    if (!m_form2) {
        m_form2 = new Form2(EditorServices{m_services.boxes, m_services.shell, m_services.catalogue,
                                           [this] { refillList(); }},
                            this);
    }
    return *m_form2;
}

bool Form1::movieHighlighted() {
    // Nothing highlighted is an ordinary moment, not a fault of the program:
    // a plain box says so and the command ends there.
    if (m_list->selectedRow() >= 0) {
        return true;
    }
    m_services.boxes.tell(kNoSelection);
    return false;
}

bool Form1::featuresAllowDelete() {
    const int row = m_list->selectedRow();
    bool number = false;
    const qint64 id =
        row < 0 ? 0 : m_list->items().cell(row, columnIndex(MovieColumn::Id)).toLongLong(&number);
    if (!number) {
        return true; // nothing to ask about; the removal reports it
    }
    return std::ranges::all_of(m_deleteChecks, [id](const auto& check) { return check({id}); });
}

void Form1::PushButton4_Click() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form1.PushButton4_Click"));
    // The editor comes up for a new movie and refills the list itself when it saves.
    trap.step(100, [&] { form2().showModal(); });
}

void Form1::PushButton1_Click() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form1.PushButton1_Click"));
    if (!trap.test(100, [&] { return m_list->items().itemCount() != 0; })) {
        return;
    }
    // The question names the movie as the catalogue holds it now.
    if (!catchUpWithCatalogue() || !movieHighlighted()) {
        return;
    }
    const bool yes = confirmed(
        trap, 102, m_services.boxes,
        [&] {
            return kDeleteQuestion + selectedCell(*m_list, columnIndex(MovieColumn::Title)) +
                   QLatin1Char('?');
        },
        kDeleteTitle);
    // After the Yes, so a feature reads what goes with the movie last thing before it goes.
    if (!yes || !featuresAllowDelete()) {
        return;
    }
    bool gone = false;
    trap.step(104, [&] {
        gone = !m_services.catalogue.remove(selectedCell(*m_list, columnIndex(MovieColumn::Id)));
    });
    if (gone) { // another program removed it after all
        refreshList();
        tellMovieGone();
        return;
    }
    trap.step(106, [&] { refillList(); });
}

void Form1::PushButton5_Click() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form1.PushButton5_Click"));
    if (!trap.test(100, [&] { return m_list->items().itemCount() != 0; })) {
        return;
    }
    if (!catchUpWithCatalogue() || !movieHighlighted()) {
        return;
    }
    // loadDVD reports its own failures; only taking the selected id is reported here.
    auto loaded = LoadResult::Unreadable;
    trap.step(102, [&] {
        loaded = loadDVD(form2(), selectedCell(*m_list, columnIndex(MovieColumn::Id)),
                         m_services.catalogue, m_services.boxes);
    });
    if (loaded == LoadResult::NoSuchMovie) { // removed after all: nothing to edit
        refreshList();
        tellMovieGone();
        return;
    }
    trap.step(104, [&] { form2().showModal(); });
}

void Form1::PushButton6_Click() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form1.PushButton6_Click"));
    if (!trap.test(100, [&] { return m_list->items().itemCount() != 0; })) {
        return;
    }
    // The person sees what is cleared: the movies the catalogue holds now.
    if (m_watch->changedSinceFill()) {
        refreshList();
        if (m_list->items().itemCount() == 0) {
            return;
        }
    }
    if (!confirmed(
            trap, 102, m_services.boxes, [] { return kClearQuestion; }, kClearTitle)) {
        return;
    }
    // Cleared movies come back from this snapshot; without one, only on a second Yes.
    if (!snapshotBeforeChange(m_services.catalogue, m_services.boxes, SnapshotReason::Clear)) {
        return;
    }
    trap.step(104, [&] { m_services.catalogue.clear(); });
    trap.step(106, [&] { refillList(); });
}

void Form1::PushButton7_Click() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form1.PushButton7_Click"));
    // Added whatever the catalogue already holds; a failing insert is
    // reported and the next movie is still tried.
    for (const ExampleMovie& example : kExampleMovies) {
        trap.step(example.line, [&] { m_services.catalogue.add(example.movie); });
    }
    trap.step(114, [&] { refillList(); });
}

void Form1::PushButton8_Click() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form1.PushButton8_Click"));
    trap.step(100, [&] { m_services.boxes.tell(kHelpText + QLatin1String(kContactAddress)); });
}
