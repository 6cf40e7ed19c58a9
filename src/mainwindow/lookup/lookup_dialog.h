#pragma once

#include "core/lookup/candidate_ranking.h"
#include "core/lookup/lookup_source.h"

#include <QDialog>
#include <QPointer>
#include <memory>
#include <optional>
#include <utility>

class CandidateThumbnails;
class FieldReview;
class MessageBoxes;
class PosterReply;
class QCheckBox;
class QComboBox;
class QNetworkAccessManager;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class SettingsStore;

// What the person chose to take from a film database: the ticked fields
// (0 = title ... 7 = studio) with their values, the film they came from,
// and its poster (a JPEG or PNG file) when it is to become the cover.
struct LookupChoice {
    QList<std::pair<int, QString>> fields;
    LookupMovie movie;
    QByteArray poster;
};

// Looks a movie up and lets the person take what they want of it. It
// searches the chosen film database at once and lists the films found,
// best first, with a thumbnail of the poster where the database has one;
// Enter or a double-click fetches the picked one and shows its fields
// beside the editor's ("Use these" takes the ticked ones, Back returns to
// the films found as they were, without asking again). While a
// request runs, a busy line says so and Cancel stops it; the window never
// waits on the network. A failure is told once, naming the database, and
// nothing is taken. When `offerPoster` (the movie has no cover) and the
// film has a poster, it is downloaded and shown with a box that offers it
// as the cover. The database and the person's TMDb key are chosen here and
// kept in the settings.
class LookupDialog : public QDialog {
    Q_OBJECT
public:
    // `typed` holds the editor's boxes as typed, `fieldNames` their names.
    LookupDialog(SettingsStore& settings, MessageBoxes& boxes, WantedFilm wanted, DvdRecord typed,
                 QStringList fieldNames, bool offerPoster, QWidget* parent = nullptr);
    ~LookupDialog() override;

    // After "Use these": what to put into the editor.
    const std::optional<LookupChoice>& choice() const { return m_choice; }

    // While a request runs.
    bool isBusy() const;
    QTreeWidget& candidates() { return *m_candidates; }
    FieldReview& review() { return *m_review; }
    // The box offering the poster as the cover: enabled once it is here.
    QCheckBox& posterBox() { return *m_usePoster; }
    // Fetches the highlighted candidate, as Enter does.
    void pick();
    // Takes the ticked fields and closes.
    void useTicked();
    // From the fields shown back to the films found, as Back does.
    void goBack();

Q_SIGNALS:
    // The candidates are listed, or the search failed.
    void searched();
    // The picked film's fields are shown, or the fetch failed.
    void fetched();

private:
    void buildControls();
    void makeSource();
    void search();
    void searchFinished();
    // Lists the next batch of the ranked films found in `source`.
    void listRanked(const QString& source);
    void fetchFinished();
    void fetchPoster(const QString& address);
    void posterFinished();
    void sourceChosen(int index);
    void askForKey();
    // Shows the busy line with `text`; an empty text hides it.
    void setBusy(const QString& text);
    void setStatus(const QString& text);
    // Drops the request running, if any.
    void dropReply();

    SettingsStore& m_settings;
    MessageBoxes& m_boxes;
    WantedFilm m_wanted;
    DvdRecord m_typed;
    QStringList m_fieldNames;
    std::unique_ptr<LookupSource> m_source;
    QPointer<LookupReply> m_reply;
    LookupMovie m_picked; // the film whose fields are shown
    // The ranking (and then the listing) under way; a newer one drops it.
    int m_ranking = 0;
    bool m_rankingRuns = false;
    QList<LookupCandidate> m_ranked; // still to be listed
    bool m_offerPoster = false;
    QNetworkAccessManager* m_network = nullptr;
    QPointer<PosterReply> m_posterReply;
    CandidateThumbnails* m_thumbnails = nullptr;
    QByteArray m_poster;
    std::optional<LookupChoice> m_choice;

    QComboBox* m_sourceBox = nullptr;
    QPushButton* m_keyButton = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_busy = nullptr;
    QStackedWidget* m_pages = nullptr;
    QTreeWidget* m_candidates = nullptr;
    FieldReview* m_review = nullptr;
    QLabel* m_posterImage = nullptr;
    QCheckBox* m_usePoster = nullptr;
    QPushButton* m_go = nullptr;
    QPushButton* m_back = nullptr;
};
