#include "mainwindow/lookup/movie_lookup.h"

#include "core/covers/cover_store.h"
#include "core/lookup/lookup_links.h"
#include "core/report/message_boxes.h"
#include "coverimage/cover_image.h"
#include "editor/form2.h"
#include "mainwindow/lookup/lookup_dialog.h"
#include "mainwindow/services.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <utility>

namespace {

const QString kLookUpEntry = QStringLiteral("Look &up\u2026");
const QKeySequence kLookUpKey(Qt::CTRL | Qt::Key_L);
const QString kTitleFirst = QStringLiteral("Type the movie's title first, then look it up.");
const QString kLinkNotStored =
    QStringLiteral("The movie was saved, but its link to %1 was not stored. %2");
const QString kPosterNotStored =
    QStringLiteral("The movie was saved, but the poster was not stored as its cover. %1");
const QString kPosterName = QStringLiteral("%1's poster");

} // namespace

MovieLookup::MovieLookup(WindowContext& context)
    : WindowFeature(context, QStringLiteral("MovieLookup")) {
    // Ctrl+L on the list looks the highlighted movie up, as it does in the
    // editor for the movie typed there.
    m_entry = addEntry(
        kLookUpEntry, kLookUpKey, [this] { lookUpHighlighted(); }, BarMenu::Edit);
    MovieLookup::updateEntries();
}

void MovieLookup::start() {
    // The editor takes Ctrl+L; it shows no control for it.
    Form2& editor = context().editor();
    auto* key = new QAction(&editor);
    key->setObjectName(QStringLiteral("lookUpKey"));
    key->setShortcut(kLookUpKey);
    key->setShortcutContext(Qt::WindowShortcut);
    connect(key, &QAction::triggered, this, &MovieLookup::lookUp);
    editor.addAction(key);
    editor.installEventFilter(this);
    connect(&editor, &Form2::saved, this, &MovieLookup::storeTaken);
    // Whatever the editor closed with, this opening's film is done with.
    connect(&editor, &QDialog::finished, this, [this] { m_taken.reset(); });
}

void MovieLookup::updateEntries() {
    m_entry->setEnabled(context().highlightedRow().has_value());
}

bool MovieLookup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && std::exchange(m_lookUpWhenShown, false)) {
        // Once the editor's own loop runs, so that the lookup window comes
        // up over the editor.
        QTimer::singleShot(0, this, &MovieLookup::lookUp);
    }
    return WindowFeature::eventFilter(watched, event);
}

void MovieLookup::lookUpHighlighted() {
    m_lookUpWhenShown = true;
    context().editHighlighted();
    m_lookUpWhenShown = false;
}

void MovieLookup::lookUp() {
    Form2& editor = context().editor();
    if (!editor.isVisible()) {
        return;
    }
    const Services& services = context().services();
    DvdRecord typed;
    QStringList names;
    for (int field = 0; field < Form2::kBoxCount; ++field) {
        typed.field(field) = editor.Text(field + 1).text();
        QString name = editor.Label1(field).text();
        names << name.remove(QLatin1Char(':'));
    }
    WantedFilm wanted{typed.title.trimmed(), std::nullopt, typed.director.trimmed()};
    if (wanted.title.isEmpty()) {
        services.boxes.tell(kTitleFirst);
        return;
    }
    bool isYear = false;
    const int year = typed.year.trimmed().toInt(&isYear);
    if (isYear) {
        wanted.year = year;
    }
    LookupDialog dialog(services.settings, services.boxes, wanted, typed, names,
                        !hasCover(editor.mDVDID), &editor);
    if (dialog.exec() == QDialog::Accepted && dialog.choice()) {
        put(editor, *dialog.choice());
    }
}

void MovieLookup::put(Form2& editor, const LookupChoice& choice) {
    for (const auto& [field, value] : choice.fields) {
        // Replacing the selection rather than setText keeps the box's undo.
        QLineEdit& box = editor.Text(field + 1);
        box.selectAll();
        box.insert(value);
    }
    m_taken = choice;
}

bool MovieLookup::hasCover(const QString& id) const {
    if (id.isEmpty()) {
        return false; // a new movie
    }
    try {
        return CoverStore(context().services().catalogue).has(coverId(id));
    } catch (const Failure&) {
        return true; // covers that cannot be read are not offered a poster
    }
}

void MovieLookup::storeTaken(qint64 id) {
    if (!m_taken) {
        return;
    }
    const LookupChoice taken = *std::exchange(m_taken, std::nullopt);
    const LookupMovie& film = taken.movie;
    Catalogue& catalogue = context().services().catalogue;
    MessageBoxes& boxes = context().services().boxes;
    try {
        LookupLinks(catalogue).set(
            {id, film.source, film.sourceId, film.imdbId, film.tmdbId, QDate::currentDate()});
    } catch (const Failure& failure) {
        boxes.warn(kLinkNotStored.arg(film.source, failure.description()));
    }
    if (taken.poster.isEmpty()) {
        return;
    }
    try {
        // A cover given meanwhile (by another program) stays.
        CoverStore covers(catalogue);
        if (!covers.has(id)) {
            covers.set(id, CoverImage::fromBytes(taken.poster, kPosterName.arg(film.source)));
        }
    } catch (const Failure& failure) {
        boxes.warn(kPosterNotStored.arg(failure.description()));
    }
}
