#pragma once

#include "mainwindow/lookup/lookup_dialog.h"
#include "mainwindow/window_feature.h"

#include <optional>

class Form2;

// Looking a movie up from the record editor: Ctrl+L in the editor (nothing
// visible is added to it) and "Look up…" (Ctrl+L too) in the list's context
// menu and the Edit menu, which opens the highlighted movie as Edit does
// and looks it up there. The
// search takes the title typed so far, the year and the director when
// typed; the lookup window lists the films found and, for the one picked,
// its fields beside the editor's. "Use these" puts the ticked values into
// the editor's boxes as typing would; nothing is stored until Save, which
// then also stores the movie's link to the film, and the film's poster as
// the cover of a movie that had none when the person ticked it. Cancel
// stores nothing.
class MovieLookup : public WindowFeature {
    Q_OBJECT
public:
    explicit MovieLookup(WindowContext& context);

    void start() override;
    // Looks up the movie typed in the editor, as Ctrl+L there does.
    void lookUp();

protected:
    void updateEntries() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void lookUpHighlighted();
    // Puts the chosen values into the editor's boxes, each undoable there.
    void put(Form2& editor, const LookupChoice& choice);
    // After a Save: ties the stored movie to the film its fields came from
    // and stores the poster taken as its cover.
    void storeTaken(qint64 id);
    bool hasCover(const QString& id) const;

    QAction* m_entry = nullptr;
    // The editor's next showing comes from "Look up…": look up at once.
    bool m_lookUpWhenShown = false;
    // What the editor's boxes took in this opening, and from which film.
    std::optional<LookupChoice> m_taken;
};
